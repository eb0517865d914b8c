#include "ui/pictures.h"

#include "core/datafiles.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

QImage pictures::load(const QString &dataFolder, const QString &path)
{
    textfile::FileRead read = datafiles::readInside(dataFolder, path, MaxFileBytes);
    if (!read.isRead())
        return {};
    QBuffer buffer(&read.bytes);
    QImageReader reader(&buffer);
    // The size from the header, before anything is decoded: a file of a few bytes can claim a
    // picture of gigabytes.
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > MaxSourcePixels)
        return {};
    if (size.width() > MaxSide || size.height() > MaxSide)
        reader.setScaledSize(size.scaled(MaxSide, MaxSide, Qt::KeepAspectRatio));
    return reader.read();
}

QImage pictures::broken()
{
    QImage image(24, 24, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::gray, 1));
    painter.drawRect(0, 0, 23, 23);
    painter.setPen(QPen(Qt::darkRed, 2));
    painter.drawLine(6, 6, 17, 17);
    painter.drawLine(17, 6, 6, 17);
    return image;
}
