#pragma once

#include "network/netwindow.h"
#include "network/resultslog.h"
#include "network/resultslogcsv.h"

class ClassResultsModel;
class QLabel;
class QPushButton;
class QTableView;

// The print confirmation.
class PrintConfirmWindow : public NetWindow
{
    Q_OBJECT
public:
    explicit PrintConfirmWindow(AppContext &context);

    static bool ask(AppContext &context);

private:
    bool m_yes = false;
};

// The class results as the monitor last read them: a table, statistics, printing, export to CSV
// and history.
class ClassResultsWindow : public NetWindow
{
    Q_OBJECT
public:
    explicit ClassResultsWindow(AppContext &context);

    const resultslog::Log &log() const { return m_log; }
    // Where the page goes when there is no printer.
    static QString pdfFolder();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildTable();
    void showFirstRow();
    void print();
    void remember();
    void showHistory();
    // Asks where to save the rows as a CSV table and saves them there.
    void exportRows(const QList<resultslog::csv::Row> &rows, const QString &name);

    resultslog::Log m_log;
    ClassResultsModel *m_model = nullptr;
    QTableView *m_table = nullptr;
    QLabel *m_printed = nullptr;
    QPushButton *m_remember = nullptr;
};
