#pragma once

#include "network/monitorpages.h"
#include "network/netwindow.h"

#include <QList>

class PupilPoller;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// The monitor of the classroom: one row per pupil computer, 15 to a page, with how long ago
// each pupil answered. The pupils' files are looked at twice a second and curr_test.ini read
// when it changed, off the user-interface thread, so a computer that does not answer never
// freezes the window.
class MonitorWindow : public NetWindow
{
    Q_OBJECT
public:
    static const QString NeedSetupText;
    static constexpr int PollMs = 500;

    explicit MonitorWindow(AppContext &context);

    // The setup windows drive the poll timer: a new configuration is polled 100 ms later.
    void setPollInterval(int ms);
    void stopPolling();
    QTimer *pollTimer() const { return m_timer1; }
    bool pollBusy() const { return m_ticks.pollBusy; }
    // The setup wrote net.ini (or tried to): the monitor shows the file again and polls it.
    void configurationWritten();
    PupilPoller *poller() const { return m_poller; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    struct Row
    {
        QLabel *user;
        QLabel *name;
        QProgressBar *progress;
        QLabel *prav;
        QLabel *curr;
        QLabel *ocenka;
        QLabel *answered;
    };

    void buildControls();
    void buildRows(class QGridLayout *grid);
    void load();
    void showUnconfigured();
    void showConfigured();
    void forgetClassroom();
    void loadConfiguration();
    void tick();
    void reload();
    void pollFinished();
    void computerRead(int computer);
    void drawPage();
    void drawRow(int row);
    void showPageButtons();
    void turnPage(bool forward);
    void openSetup();
    void openHelp();
    QString netIni() const;

    MonitorPages m_pages;
    MonitorTicks m_ticks;
    PupilPoller *m_poller = nullptr;
    QList<Row> m_rows;
    QLabel *m_needSetup = nullptr;
    QPushButton *m_admin = nullptr;
    QPushButton *m_prev = nullptr;
    QPushButton *m_next = nullptr;
    QPushButton *m_alone = nullptr;
    QPushButton *m_log = nullptr;
    QTimer *m_timer1 = nullptr;
};
