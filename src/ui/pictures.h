#pragma once

#include <QImage>
#include <QString>

// Pictures named by pages and banks, loaded by the program itself within fixed limits.
namespace pictures {
// The largest picture file read, and the largest side a picture is shown with.
constexpr qint64 MaxFileBytes = 8 * 1024 * 1024;
constexpr int MaxSide = 4096;
// Larger than this a picture is not decoded at all, even scaled.
constexpr qint64 MaxSourcePixels = 50'000'000;

// The picture at `path`, which must lie inside `dataFolder` (see datafiles::readInside),
// decoded to at most MaxSide on either side; a null image when it is refused, too large or
// damaged.
QImage load(const QString &dataFolder, const QString &path);
// What a page shows in place of a picture it may not or cannot show.
QImage broken();
} // namespace pictures
