#pragma once

#include "core/sessionfiles.h"

#include <QFuture>

#include <memory>

struct AppContext;
struct InterruptedTest;
struct PreparedTest;
struct TestRequest;
class TestRun;
enum class ResultStore;

// Shows the window a test returns to: the topic-test choice, the main menu, the reader or the
// user's results.
void showTestReturnTarget(AppContext &context, const TestRun &run);
// Opens a new introduction of the test asked for.
void introduceTest(AppContext &context, const TestRequest &request);
// Opens a new introduction of the practice of the user's missed questions.
void introducePractice(AppContext &context, std::shared_ptr<const PreparedTest> practice);
// Tells the pupil, once the grade of the test has been stored, when it did not reach his
// results; the telling outlives the window that started the store.
void tellWhenNotStored(AppContext &context, QFuture<ResultStore> stored, const QString &testName,
                       const QString &baseFile);
// Unloads the picture viewer.
void closePictureViewer(AppContext &context);
// Unloads the test window and the introduction window without their own return handling.
void closeTestWindows(AppContext &context);
// Opens the introduction of the interrupted test hidden and goes on with the test at once.
void goOnWithTest(AppContext &context, const InterruptedTest &test);
// Opens the introduction of the interrupted test, which is then drawn and taken anew.
void startTestAnew(AppContext &context, const InterruptedTest &test);
// The answers of the test just finished as its session holds them, whether or not temp1.ini
// could be written; empty slots when no test window is loaded.
SessionRecords answeredRecords(AppContext &context);
