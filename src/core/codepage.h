#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Windows-1251, the code page of every text file of the program.
namespace textfile {

QString decode1251(QByteArrayView bytes);
// A character without a Windows-1251 form is written as "?".
QByteArray encode1251(const QString &text);
// The characters of the text that Windows-1251 cannot hold, each once, in order of appearance.
QString charactersWithout1251Form(QStringView text);

enum class LineBreaks { Keep, AsBlanks };
// Writes the text's Windows-1251 bytes at out, one byte for each unit, and returns the position
// after them.
char *encodeInto(char *out, QStringView text, LineBreaks breaks = LineBreaks::Keep);

} // namespace textfile
