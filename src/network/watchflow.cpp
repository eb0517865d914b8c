#include "network/watchflow.h"

#include "core/textfile.h"
#include "network/pupillive.h"

const QString WatchFlow::AnswerNotice =
    QStringLiteral("Цветом выделен, выбранный пользователем ответ.");
const QString WatchFlow::NoTestNotice =
    QStringLiteral("Информация о текущем или прошедшем тесте отсутствует. Очевидно на выбранном "
                   "компьютере тестирование не проводилось.");
const QString WatchFlow::BrowsingNotice = QStringLiteral(
    "Автоматическое обновление отключено, чтобы не мешать просматривать ответы. Чтобы включить "
    "автоматическое обновление нажмите кнопку 'Обновить'.");
const QString WatchFlow::FirstAnswerNotice =
    QStringLiteral("Пользователь начал новый тест и ещё не ответил на первый вопрос.");

namespace {
QString failureNotice(pupilfiles::Status status, int computer)
{
    const QString file =
        QStringLiteral("Файл temp1.ini на компьютере № ") + QString::number(computer) + u' ';
    switch (status) {
    case pupilfiles::Status::Missing:
        return file + QStringLiteral("не найден: тест на нём ещё не начат, или программа на нём "
                                     "запущена заново.");
    case pupilfiles::Status::Damaged:
        return file + QStringLiteral("повреждён: это не обычный файл, или он слишком велик.");
    default:
        return file + QStringLiteral("не прочитан: сетевая папка отказала в чтении.");
    }
}
} // namespace

void WatchFlow::refreshed(const WatchedSession &session)
{
    m_session = session;
    m_read = true;
    m_failure.reset();
    m_shown = qBound(1, session.lastRecorded, SessionSlots);
}

void WatchFlow::readFailed(pupilfiles::Status status)
{
    m_failure = status;
}

void WatchFlow::next()
{
    m_shown = qMin(m_shown + 1, qMax(1, m_session.lastRecorded));
}

void WatchFlow::previous()
{
    m_shown = qMax(1, m_shown - 1);
    m_state = State::Browsing;
}

void WatchFlow::follow()
{
    m_state = State::Following;
    m_blinks = 0;
    m_blinkLit = false;
}

bool WatchFlow::blink()
{
    ++m_blinks;
    if (m_blinks > BlinkLimit) {
        m_blinkLit = false;
        return false;
    }
    m_blinkLit = !m_blinkLit;
    return true;
}

QString WatchFlow::notice() const
{
    if (m_state == State::Browsing)
        return BrowsingNotice;
    if (m_lost)
        return QStringLiteral("Компьютер № ") + QString::number(m_computer) + QStringLiteral(": ") +
               PupilLive::NoConnectionText + QStringLiteral(", его файлы не читаются.");
    if (m_failure)
        return failureNotice(*m_failure, m_computer);
    if (m_session.noTest)
        return NoTestNotice;
    return m_session.awaitingFirstAnswer ? FirstAnswerNotice : AnswerNotice;
}

WatchView WatchFlow::view() const
{
    WatchView v;
    if (m_session.noTest || (!m_read && m_failure)) {
        v.noTest = true;
        v.frameCaption = QStringLiteral("Вопрос № ");
        // Nothing was read: the notice says why, and no placeholder passes for a question.
        v.answersShown = m_read;
        v.question = m_read ? QStringLiteral("Вопрос") : QString();
        for (int n = 0; n < 5; ++n)
            v.answers[n] = QStringLiteral("Ответ ") + QString::number(n + 1);
        return v;
    }
    if (!m_session.header.testName.isEmpty())
        v.test = QStringLiteral("Тест: ") + m_session.header.testName;
    v.answersShown = !m_session.awaitingFirstAnswer;
    const SessionRecord &q = m_session.records.at(m_shown - 1);
    v.previousVisible = m_shown != 1;
    v.nextVisible = m_shown != m_session.lastRecorded;
    v.frameCaption = QStringLiteral("Вопрос № ") + QString::number(m_shown);
    v.topic = QStringLiteral("Тема: ") + q.topic;
    v.watching = QStringLiteral("Слежение за №") + QString::number(m_computer) + u' ' +
                 m_session.header.surname + u' ' + m_session.header.firstName;
    v.question = q.question;
    v.answers = q.answers;
    v.checked = q.chosenAnswer >= 1 && q.chosenAnswer <= 5 ? q.chosenAnswer : 0;
    v.rightAnswers =
        QStringLiteral("Правильных: ") + QString::number(m_session.header.rightAnswers);
    // A new test on the pupil's computer has no grade yet: the old one must not linger. A
    // number other than a grade is damage, not a grade.
    v.grade = QStringLiteral("Оценка:");
    if (m_session.header.grade >= 2 && m_session.header.grade <= 5)
        v.grade += QString::number(m_session.header.grade);
    v.picture = q.picture;
    v.pictureVisible = !q.picture.isEmpty();
    return v;
}
