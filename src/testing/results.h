#pragma once

#include <QString>
#include <QStringList>

struct SessionState;

enum class ResultStore { Stored, NoCatalogueSlot, BaseNotWritten };

// Writes the session's Grade into every result slot whose catalogue name equals
// CurrentTestName, then renews the user in the base file.
ResultStore StoreTestResult(SessionState &session, const QString &baseFile);
// Why the grade of the test did not reach the user's results; empty when it did.
QString ResultStoreNotice(ResultStore outcome, const QString &testName);

// Achievements: the 14 fixed topic rows and the grade words of result slots 1..14.
QStringList AchievementTopics();
QStringList AchievementGrades(const SessionState &session);
// 0 and values the program never stores give an empty word.
QString GradeWord(int grade);

// Topic test descriptions, chosen by list text or by bank file; empty when unknown.
QString TestDescriptionForName(const QString &listText);
QString TestDescriptionForBank(const QString &bankFile);
// Appended to every description.
QString PauseSentence();
// The introduction of a test: the bank's description, or the number of its questions for a
// bank without one (a paragraph test), then the pause sentence and the question "ready?".
QString TestIntroduction(const QString &bankFile, int questionCount);

// The pause window's texts for the pause being taken (1..3).
struct PauseText
{
    QString heading;
    QString count;
    QString instruction;
};
PauseText PauseTexts(int pausesUsed);

// Where a test returns: "frmTestCh", "frmMain" or "frmReadLearn".
QString TestReturnTarget(const SessionState &session);
