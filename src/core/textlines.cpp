#include "core/textlines.h"

#include "core/codepage.h"
#include "core/wholefile.h"

#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <type_traits>

namespace textfile {

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

void appendLine(QByteArray &bytes, QStringView line)
{
    const qsizetype at = bytes.size();
    bytes.resize(at + line.size() + 2);
    char *out = encodeInto(bytes.data() + at, line, LineBreaks::AsBlanks);
    *out++ = '\r';
    *out++ = '\n';
    bytes.truncate(out - bytes.constData());
}

QByteArray joinLines(const QStringList &lines)
{
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 2;
    QByteArray bytes(size, Qt::Uninitialized);
    char *out = bytes.data();
    for (const QString &line : lines) {
        out = encodeInto(out, line);
        *out++ = '\r';
        *out++ = '\n';
    }
    bytes.truncate(out - bytes.constData());
    return bytes;
}

std::optional<QStringList> readLines(const QString &path)
{
    const FileRead read = readFile(path);
    if (!read.isRead())
        return std::nullopt;
    return splitLines(decode1251(read.bytes));
}

bool writeLines(const QString &path, const QStringList &lines)
{
    return replaceFile(path, joinLines(lines));
}

QString printNumber(qint64 value)
{
    // Results and counts are small numbers: their texts are made once and shared.
    static const std::array<QString, 256> small = [] {
        std::array<QString, 256> texts;
        for (int i = 0; i < 256; ++i)
            texts[i] = QLatin1Char(' ') + QString::number(i) + QLatin1Char(' ');
        return texts;
    }();
    if (value >= 0 && value < 256)
        return small[value];
    return (value < 0 ? QStringLiteral("-") : QStringLiteral(" ")) +
           QString::number(value < 0 ? -value : value) + QLatin1Char(' ');
}

namespace {
template <class View> double leadingNumberOf(View text)
{
    const auto unit = [&text](qsizetype k) -> char16_t {
        if constexpr (std::is_same_v<View, QStringView>)
            return text[k].unicode();
        else
            return uchar(text[k]);
    };
    qsizetype i = 0;
    const qsizetype size = text.size();
    const auto blank = [&](qsizetype k) {
        return k < size && (unit(k) == u' ' || unit(k) == u'\t');
    };
    const auto digit = [&](qsizetype k) { return k < size && unit(k) >= u'0' && unit(k) <= u'9'; };
    while (blank(i))
        ++i;
    QVarLengthArray<char, 64> number;
    if (i < size && (unit(i) == u'-' || unit(i) == u'+'))
        number.append(char(unit(i++)));
    while (digit(i))
        number.append(char(unit(i++)));
    if (i < size && unit(i) == u'.') {
        number.append('.');
        ++i;
        while (digit(i))
            number.append(char(unit(i++)));
    }
    if (i < size && (unit(i) == u'e' || unit(i) == u'E')) {
        qsizetype k = i + 1;
        QVarLengthArray<char, 16> exponent{'e'};
        if (k < size && (unit(k) == u'-' || unit(k) == u'+'))
            exponent.append(char(unit(k++)));
        if (digit(k)) {
            while (digit(k))
                exponent.append(char(unit(k++)));
            number.append(exponent.constData(), exponent.size());
        }
    }
    // Whole numbers, the usual case, need no floating-point parsing.
    const qsizetype signs = !number.isEmpty() && (number[0] == '-' || number[0] == '+');
    if (number.size() > signs && number.size() - signs <= 15 &&
        std::all_of(number.begin() + signs, number.end(),
                    [](char c) { return c >= '0' && c <= '9'; })) {
        qint64 whole = 0;
        for (qsizetype k = signs; k < number.size(); ++k)
            whole = whole * 10 + (number[k] - '0');
        return number[0] == '-' ? -double(whole) : double(whole);
    }
    bool ok = false;
    const double value = QByteArrayView(number.constData(), number.size()).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}
} // namespace

double leadingNumber(QStringView text)
{
    return leadingNumberOf(text);
}

double leadingNumber(QByteArrayView text)
{
    return leadingNumberOf(text);
}

int leadingInt(QStringView text)
{
    const double value = std::trunc(leadingNumber(text));
    if (value >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(value);
}

qint16 leadingInt16(QStringView text)
{
    const double value = std::nearbyint(leadingNumber(text)); // round half to even
    return qint16(qBound(-32768.0, value, 32767.0));
}

QString oneLine(const QString &value)
{
    if (!value.contains(u'\r') && !value.contains(u'\n'))
        return value;
    QString line = value;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    return line;
}

} // namespace textfile
