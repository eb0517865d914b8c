#include "core/folderclock.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

std::optional<qint64> folderClockSkew(const QString &probe, const ProbeWrite &write)
{
    if (!write(probe, QByteArray()))
        return std::nullopt;
    const QDateTime written = QFileInfo(probe).lastModified();
    QFile::remove(probe);
    if (!written.isValid())
        return std::nullopt;
    return QDateTime::currentDateTime().msecsTo(written);
}
