#pragma once

#include "ui/skinnedwindow.h"

class QTimer;

// The splash window: topmost, closes after 1.5 s, or half a second after a click or a drop;
// on closing it shows the main menu and plays the farewell cue whatever the sound switch says.
class SplashWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    explicit SplashWindow(AppContext &context, int closeAfterMs = 1500);

    static constexpr int ClickDelayMs = 500;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void closeSoon();

    QTimer *m_timer;
};
