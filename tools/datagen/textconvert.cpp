#include "textconvert.h"

#include "core/textfile.h"
#include "dataerror.h"

#include <QStringDecoder>

namespace {

// Number of the first line (counted by LF) that is not valid UTF-8 on its own. No multi-byte
// sequence contains the LF byte, so the lines can be checked one by one.
int firstBadUtf8Line(const QByteArray &bytes)
{
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringDecoder decoder(QStringConverter::Utf8);
        const QString ignored = decoder(lines[i]);
        if (decoder.hasError())
            return int(i + 1);
    }
    return 0;
}

QString withLfOnly(const QString &text)
{
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(u'\r', u'\n');
    return result;
}

QString describeCharacter(char32_t code)
{
    const QString hex = QString::number(uint(code), 16).toUpper().rightJustified(4, u'0');
    return QStringLiteral("U+%1 \"%2\"").arg(hex, QString::fromUcs4(&code, 1));
}

// The DataError for the first character of the text without a Windows-1251 form.
DataError unmappableError(const QString &text, const QString &fileName)
{
    const QStringList lines = splitTextLines(text);
    for (qsizetype row = 0; row < lines.size(); ++row) {
        const QList<uint> codes = lines[row].toUcs4();
        for (qsizetype column = 0; column < codes.size(); ++column) {
            const char32_t code = codes[column];
            if (textfile::charactersWithout1251Form(QString::fromUcs4(&code, 1)).isEmpty())
                continue;
            return dataError(fileName, int(row + 1),
                             QStringLiteral("column %1: character %2 has no Windows-1251 form")
                                 .arg(column + 1)
                                 .arg(describeCharacter(code)));
        }
    }
    return dataError(fileName, 0, QStringLiteral("text does not convert to Windows-1251"));
}

} // namespace

QString decodeUtf8(const QByteArray &bytes, const QString &fileName)
{
    QStringDecoder decoder(QStringConverter::Utf8);
    // The decoder drops a leading byte order mark itself.
    const QString text = decoder(bytes);
    if (decoder.hasError())
        throw dataError(fileName, firstBadUtf8Line(bytes), QStringLiteral("invalid UTF-8"));
    return text;
}

QStringList splitTextLines(const QString &text)
{
    QStringList lines = withLfOnly(text).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QByteArray toWindows1251(const QString &text, const QString &fileName)
{
    QString crlf = withLfOnly(text);
    crlf.replace(u'\n', QStringLiteral("\r\n"));
    if (!textfile::charactersWithout1251Form(crlf).isEmpty())
        throw unmappableError(text, fileName);
    return textfile::encode1251(crlf);
}

QByteArray utf8ToWindows1251(const QByteArray &utf8, const QString &fileName)
{
    return toWindows1251(decodeUtf8(utf8, fileName), fileName);
}
