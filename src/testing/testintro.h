#pragma once

#include "ui/skinnedwindow.h"

#include <memory>

class SkinButton;
class TestRun;
struct InterruptedTest;
struct PreparedTest;
struct TestRequest;

// The introduction of every test: prepares the test while it loads, starts it, and after an
// early end of the test offers only the way back.
class TestIntroWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    explicit TestIntroWindow(AppContext &context);

    // Prepares the test asked for and shows its introduction.
    void introduce(const TestRequest &request);
    // The practice of the user's missed questions, drawn by his results window.
    void introducePractice(std::shared_ptr<const PreparedTest> practice);
    // Goes on at once with the test the program was killed in, after its last recorded answer.
    void goOn(const InterruptedTest &test);
    const std::shared_ptr<TestRun> &run() const { return m_run; }

    // The test window was closed before the end.
    void showNotFinished();
    // Unloads without showing the return target.
    void closeQuietly();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void introduce(std::shared_ptr<TestRun> run);
    void showTitle();
    void start();
    void returnFromUnfinished();
    void cancel();
    // An abandoned test stores grade 0 and is no longer offered for continuing; a user base
    // that could not be written or a resume file that stays is named. A practice stores nothing.
    // False when this window went while the notice was open.
    bool storeAbandonedGrade();
    void leave();

    std::shared_ptr<TestRun> m_run;
    QLabel *m_intro = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_notFinished = nullptr;
    SkinButton *m_start = nullptr;
    SkinButton *m_exit = nullptr;
    SkinButton *m_return = nullptr;
    bool m_started = false;
    bool m_leaving = false;
};
