#pragma once

#include "ui/skinnedwindow.h"

class QCheckBox;
class QLabel;
class SkinButton;

// The main menu: one picture button per mode, the status line, the sound switch.
class MainMenu : public SkinnedWindow
{
    Q_OBJECT
public:
    static const QString DefaultStatus;

    explicit MainMenu(AppContext &context);

    // Shows who is logged in, and the administrator button exactly to the administrator.
    void showUser();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void load();
    // A notice in its own window that does not hold up the menu.
    void showNotice(const QString &notice);
    // Starts the cue, opens the mode window and hides the menu.
    template <class Window> void openMode();
    void storePosition();

    SkinButton *m_boss = nullptr;
    QCheckBox *m_sound = nullptr;
    QLabel *m_about = nullptr;
    QLabel *m_user = nullptr;
};
