#include "outputfiles.h"

#include "dataerror.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

namespace {

bool holdsExactly(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.size() != bytes.size() || !file.open(QIODevice::ReadOnly))
        return false;
    return file.readAll() == bytes;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw dataError(path, 0, QStringLiteral("cannot create its folder"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw dataError(path, 0, QStringLiteral("cannot write: %1").arg(file.errorString()));
}

} // namespace

WriteResult writeIfChanged(const QString &path, const QByteArray &bytes)
{
    if (holdsExactly(path, bytes))
        return WriteResult::Unchanged;
    writeFile(path, bytes);
    return WriteResult::Written;
}

bool writeIfMissing(const QString &path, const QByteArray &bytes)
{
    if (QFileInfo::exists(path))
        return false;
    writeFile(path, bytes);
    return true;
}

QByteArray encodeImage(const QImage &image, const char *format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format, quality))
        throw DataError{QStringLiteral("cannot encode an image as %1").arg(QLatin1String(format))};
    return bytes;
}
