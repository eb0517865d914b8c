#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Key line / value line pairs and the markers of the state files.
namespace textfile {

struct KeyValue
{
    QString key;
    QString value;
    bool hasValue = true; // false for a key line at the very end without its value line
};

// Reads key line / value line pairs from lines[from] to the end, lines taken as they stand.
QList<KeyValue> readPairs(const QStringList &lines, qsizetype from = 0);

// Index of the line after the first line equal to "start" (compared trimmed when asked),
// or -1 when there is none.
qsizetype indexAfterStart(const QStringList &lines, bool trimmed = false);

// A state file whose first line is "clear" exists but carries no data.
bool isClearMarker(const QStringList &lines);

} // namespace textfile
