#pragma once

#include "core/sessionfiles.h"
#include "testing/answerclock.h"
#include "testing/answerjournal.h"
#include "testing/questionbank.h"

#include <QElapsedTimer>
#include <QObject>

#include <functional>
#include <memory>

struct SessionState;
class TestRun;

// One run of a prepared test: questions in the drawn order, the selected answer, the answer
// clock, pauses, the session files and the grade at the end, stored in the user base at once.
// The test window shows its state and forwards clicks and clock ticks.
//
// Time spent answering is read from a monotonic clock, from each question shown to its answer,
// so pauses and partial seconds are counted right. A question takes no answer from the pupil
// until it has been on screen for SightMs: a double-click or a repeated key meant for the
// question before never answers the next one.
class TestSession : public QObject
{
    Q_OBJECT
public:
    enum class State { Ready, Answering, Paused, Finished };

    struct Files
    {
        // Each file but the answer-time setting is not written when its path is empty.
        QString progress;   // curr_test.ini
        QString session;    // temp1.ini
        QString answerTime; // the answer-time setting
        QString userBase;   // where the grade is stored when the test ends
        QString resume;     // resume.ini
        QString journal;    // the journal of attempts
        QString answers;    // the journal of answers
    };

    // Milliseconds from a fixed start, never going back.
    using MonotonicClock = std::function<qint64()>;
    static constexpr qint64 SightMs = 500;

    // A run with answers recorded goes on with a test that was interrupted: they are read back
    // from its temp1.ini.
    TestSession(SessionState &session, std::shared_ptr<TestRun> run, Files files,
                QObject *parent = nullptr);

    void setClock(MonotonicClock clock) { m_now = std::move(clock); }

    // Shows the first question.
    void begin();
    void select(int answer);
    // Takes the selected answer; the next question or the end follows. Ignored while the
    // question has been on screen for less than SightMs.
    void submit();
    // One second of the answer clock.
    void tick();
    void requestPause();
    // The pause window was closed: the next question follows.
    void endPause();

    State state() const { return m_state; }
    const BankRecord &question() const;
    int selected() const { return m_selected; }
    const AnswerClock &clock() const { return m_clock; }
    bool pauseAvailable() const;
    // "  Boпpoc нomep   7  ", with one blank less on the last question.
    QString frameCaption() const;
    // The caption of question `asked` of `count`.
    static QString frameCaption(int asked, int count);
    // "  Вопрос № 7", or the pause notice while a pause is pending.
    QString windowCaption() const;
    const SessionRecords &records() const { return m_records; }
    // One line for every file of the test that the last write of it failed to renew, naming
    // the file and what its failure means; empty when every file is up to date.
    QStringList writeProblems() const;

Q_SIGNALS:
    void questionShown();
    void selectionChanged(int answer);
    void answerTaken();
    void clockChanged();
    void clockWarning();
    void timeUp();
    void pauseStarted();
    void pauseStateChanged();
    void finished();
    void writeProblemsChanged();

private:
    void newQuestion();
    void showQuestion();
    void takeAnswer(bool timeUp = false);
    // The answers recorded before the program was killed, read back from temp1.ini: their
    // seconds were not kept.
    void recallRecordedAnswers();
    void countAnsweringTime();
    void endTest();
    SessionProgress progress() const;
    void saveResume();
    void writeProgress();
    void writeSession();
    void writeJournal();
    void writeAnswers();
    // Notes how a write of the file went. A state file that could not be renewed is removed
    // (when the folder allows it), so that neither the teacher's computer nor a later start
    // takes its old content for the running test.
    void noteWrite(const QString &path, bool written, const QString &consequence, bool removeStale);
    const BankRecord &recordAt(int position) const;
    // The bank file and record of the question asked at the position, as the journal holds it.
    QuestionSource sourceAt(int position) const;

    SessionState &m_session;
    std::shared_ptr<TestRun> m_run;
    std::shared_ptr<const PreparedTest> m_test;
    Files m_files;
    SessionRecords m_records;
    AnswerClock m_clock;
    State m_state = State::Ready;
    int m_selected = 1;
    QElapsedTimer m_monotonic;
    MonotonicClock m_now;
    qint64 m_shownAt = 0;
    qint64 m_answeredMs = 0; // questions answered so far
    int m_startSeconds = 0;
    QDateTime m_attemptStart;
    bool m_chosenByPupil = false; // on the question shown
    QList<answerjournal::Answer> m_answers;
    struct Unwritten
    {
        QString path;
        QString consequence;
    };
    QList<Unwritten> m_unwritten;
};
