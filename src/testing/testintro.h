#pragma once

#include "ui/skinnedwindow.h"

class SkinButton;

// The introduction of every test: prepares the test while it loads, starts it, and after an
// early end of the test offers only the way back.
class TestIntroWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    explicit TestIntroWindow(AppContext &context);

    // The test window was closed before the end.
    void showNotFinished();
    // Starts the test the session was set to go on with (an interrupted one).
    void goOn();
    // Unloads without showing the return target.
    void closeQuietly();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void load();
    void start();
    void returnFromUnfinished();
    void cancel();
    // An abandoned test stores grade 0 and is no longer offered for continuing; a user base
    // that could not be written or a resume file that stays is named. A practice stores nothing.
    // False when this window went while the notice was open.
    bool storeAbandonedGrade();
    void leave();

    QLabel *m_intro = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_notFinished = nullptr;
    SkinButton *m_start = nullptr;
    SkinButton *m_exit = nullptr;
    SkinButton *m_return = nullptr;
    bool m_started = false;
    bool m_leaving = false;
};
