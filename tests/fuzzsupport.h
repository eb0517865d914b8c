#pragma once

#include "core/textfile.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

// Fuzz input as the bytes of a file, decoded like every data file of the program.
inline QStringList fuzzLines(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    return textfile::splitLines(textfile::decode1251(bytes));
}

// A folder of this fuzz run's own.
inline QString fuzzFolder()
{
    static const QString folder = [] {
        const QString path = QDir::tempPath() + QStringLiteral("/tarvel-fuzz-") +
                             QString::number(QCoreApplication::applicationPid());
        QDir().mkpath(path + QStringLiteral("/data"));
        return path;
    }();
    return folder;
}

// Fuzz input written to a file of its own (a name such as "data/temp1.ini" lies below the
// fuzz folder, which then serves as a program folder).
inline QString fuzzFile(const uint8_t *data, size_t size, const QString &name)
{
    const QString path = fuzzFolder() + u'/' + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    return path;
}
