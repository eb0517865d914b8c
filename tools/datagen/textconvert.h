#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The program reads its text files in Windows-1251 with CR LF line ends; the sources are kept
// in UTF-8 with any line ends. These routines turn one into the other and refuse, with the file
// and line, what cannot be turned.

// Strict UTF-8 decoding; a leading byte order mark is dropped. Invalid UTF-8 is a DataError
// naming the file and the line.
QString decodeUtf8(const QByteArray &bytes, const QString &fileName);

// The lines of a text; CR LF, LF and a lone CR end a line. A final line end gives no extra line.
QStringList splitTextLines(const QString &text);

// The text with every line end made CR LF (a missing final line end stays missing), encoded in
// Windows-1251. A character without a Windows-1251 form is a DataError naming the file, the
// line, the column and the character.
QByteArray toWindows1251(const QString &text, const QString &fileName);

// decodeUtf8 followed by toWindows1251.
QByteArray utf8ToWindows1251(const QByteArray &utf8, const QString &fileName);
