#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One line of a tab-separated manifest with its line number (counted from 1).
struct ManifestLine
{
    int number = 0;
    QStringList fields;
};

// The lines of a manifest: fields split at tabs and trimmed; blank lines and lines whose first
// non-blank character is '#' are skipped.
QList<ManifestLine> parseManifest(const QString &text);

// The text of a UTF-8 source file. A missing or unreadable file and invalid UTF-8 are
// DataErrors naming the file.
QString readUtf8File(const QString &path);
