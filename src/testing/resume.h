#pragma once

#include "core/sessionfiles.h"
#include "core/testrequest.h"
#include "testing/questionbank.h"
#include "testing/results.h"

#include <QFuture>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

class QLockFile;
class QRandomGenerator;
struct SessionState;
class TestRun;

// resume.ini: what curr_test.ini and temp1.ini do not hold about the running test and a test
// killed with the program needs to go on: the bank, the drawn order, pauses and time used.
// Key line / value line pairs like the session files; the order is one line of bank indexes.
struct ResumeRecord
{
    QString firstName;
    QString surname;
    QString bank;
    QList<int> order;
    int pausesUsed = 0;
    int elapsedSeconds = 0;
};

QStringList resumeFileLines(const ResumeRecord &record);
std::optional<ResumeRecord> parseResumeFile(const QStringList &lines);
bool writeResumeFile(const QString &path, const ResumeRecord &record);
std::optional<ResumeRecord> readResumeFile(const QString &path);

// A test of the logged-in user that the program was killed in: its resume record, its bank
// loaded again with the order drawn before, and the answers recorded in temp1.ini.
struct InterruptedTest
{
    ResumeRecord resume;
    std::shared_ptr<const PreparedTest> test;
    int answered = 0;
    int correct = 0;
};

// The interrupted test of the session's user, found in curr_test.ini, temp1.ini and resume.ini
// of the data folder; nothing when a file is missing or damaged, the test is finished, its
// bank no longer fits the order or it belongs to another user.
std::optional<InterruptedTest> findInterruptedTest(const SessionState &session,
                                                   QRandomGenerator &random);

// The question "Продолжить тест … с вопроса N?" asked after the login, saying what starting
// again throws away.
QString interruptedTestQuestion(const InterruptedTest &test);

// Sets the session's mode for the test and returns what the introduction is asked, as the menu
// or the reader asks it.
TestRequest selectInterruptedTest(SessionState &session, const InterruptedTest &test);
// Sets the run to go on at the question after the last one answered: the test, counters, pauses
// and time as recorded. The test session then reads the recorded answers back.
void continueInterruptedTest(TestRun &run, const InterruptedTest &test);

// Starting again ends the test as an interrupted test ends: its grade 0 is stored in the
// user's result slots (the catalogue is read for that).
QFuture<ResultStore> endInterruptedTest(SessionState &session, const InterruptedTest &test);

// A test the program was killed in that cannot go on for the user now logged in: whose it was
// and which test. It ends as an interrupted test ends, with grade 0 in its owner's results.
struct LostTest
{
    QString firstName;
    QString surname;
    QString testName;
};

// The test left running in the data folder (resume.ini is there and the test files hold no
// grade) when it belongs to another user or cannot go on; nothing when there is none.
// Call it when findInterruptedTest found nothing.
std::optional<LostTest> findLostTest(const SessionState &session);
// Held while a test runs, so that another program started on this computer (a second account,
// the teacher's) leaves the test's files and its owner's grade alone. Empty when it is held
// already.
std::unique_ptr<QLockFile> lockRunningTest(const SessionState &session);
// Whether a program, this one or another on this computer, holds that lock now.
bool testRunsNow(const SessionState &session);

// The bank of the test running now in the data folder, in this program or another one on this
// computer; empty when none is running.
QString runningTestBank(const SessionState &session);
// Stores grade 0 in the lost test's slot of its owner. The owner is told now when he is the
// session's user, otherwise at his next login (takeLostTestNotices). Returns what the session's
// user is to be told, once the grade is stored: his own lost test, or a file that could not be
// written.
QFuture<QStringList> settleLostTest(SessionState &session, const LostTest &lost);
// What the session's user is to be told about his tests lost while another user worked;
// these notes are then removed from the data folder.
QStringList takeLostTestNotices(const SessionState &session);
