#pragma once

#include "network/pupilstatus.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

// The class results as a spreadsheet table: UTF-8 with a byte-order mark, ";" between fields,
// fields quoted where needed, dates as dd.mm.yyyy, CR LF, so that a spreadsheet in a Russian
// locale opens it in columns without an import dialog.
namespace resultslog::csv {

struct Row
{
    QDate date; // invalid when a history title could not be read as a date
    QString dateText;
    int number = 0;
    QString name;
    QString grade;
    QString correct;
    QString asked;
    QString test;
};

// The graded pupils of the computers in order, as the results log numbers them.
QList<Row> logRows(const QList<PupilStatus> &pupils, const QDate &date);
// Every results line of every lesson stored in the history, dated by its block's title.
QList<Row> historyRows(const QStringList &history, const QLocale &locale);

// One field: quoted when it holds ";", a quote, a line break or outer blanks; a text that a
// spreadsheet would take for a formula gets a leading apostrophe.
QString field(const QString &text);
QByteArray document(const QList<Row> &rows);
// Writes the document by whole-file replacement; false when it could not be written.
bool write(const QString &path, const QList<Row> &rows);

} // namespace resultslog::csv
