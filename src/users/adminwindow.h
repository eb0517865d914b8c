#pragma once

#include "ui/skinnedwindow.h"

class SkinButton;
class UserAdminPanel;

// The administrator's window for the user base of this computer; it leads on to the network
// window and the additional settings.
class frmBOSS : public SkinnedWindow
{
    Q_OBJECT
public:
    static const QString DefaultStatus;

    explicit frmBOSS(AppContext &context);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void openFromHere(const QString &window);

    UserAdminPanel *m_panel = nullptr;
    SkinButton *m_net = nullptr;
    SkinButton *m_setup = nullptr;
};
