#pragma once

#include "core/sessionfiles.h"
#include "core/sessionstate.h"
#include "network/classroom.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

// Copies the demo data into a program folder of the benchmark's own.
inline void copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(source, target);
    }
}

inline double peakResidentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

// Pupil program folders pc1..pcN below dir, each in the middle of a test, listed in the
// classroom.
inline void buildClassroom(const QTemporaryDir &dir, Classroom &classroom, int pupils)
{
    Classroom::Folders folders;
    for (int i = 1; i <= pupils; ++i) {
        const QString folder = dir.filePath(QStringLiteral("pc%1/").arg(i));
        QDir().mkpath(folder + QStringLiteral("data"));
        writeProgressFile(folder + QStringLiteral("data/curr_test.ini"),
                          {QStringLiteral("Иван"), QStringLiteral("Ученик%1").arg(i),
                           QStringLiteral("Рельсовые цепи"), 20, 1 + i % 20, i % 15, 0});
        folders[i - 1] = folder;
    }
    classroom.assign(pupils, folders);
}
