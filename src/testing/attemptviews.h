#pragma once

#include "testing/journal.h"

class QChartView;
class QTableWidget;
class QWidget;

// The journal of attempts as a table (one row per attempt, grouped by test, oldest first) and
// as a chart of the grades over time (one line per test).
namespace attemptviews {

// A table that is only read: whole rows are selected, the first column takes the spare width.
QTableWidget *newReadOnlyTable(QWidget *parent, const QString &objectName,
                               const QStringList &columns, const QString &cornerName);
QTableWidget *newTable(QWidget *parent, const QString &objectName);
void fillTable(QTableWidget *table, const QList<journal::Attempt> &attempts);

QChartView *newChart(QWidget *parent, const QString &objectName);
void fillChart(QChartView *view, const QList<journal::Attempt> &attempts);

} // namespace attemptviews
