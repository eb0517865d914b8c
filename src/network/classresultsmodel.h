#pragma once

#include "network/resultslogcsv.h"

#include <QAbstractTableModel>

// What a screen reader says of a table cell read alone: its column and its row.
QString cellDescription(const QString &heading, int row);

// The class results window's table: one row per graded pupil, numbered as the results log
// numbers them. It is made once, when the window opens.
class ClassResultsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Number, Name, Grade, Right, Test, ColumnCount };

    explicit ClassResultsModel(QList<resultslog::csv::Row> rows, QObject *parent = nullptr)
        : QAbstractTableModel(parent), m_rows(std::move(rows))
    {
    }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString text(const resultslog::csv::Row &row, int column) const;

    QList<resultslog::csv::Row> m_rows;
};
