#include "network/watchflow.h"

#include "core/textfile.h"

const QString WatchFlow::AnswerNotice =
    QStringLiteral("Цветом выделен, выбранный пользователем ответ.");
const QString WatchFlow::NoTestNotice =
    QStringLiteral("Информация о текущем или прошедшем тесте отсутствует. Очевидно на выбранном "
                   "компьютере тестирование не проводилось.");
const QString WatchFlow::BrowsingNotice = QStringLiteral(
    "Автоматическое обновление отключено, чтобы не мешать просматривать ответы. Чтобы включить "
    "автоматическое обновление нажмите кнопку 'Обновить'.");

void WatchFlow::refreshed(const WatchedSession &session)
{
    m_session = session;
    m_shown = qBound(1, session.lastRecorded, SessionSlots);
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
    if (m_session.noTest)
        return NoTestNotice;
    return m_state == State::Browsing ? BrowsingNotice : AnswerNotice;
}

WatchView WatchFlow::view() const
{
    WatchView v;
    if (m_session.noTest) {
        v.noTest = true;
        v.frameCaption = QStringLiteral("Вопрос № ");
        v.question = QStringLiteral("Вопрос");
        for (int n = 0; n < 5; ++n)
            v.answers[n] = QStringLiteral("Ответ ") + QString::number(n + 1);
        return v;
    }
    const SessionRecord &q = m_session.records.at(m_shown - 1);
    v.previousVisible = m_shown != 1;
    v.nextVisible = m_shown != m_session.lastRecorded;
    v.frameCaption = QStringLiteral("Вопрос № ") + QString::number(m_shown);
    v.tema = QStringLiteral("Тема: ") + q.tema;
    v.slejka = QStringLiteral("Слежение за №") + QString::number(m_computer) + u' ' +
               m_session.header.second + u' ' + m_session.header.first;
    v.question = q.vop;
    for (int k = 1; k <= 5; ++k)
        v.answers[k - 1] = q.otv(k);
    const int answer = textfile::leadingInt(q.otv_user);
    v.checked = answer >= 1 && answer <= 5 ? answer : 0;
    v.good = QStringLiteral("Правильных: ") + QString::number(m_session.header.ok);
    // A new test on the pupil's computer has no grade yet: the old one must not linger.
    v.ocenka = QStringLiteral("Оценка:");
    if (m_session.header.grade != 0)
        v.ocenka += QString::number(m_session.header.grade);
    v.picture = q.ris;
    v.pictureVisible = !q.ris.isEmpty();
    return v;
}
