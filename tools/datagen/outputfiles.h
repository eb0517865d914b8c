#pragma once

#include <QByteArray>
#include <QString>

class QImage;

enum class WriteResult { Written, Unchanged };

// Writes the bytes unless the file already holds exactly them, so an unchanged output keeps its
// time stamp. Missing folders are created. A failed write is a DataError naming the file.
WriteResult writeIfChanged(const QString &path, const QByteArray &bytes);

// Writes the bytes only when no file of that path exists; true when it wrote. Used for files the
// program itself keeps up to date, which a new build must not reset.
bool writeIfMissing(const QString &path, const QByteArray &bytes);

// The image encoded as a file of the format ("BMP", "JPG"); quality -1 is the format's default.
QByteArray encodeImage(const QImage &image, const char *format, int quality = -1);
