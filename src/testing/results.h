#pragma once

#include <QFuture>
#include <QString>
#include <QStringList>

struct SessionState;
class TestRun;

// ParagraphTest: a test started from the reader, whose grade no result slot keeps.
enum class ResultStore { Stored, ParagraphTest, NoCatalogueSlot, BaseNotWritten };

// A grade for the user's results, under the catalogue name of its test.
struct TestGrade
{
    QString testName;
    int grade = 0;
    // A test started from the reader: no result slot keeps its grade.
    bool paragraphTest = false;
};
// The grade the run has earned so far: 0 until it is finished.
TestGrade gradeOf(const SessionState &session, const TestRun &run);

// Writes the grade into every result slot whose catalogue name is the test's, then renews the
// user in the base file on a worker thread: a grade cannot be given again, so the store waits
// the full time for a base another program holds, and the window thread must not wait with it.
// Continue with then(context, ...).
QFuture<ResultStore> storeTestResult(SessionState &session, const TestGrade &grade,
                                     const QString &baseFile);
// Why the grade of the test did not reach the user's results, naming the base file, or that a
// paragraph test's grade is not kept; empty when it was stored.
QString resultStoreNotice(ResultStore outcome, const QString &testName, const QString &baseFile);

// Achievements: the 14 fixed topic rows, then a row for each school's own test of the catalogue
// (slots 15..20), and the grade words of their result slots.
QStringList achievementTopics(const SessionState &session);
QStringList achievementGrades(const SessionState &session);
// 0 and values the program never stores give an empty word.
QString gradeWord(int grade);

// Topic test descriptions, chosen by list text or by bank file; empty when unknown.
QString testDescriptionForName(const QString &listText);
QString testDescriptionForBank(const QString &bankFile);
// Appended to every description.
QString pauseSentence();
// The introduction of a test: the bank's description, or the number of its questions for a
// bank without one (a paragraph test), then the pause sentence and the question "ready?".
QString testIntroduction(const QString &bankFile, int questionCount);
// The introduction of the practice of missed questions.
QString practiceIntroduction(int questionCount);

// The pause window's texts for the pause being taken (1..3).
struct PauseText
{
    QString heading;
    QString count;
    QString instruction;
};
PauseText pauseTexts(int pausesUsed);

// Where a test returns: the topic-test choice, the main menu, the reader or the user's results.
enum class TestReturn { TopicChoice, MainMenu, Reader, Results };
TestReturn testReturnTarget(const SessionState &session, const TestRun &run);
