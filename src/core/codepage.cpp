#include "core/codepage.h"

#include <array>

namespace textfile {

namespace {

// Windows-1251, bytes 0x80 to 0xFF; the lower half is ASCII. 0x98 has no character in the
// code page and stands for the control character of the same number, so every byte survives
// a read and a write.
constexpr std::array<char16_t, 128> upperHalf1251{
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // 0xB8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, // 0xC0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, // 0xC8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, // 0xD0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, // 0xD8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, // 0xE0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, // 0xE8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, // 0xF0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, // 0xF8
};

// Both directions of the code page as lookup tables, so that reading and writing the large
// files (user base, session files) stays fast.
struct CodePage
{
    std::array<char16_t, 256> toUnicode{};
    std::vector<qint16> fromUnicode = std::vector<qint16>(65536, -1); // -1: no form

    CodePage()
    {
        for (int i = 0; i < 256; ++i) {
            const char16_t unit = i < 128 ? char16_t(i) : upperHalf1251[i - 128];
            toUnicode[i] = unit;
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

char *encodeInto(char *out, QStringView text, LineBreaks breaks)
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

QByteArray encode1251(const QString &text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    bytes.truncate(encodeInto(bytes.data(), text) - bytes.constData());
    return bytes;
}

QString charactersWithout1251Form(QStringView text)
{
    const CodePage &page = codePage();
    QString missing;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const bool pair = QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
                          QChar::isLowSurrogate(text[i + 1].unicode());
        const QStringView character = text.sliced(i, pair ? 2 : 1);
        if (pair)
            ++i;
        if ((pair || page.fromUnicode[unit] < 0) && !missing.contains(character))
            missing += character;
    }
    return missing;
}

} // namespace textfile
