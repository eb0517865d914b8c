#pragma once

#include "testing/journal.h"
#include "ui/skinnedwindow.h"

class QComboBox;
class QPushButton;
class QLayout;
class QTableWidget;
class SkinButton;
class UserAdminPanel;

// The administrator's window for the user base of this computer, with the journal of
// attempts of any user of it; it leads on to the network window, the additional settings and
// the test editor.
class AdminWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    static const QString DefaultStatus;

    explicit AdminWindow(AppContext &context);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    QLayout *buildJournal();
    void showJournal();
    template <class Window> void openFromHere();

    UserAdminPanel *m_panel = nullptr;
    SkinButton *m_net = nullptr;
    SkinButton *m_setup = nullptr;
    QPushButton *m_editor = nullptr;
    QComboBox *m_journalUser = nullptr;
    QTableWidget *m_journal = nullptr;
    QList<journal::Attempt> m_attempts;
};
