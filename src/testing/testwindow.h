#pragma once

#include "ui/skinnedwindow.h"

#include <QLockFile>

#include <memory>

class QTimer;
class TestFace;
class TestRun;
class TestSession;

// The test window: shows the question of the running test, forwards answers, clock ticks and
// the pause request to the session, and opens the pause and result windows.
class TestWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    explicit TestWindow(AppContext &context);

    // Shows the run's next question and takes its answers until it is finished.
    void start(std::shared_ptr<TestRun> run);
    const std::shared_ptr<TestRun> &run() const { return m_run; }
    TestSession *session() const { return m_session; }
    // Unloads without making the introduction window visible again.
    void closeQuietly();

protected:
    void closeEvent(QCloseEvent *event) override;
    // Keys 1 to 5 choose an answer, Enter answers (or presses the focused push button).
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    void connectSession();
    void showQuestion();
    void showClock();
    void showPauseState();
    void showProgress();
    void takePause();
    void answerTaken();
    void finish();
    void showWriteProblems();

    std::shared_ptr<TestRun> m_run;
    TestSession *m_session = nullptr;
    std::unique_ptr<QLockFile> m_running;
    QTimer *m_clock = nullptr;
    TestFace *m_face = nullptr;
    bool m_quiet = false;
};
