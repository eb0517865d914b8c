#pragma once

#include "network/netwindow.h"
#include "testing/itemanalysis.h"

#include <QAbstractTableModel>

class QChartView;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableView;

// The rows of an item analysis as the table shows them.
class ItemTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setReport(const itemanalysis::Report &report);
    const itemanalysis::Report &report() const { return m_report; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    itemanalysis::Report m_report;
};

// "Анализ вопросов": for a bank and a range of days, how each question fared in the journals of
// answers of every computer of the classroom and of this one; the journals are read off the
// window thread, a computer whose journal cannot be read is named.
class ItemAnalysisWindow : public NetWindow
{
    Q_OBJECT
public:
    explicit ItemAnalysisWindow(AppContext &context);
    ~ItemAnalysisWindow() override;

private:
    void buildControls();
    void fillBanks();
    QList<itemanalysis::Computer> computers() const;
    void analyse();
    void showReport(const itemanalysis::Report &report);
    void showQuestion();
    void exportTable();
    void editQuestion();

    ItemTableModel *m_model = nullptr;
    QComboBox *m_bank = nullptr;
    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
    QPushButton *m_show = nullptr;
    QPushButton *m_export = nullptr;
    QPushButton *m_edit = nullptr;
    QString m_reportBank; // the bank file of the table shown
    QTableView *m_table = nullptr;
    QLabel *m_failures = nullptr;
    QLabel *m_question = nullptr;
    QChartView *m_chart = nullptr;
    QLabel *m_status = nullptr;
};
