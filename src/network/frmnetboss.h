#pragma once

#include "network/netwindow.h"

class QComboBox;
class UserAdminPanel;

// The user administration of a pupil computer: the administration panel on the user base in
// that computer's shared program folder.
class frmNETBOSS : public NetWindow
{
    Q_OBJECT
public:
    static const QString UnreadableText;
    static const QString BackgroundHint;

    explicit frmNETBOSS(AppContext &context);

    UserAdminPanel *panel() const { return m_panel; }
    // The computer of a list item: "№ " and its number.
    static int computerOf(const QString &item);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void fillComputers();
    void chooseComputer();

    QComboBox *m_computers = nullptr;
    UserAdminPanel *m_panel = nullptr;
    int m_request = 0;
};
