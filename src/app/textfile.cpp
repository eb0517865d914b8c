#include "app/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <QThread>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <type_traits>
#include <vector>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace textfile {

namespace {
constexpr auto codepage = "windows-1251";

bool writeThroughSaveFile(const QString &path, const QByteArray &bytes, bool *opened)
{
    QSaveFile file(path);
    *opened = file.open(QIODevice::WriteOnly);
    if (!*opened)
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

bool renameOver(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

// Some network file systems refuse the unnamed temporary file QSaveFile asks for;
// a named one beside the target works everywhere.
bool writeThroughNamedTemporary(const QString &path, const QByteArray &bytes)
{
    QTemporaryFile temp(path + QStringLiteral(".XXXXXX.tmp"));
    if (!temp.open())
        return false;
    bool written = temp.write(bytes) == bytes.size() && temp.flush();
#ifndef Q_OS_WIN
    written = written && ::fsync(temp.handle()) == 0;
#endif
    temp.close();
    if (!written || !renameOver(temp.fileName(), path))
        return false;
    temp.setAutoRemove(false);
    return true;
}

// The code page's table is taken once from Qt's converter; converting through the table keeps
// reading and writing the large files (user base, session files) fast.
struct CodePage
{
    std::array<char16_t, 256> toUnicode{};
    std::vector<qint16> fromUnicode = std::vector<qint16>(65536, -1); // -1: no form

    CodePage()
    {
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        QStringDecoder decoder(codepage);
        const QString text = decoder.decode(all);
        for (int i = 0; i < 256 && i < text.size(); ++i) {
            const char16_t unit = text.at(i).unicode();
            toUnicode[i] = unit;
            if (fromUnicode[unit] < 0)
                fromUnicode[unit] = qint16(i);
        }
    }
};

const CodePage &codePage()
{
    static const CodePage page;
    return page;
}

} // namespace

QString decode1251(QByteArrayView bytes)
{
    const CodePage &page = codePage();
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(page.toUnicode[uchar(bytes.at(i))]);
    return text;
}

namespace {
enum class LineBreaks { Keep, AsBlanks };

// Writes the text's bytes at out and returns the position after them.
char *encodeInto(char *out, QStringView text, LineBreaks breaks = LineBreaks::Keep)
{
    const CodePage &page = codePage();
    const char16_t *units = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = units[i];
        if (QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(units[i + 1]))
            ++i; // one character without a form, one question mark
        if (breaks == LineBreaks::AsBlanks && (unit == u'\r' || unit == u'\n')) {
            if (unit == u'\r' && i + 1 < size && units[i + 1] == u'\n')
                ++i;
            *out++ = ' ';
            continue;
        }
        const qint16 byte = page.fromUnicode[unit];
        *out++ = byte < 0 ? '?' : char(byte);
    }
    return out;
}
} // namespace

QByteArray encode1251(const QString &text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    bytes.truncate(encodeInto(bytes.data(), text) - bytes.constData());
    return bytes;
}

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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return splitLines(decode1251(file.readAll()));
}

bool writeLines(const QString &path, const QStringList &lines)
{
    return replaceFile(path, joinLines(lines));
}

bool replaceFile(const QString &path, const QByteArray &bytes)
{
    // On Windows a reader on another computer may hold the file open for a moment,
    // so a refused replacement is retried; QSaveFile drops its temporary file each time.
    int delay = 20;
    for (int waited = 0; waited <= 2000; waited += delay, delay = qMin(delay * 2, 400)) {
        bool opened = false;
        if (writeThroughSaveFile(path, bytes, &opened))
            return true;
        if (!opened && writeThroughNamedTemporary(path, bytes))
            return true;
        if (!QFileInfo(path).absoluteDir().exists())
            return false;
        QThread::msleep(delay);
    }
    return false;
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

QList<KeyValue> readPairs(const QStringList &lines, qsizetype from)
{
    QList<KeyValue> pairs;
    for (qsizetype i = qMax<qsizetype>(from, 0); i < lines.size(); i += 2) {
        if (i + 1 < lines.size())
            pairs.append({lines.at(i), lines.at(i + 1), true});
        else
            pairs.append({lines.at(i), QString(), false});
    }
    return pairs;
}

qsizetype indexAfterStart(const QStringList &lines, bool trimmed)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if ((trimmed ? lines.at(i).trimmed() : lines.at(i)) == QLatin1String("start"))
            return i + 1;
    }
    return -1;
}

bool isClearMarker(const QStringList &lines)
{
    return !lines.isEmpty() && lines.first().trimmed() == QLatin1String("clear");
}

} // namespace textfile
