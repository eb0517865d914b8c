#include "testing/attemptviews.h"

#include "testing/results.h"

#include <QAbstractButton>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QHeaderView>
#include <QLineSeries>
#include <QMap>
#include <QTableWidget>

#include <algorithm>

namespace attemptviews {

namespace {
constexpr int MinimumGrade = 2;
constexpr int MaximumGrade = 5;

const QStringList Columns{QStringLiteral("Тест"),   QStringLiteral("Дата"),
                          QStringLiteral("Верно"),  QStringLiteral("Процент"),
                          QStringLiteral("Оценка"), QStringLiteral("Время")};

QList<journal::Attempt> byTestThenDate(QList<journal::Attempt> attempts)
{
    std::stable_sort(attempts.begin(), attempts.end(),
                     [](const journal::Attempt &a, const journal::Attempt &b) {
                         return a.test.localeAwareCompare(b.test) < 0;
                     });
    return attempts;
}
} // namespace

QTableWidget *newReadOnlyTable(QWidget *parent, const QString &objectName,
                               const QStringList &columns, const QString &cornerName)
{
    auto *table = new QTableWidget(0, int(columns.size()), parent);
    table->setObjectName(objectName);
    table->setHorizontalHeaderLabels(columns);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    // Tab goes on to the next control: a table that takes it from cell to cell wraps round and
    // never lets the keyboard out. The arrows move within it.
    table->setTabKeyNavigation(false);
    // The corner button is hidden with the row header, yet screen readers still list it.
    for (QAbstractButton *corner : table->findChildren<QAbstractButton *>())
        corner->setAccessibleName(cornerName);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    return table;
}

QTableWidget *newTable(QWidget *parent, const QString &objectName)
{
    QTableWidget *table =
        newReadOnlyTable(parent, objectName, Columns, QStringLiteral("Выделить все попытки"));
    table->setAccessibleName(QStringLiteral("Журнал попыток"));
    table->setAccessibleDescription(
        QStringLiteral("Все пройденные тесты: тест, дата, верные ответы, процент, оценка, время"));
    return table;
}

void fillTable(QTableWidget *table, const QList<journal::Attempt> &attempts)
{
    const QList<journal::Attempt> rows = byTestThenDate(attempts);
    table->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        const journal::Attempt &a = rows[row];
        const QStringList cells{a.test,
                                journal::dateText(a.when),
                                QStringLiteral("%1 из %2").arg(a.correct).arg(a.asked),
                                QString::number(a.percent, 'f', 1) + QStringLiteral(" %"),
                                gradeWord(a.grade),
                                journal::timeText(a.seconds)};
        for (int column = 0; column < cells.size(); ++column)
            table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    table->resizeColumnsToContents();
}

QChartView *newChart(QWidget *parent, const QString &objectName)
{
    auto *view = new QChartView(parent);
    view->setObjectName(objectName);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(240);
    view->setAccessibleName(QStringLiteral("График оценок"));
    view->setAccessibleDescription(
        QStringLiteral("Оценки за тесты по времени, по одной линии на каждый тест"));
    return view;
}

void fillChart(QChartView *view, const QList<journal::Attempt> &attempts)
{
    auto *chart = new QChart;
    chart->setMargins(QMargins(4, 4, 4, 4));
    auto *time = new QDateTimeAxis;
    time->setTitleText(QStringLiteral("Дата"));
    // Grades 2 to 5 on their grid lines, with half a grade above and below for the points.
    auto *grade = new QCategoryAxis;
    grade->setRange(MinimumGrade - 0.5, MaximumGrade + 0.5);
    grade->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (int value = MinimumGrade; value <= MaximumGrade; ++value)
        grade->append(QString::number(value), value);
    grade->setTitleText(QStringLiteral("Оценка"));
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(grade, Qt::AlignLeft);
    QMap<QString, QLineSeries *> lines;
    QDateTime first;
    QDateTime last;
    for (const journal::Attempt &a : attempts) {
        QLineSeries *&line = lines[a.test];
        if (!line) {
            line = new QLineSeries;
            // The legend renders anything that looks like markup: the name goes as text.
            line->setName(a.test.toHtmlEscaped());
            line->setPointsVisible(true);
            line->setMarkerSize(8);
            chart->addSeries(line);
            line->attachAxis(time);
            line->attachAxis(grade);
        }
        line->append(qreal(a.when.toMSecsSinceEpoch()), a.grade);
        first = first.isValid() ? std::min(first, a.when) : a.when;
        last = last.isValid() ? std::max(last, a.when) : a.when;
    }
    if (first.isValid())
        time->setRange(first.addSecs(-3600), last.addSecs(3600));
    // Ticks closer than a day apart would all read the same date.
    const bool withinDays = first.isValid() && first.daysTo(last) < time->tickCount();
    time->setFormat(withinDays ? QStringLiteral("dd.MM.yy hh:mm") : QStringLiteral("dd.MM.yy"));
    // Below the chart the legend takes no width from the lines, whatever the tests are called.
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setVisible(!attempts.isEmpty());
    QChart *old = view->chart();
    view->setChart(chart);
    delete old;
}

} // namespace attemptviews
