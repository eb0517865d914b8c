#pragma once

#include "network/netwindow.h"

class MonitorModel;
class PupilPoller;
class QLabel;
class QPushButton;
class QTableView;
class QTimer;

// The monitor of the classroom: one row per pupil computer, 15 to a page, with how long ago
// each pupil answered. The pupils' files are looked at twice a second and curr_test.ini read
// when it changed, off the user-interface thread, so a computer that does not answer never
// freezes the window. It shows the classroom anew whenever the classroom changes.
class MonitorWindow : public NetWindow
{
    Q_OBJECT
public:
    static const QString NeedSetupText;
    static constexpr int PollMs = 500;

    explicit MonitorWindow(AppContext &context);

    // Looks at the pupils' files now unless a look is still under way.
    void poll();
    QTimer *pollTimer() const { return m_pollTimer; }
    PupilPoller *poller() const { return m_poller; }
    MonitorModel *model() const { return m_model; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildTable();
    void showClassroom();
    void showConfigured(bool configured);
    void showPageButtons();
    void turnPage(bool forward);
    void openSetup();
    void openHelp();
    QString netIni() const;

    PupilPoller *m_poller = nullptr;
    MonitorModel *m_model = nullptr;
    QTableView *m_table = nullptr;
    QLabel *m_needSetup = nullptr;
    QPushButton *m_admin = nullptr;
    QPushButton *m_prev = nullptr;
    QPushButton *m_next = nullptr;
    QPushButton *m_alone = nullptr;
    QPushButton *m_log = nullptr;
    QTimer *m_pollTimer = nullptr;
};
