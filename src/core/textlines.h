#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

// Lines ended by CR LF and the numbers in them, as the print statement wrote them.
namespace textfile {

// Splits text into lines; CR LF, LF and a lone CR end a line, the last line may lack an end.
QStringList splitLines(const QString &text);
// Every line followed by CR LF, encoded in Windows-1251.
QByteArray joinLines(const QStringList &lines);

// The lines of a Windows-1251 file, or nothing when it is missing or unreadable.
std::optional<QStringList> readLines(const QString &path);
// Replaces the whole file with the lines (Windows-1251, CR LF); see replaceFile.
bool writeLines(const QString &path, const QStringList &lines);

// A number as the text-file print statement writes it: " 12 ", "-3 ".
QString printNumber(qint64 value);
// The leading number of a text: blanks skipped, stops at the first character that cannot
// continue a number; 0 when there is none (" 12abc" gives 12, "7.9" gives 7.9).
double leadingNumber(QStringView text);
// The leading number cut to its whole part ("7.9" gives 7), clamped to the int range.
int leadingInt(QStringView text);
// The same for the bytes of a Windows-1251 text (digits, signs and points are the same bytes).
double leadingNumber(QByteArrayView text);
// The leading number rounded to a 16-bit integer as the print-era conversion does
// (halves to even), clamped to the 16-bit range.
qint16 leadingInt16(QStringView text);

// A value made safe for one value line: line breaks become blanks.
QString oneLine(const QString &value);

// Calls line(view) for every line of the bytes; line ends as in splitLines.
template <class Function> void forEachLine(QByteArrayView bytes, Function line)
{
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        line(bytes.sliced(start, i - start));
        if (c == '\r' && i + 1 < size && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        line(bytes.sliced(start));
}

// Appends the text's Windows-1251 bytes and CR LF; line breaks inside become blanks, as oneLine.
void appendLine(QByteArray &bytes, QStringView line);

} // namespace textfile
