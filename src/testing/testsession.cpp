#include "testing/testsession.h"

#include "core/sessionstate.h"
#include "core/textfile.h"
#include "core/whenfinished.h"
#include "testing/journal.h"
#include "testing/results.h"
#include "testing/resume.h"
#include "testing/testrun.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <limits>

TestSession::TestSession(SessionState &session, std::shared_ptr<TestRun> run, Files files,
                         QObject *parent)
    : QObject(parent), m_session(session), m_run(std::move(run)), m_test(m_run->test()),
      m_files(std::move(files))
{
    clearSessionRecords(m_records);
    if (m_run->recorded() > 0) {
        SessionProgress header;
        readSessionFile(m_files.session, header, m_records);
        recallRecordedAnswers();
    }
    m_clock.reset(AnswerClock::readSetting(m_files.answerTime));
    m_monotonic.start();
    m_now = [this] { return m_monotonic.elapsed(); };
}

void TestSession::begin()
{
    if (m_state != State::Ready || !m_test || !m_test->ok())
        return;
    m_startSeconds = m_run->elapsedSeconds();
    m_attemptStart = QDateTime::currentDateTime();
    m_run->setNotice(QString());
    select(1);
    newQuestion();
}

void TestSession::select(int answer)
{
    if (answer < 1 || answer > 5 || m_state == State::Finished)
        return;
    m_selected = answer;
    m_chosenByPupil = true;
    Q_EMIT selectionChanged(answer);
}

const BankRecord &TestSession::recordAt(int position) const
{
    const QList<int> &order = m_test->order;
    return m_test->bank.records[order.value(qBound(0, position, int(order.size()) - 1))];
}

QuestionSource TestSession::sourceAt(int position) const
{
    return m_test->sources.value(position, {m_run->bank(), m_test->order.value(position) + 1});
}

const BankRecord &TestSession::question() const
{
    return recordAt(m_run->asked() - 1);
}

bool TestSession::pauseAvailable() const
{
    return m_state == State::Answering && m_run->pausesUsed() < TestRun::Pauses &&
           !m_run->pauseRequested();
}

void TestSession::newQuestion()
{
    m_clock.reset(AnswerClock::readSetting(m_files.answerTime));
    if (m_run->takeRequestedPause()) {
        m_state = State::Paused;
        Q_EMIT pauseStarted();
        return;
    }
    showQuestion();
}

void TestSession::endPause()
{
    if (m_state == State::Paused)
        showQuestion();
}

void TestSession::showQuestion()
{
    m_run->askNext();
    m_state = State::Answering;
    m_chosenByPupil = false;
    writeProgress();
    saveResume();
    Q_EMIT questionShown();
    Q_EMIT clockChanged();
    Q_EMIT pauseStateChanged();
    // Taken after the window has shown the question, picture included.
    m_shownAt = m_now();
}

QString TestSession::frameCaption() const
{
    return frameCaption(m_run->asked(), m_test->bank.questionCount());
}

QString TestSession::frameCaption(int asked, int count)
{
    const bool last = asked >= count;
    const QString number = textfile::printNumber(asked).chopped(1);
    // Latin and Cyrillic letters mixed, kept on purpose: the frame has always looked like this.
    return (last ? QStringLiteral("  Boпpoc нomep  ") : QStringLiteral("  Boпpoc нomep   ")) +
           number + QStringLiteral("  ");
}

QString TestSession::windowCaption() const
{
    if (m_run->pauseRequested())
        return QStringLiteral("Пауза будет активирована после ответа на вопрос");
    return QStringLiteral("  Вопрос №") + textfile::printNumber(m_run->asked()).chopped(1);
}

void TestSession::requestPause()
{
    if (m_state != State::Answering || !m_run->requestPause())
        return;
    saveResume();
    Q_EMIT pauseStateChanged();
}

void TestSession::countAnsweringTime()
{
    const qint64 seconds = m_startSeconds + (m_answeredMs + m_now() - m_shownAt) / 1000;
    // resume.ini and the journal keep at most this many.
    m_run->setElapsedSeconds(int(qMin<qint64>(seconds, std::numeric_limits<qint16>::max())));
}

void TestSession::tick()
{
    if (m_state != State::Answering)
        return;
    countAnsweringTime();
    const AnswerClock::Tick tick = m_clock.tick();
    Q_EMIT clockChanged();
    if (tick == AnswerClock::Tick::Warning)
        Q_EMIT clockWarning();
    if (tick == AnswerClock::Tick::Expired) {
        Q_EMIT timeUp();
        takeAnswer(true);
    }
}

void TestSession::submit()
{
    if (m_state == State::Answering && m_now() - m_shownAt >= SightMs)
        takeAnswer();
}

void TestSession::takeAnswer(bool timeUp)
{
    const SessionState &s = m_session;
    countAnsweringTime();
    const qint64 spentMs = m_now() - m_shownAt;
    m_answeredMs += spentMs;
    Q_EMIT answerTaken();
    const BankRecord &asked = question();
    m_run->answer(asked.correct == m_selected);
    const QuestionSource source = sourceAt(m_run->asked() - 1);
    m_answers.append({QDateTime(), s.user.firstName, s.user.surname, source.bank, source.record,
                      timeUp && !m_chosenByPupil ? 0 : asked.filePlace(m_selected),
                      asked.correct == m_selected, int(qMax<qint64>(0, spentMs) / 1000)});
    SessionRecord &record = m_records[qBound(1, m_run->recorded(), SessionSlots) - 1];
    record.topic = asked.topic;
    record.question = asked.question;
    record.answers = asked.answers;
    record.picture = asked.picture;
    record.chosenAnswer = m_selected;
    record.rightAnswer = asked.correct;
    writeSession();
    if (m_run->asked() >= m_test->bank.questionCount()) {
        endTest();
        return;
    }
    select(1);
    newQuestion();
}

void TestSession::recallRecordedAnswers()
{
    const SessionState &s = m_session;
    for (int p = 0; p < qMin(m_run->recorded(), SessionSlots); ++p) {
        const SessionRecord &recorded = m_records[p];
        const BankRecord &asked = recordAt(p);
        const int shown = recorded.chosenAnswer;
        const QString chosenText =
            shown >= 1 && shown <= 5 ? recorded.answers[shown - 1] : QString();
        // The bank was shuffled anew when it was loaded again: the answer is found by its text.
        const auto at = std::find(asked.answers.begin(), asked.answers.end(), chosenText);
        const int place =
            at == asked.answers.end() ? 0 : asked.places[std::distance(asked.answers.begin(), at)];
        const QuestionSource source = sourceAt(p);
        m_answers.append({QDateTime(), s.user.firstName, s.user.surname, source.bank, source.record,
                          place, shown >= 1 && recorded.chosenAnswer == recorded.rightAnswer, 0});
    }
}

void TestSession::endTest()
{
    m_state = State::Finished;
    m_run->finish();
    writeProgress();
    writeSession();
    // Stored now, not when the result window closes: the grade survives a killed program.
    const QString testName = m_run->name();
    // A practice stores no grade: there is nothing to tell of it.
    QFuture<ResultStore> stored =
        m_files.userBase.isEmpty()
            ? QtFuture::makeReadyFuture(ResultStore::Stored)
            : storeTestResult(m_session, gradeOf(m_session, *m_run), m_files.userBase);
    writeJournal();
    writeAnswers();
    Q_EMIT pauseStateChanged();
    whenFinished(stored, this, [this, testName](ResultStore outcome) {
        QStringList notices = writeProblems();
        const QString notStored = resultStoreNotice(outcome, testName, m_files.userBase);
        if (!notStored.isEmpty())
            notices.prepend(notStored);
        m_run->setNotice(notices.join(u'\n'));
        Q_EMIT finished();
    });
}

SessionProgress TestSession::progress() const
{
    const SessionState &s = m_session;
    return {s.user.firstName, s.user.surname,   m_run->name(), m_test->bank.questionCount(),
            m_run->asked(),   m_run->correct(), m_run->grade()};
}

void TestSession::saveResume()
{
    if (m_files.resume.isEmpty())
        return;
    const SessionState &s = m_session;
    noteWrite(m_files.resume,
              writeResumeFile(m_files.resume,
                              {s.user.firstName, s.user.surname, m_run->bank(), m_test->order,
                               m_run->pausesUsed(), m_run->elapsedSeconds()}),
              QStringLiteral("если программа закроется, тест нельзя будет продолжить"), true);
}

void TestSession::writeProgress()
{
    if (m_files.progress.isEmpty())
        return;
    noteWrite(m_files.progress, writeProgressFile(m_files.progress, progress()),
              QStringLiteral("преподаватель не видит, как идёт тест"), true);
}

void TestSession::writeSession()
{
    if (m_files.session.isEmpty())
        return;
    noteWrite(m_files.session, writeSessionFile(m_files.session, progress(), m_records),
              QStringLiteral("преподаватель не видит ваши ответы"), true);
}

void TestSession::writeJournal()
{
    if (m_files.journal.isEmpty())
        return;
    const SessionState &s = m_session;
    // The journal keeps every earlier attempt: it is never removed.
    noteWrite(m_files.journal,
              journal::append(m_files.journal,
                              {QDateTime::currentDateTime(), s.user.firstName, s.user.surname,
                               m_run->name(), m_run->correct(), m_run->asked(), m_run->percent(),
                               m_run->grade(), m_run->elapsedSeconds()}),
              QStringLiteral("попытка не записана в журнал попыток"), false);
}

void TestSession::writeAnswers()
{
    if (m_files.answers.isEmpty())
        return;
    for (answerjournal::Answer &answer : m_answers)
        answer.start = m_attemptStart;
    noteWrite(m_files.answers, answerjournal::append(m_files.answers, m_answers),
              QStringLiteral("ответы не записаны в журнал ответов"), false);
}

void TestSession::noteWrite(const QString &path, bool written, const QString &consequence,
                            bool removeStale)
{
    const qsizetype before = m_unwritten.size();
    m_unwritten.removeIf([&path](const Unwritten &file) { return file.path == path; });
    if (!written) {
        if (removeStale)
            QFile::remove(path);
        m_unwritten.append({path, consequence});
    }
    if (!written || m_unwritten.size() != before)
        Q_EMIT writeProblemsChanged();
}

QStringList TestSession::writeProblems() const
{
    QStringList lines;
    for (const Unwritten &file : m_unwritten)
        lines << QStringLiteral("Не удалось записать файл %1: %2.")
                     .arg(QDir::toNativeSeparators(file.path), file.consequence);
    return lines;
}
