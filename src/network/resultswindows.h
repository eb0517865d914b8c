#pragma once

#include "network/netwindow.h"
#include "network/resultslog.h"

class QLabel;
class QListWidget;
class QPushButton;

// The print confirmation.
class frmPrintYorN : public NetWindow
{
    Q_OBJECT
public:
    explicit frmPrintYorN(AppContext &context);

    static bool ask(AppContext &context);

private:
    bool m_yes = false;
};

// The class results as the monitor last read them: list, statistics, printing and history.
class frmLOGnet : public NetWindow
{
    Q_OBJECT
public:
    explicit frmLOGnet(AppContext &context);

    const resultslog::Log &log() const { return m_log; }
    // Where the page goes when there is no printer.
    static QString pdfFolder();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void print();
    void remember();
    void showHistory();

    resultslog::Log m_log;
    QListWidget *m_list = nullptr;
    QLabel *m_printed = nullptr;
    QPushButton *m_remember = nullptr;
};
