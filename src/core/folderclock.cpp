#include "core/folderclock.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

std::optional<qint64> folderClockSkew(const QString &probe, const ProbeWrite &write)
{
    // The probe is dated at some moment of its write, which may take a while on a busy disk, and
    // file times are coarse (two seconds on FAT, a tick of the system's clock elsewhere): only a
    // date outside the write's span widened by that tells of another clock.
    constexpr qint64 CoarsestFileTimeMs = 2000;
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    if (!write(probe, QByteArray()))
        return std::nullopt;
    const qint64 after = QDateTime::currentMSecsSinceEpoch();
    const QDateTime written = QFileInfo(probe).lastModified();
    QFile::remove(probe);
    if (!written.isValid())
        return std::nullopt;
    const qint64 dated = written.toMSecsSinceEpoch();
    if (dated < before - CoarsestFileTimeMs)
        return dated - before;
    return dated > after ? dated - after : 0;
}
