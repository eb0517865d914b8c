#include "users/userbase.h"

#include "core/textfile.h"

#include <QStringDecoder>

#include <algorithm>
#include <bitset>
#include <cmath>

namespace {

// The slot index 0..19 of a key "test1".."test20" (no leading zeros, no blanks), or -1.
int resultKeyIndex(QByteArrayView key)
{
    if (key.size() < 5 || key.size() > 6 || !key.startsWith("test") || key.at(4) == '0')
        return -1;
    int number = 0;
    for (qsizetype i = 4; i < key.size(); ++i) {
        const char c = key.at(i);
        if (c < '0' || c > '9')
            return -1;
        number = number * 10 + (c - '0');
    }
    return number >= 1 && number <= UserRecord::ResultCount ? number - 1 : -1;
}

// Names and passwords as the program writes them: it trims what is typed, so blanks around a
// value come from a hand edit and must not lock anybody out, the administrator least of all.
QString storedName(QByteArrayView value)
{
    return textfile::decode1251(value).trimmed();
}

QString storedResult(QByteArrayView value)
{
    if (value.trimmed().isEmpty())
        return QString();
    const double number = std::trunc(textfile::leadingNumber(value.trimmed()));
    return textfile::printNumber(qint64(qBound(-2147483648.0, number, 2147483647.0)));
}

} // namespace

int UserRecord::resultNumber(int index) const
{
    return textfile::leadingInt(results.at(index).trimmed());
}

UserBase UserBase::fromBytes(QByteArrayView bytes)
{
    UserBase base;
    base.records.reserve(bytes.size() / 300 + 1); // a record takes some 300 bytes or more
    UserRecord *current = nullptr;
    QByteArrayView key;
    bool isKey = true;
    textfile::forEachLine(bytes, [&](QByteArrayView line) {
        if (isKey) {
            key = line;
            isKey = false;
            return;
        }
        isKey = true;
        if (key == "first") {
            base.records.append(UserRecord());
            current = &base.records.last();
            current->firstName = storedName(line);
            return;
        }
        if (!current)
            return; // the count pair, or keys before the first record
        if (key == "second")
            current->surname = storedName(line);
        else if (key == "pass")
            current->password = storedName(line);
        else if (key == "zak")
            current->bookmark = textfile::decode1251(line);
        else if (const int slot = resultKeyIndex(key); slot >= 0)
            current->results[slot] = storedResult(line);
    });
    base.ensureTrailingEmptyRecord();
    return base;
}

UserBase UserBase::fromLines(const QStringList &lines)
{
    return fromBytes(textfile::joinLines(lines));
}

namespace {
constexpr QByteArrayView HeaderLine = "predel\r\n";
constexpr int PairsPerRecord = 4 + UserRecord::ResultCount;

// The key lines of a record in file order, CR LF included.
const std::array<QByteArray, PairsPerRecord> &recordKeyLines()
{
    static const auto keys = [] {
        std::array<QByteArray, PairsPerRecord> keys{"first\r\n", "second\r\n", "pass\r\n",
                                                    "zak\r\n"};
        for (int k = 0; k < UserRecord::ResultCount; ++k)
            keys[4 + k] = "test" + QByteArray::number(k + 1) + "\r\n";
        return keys;
    }();
    return keys;
}

// The record's values in the order of its key lines.
std::array<const QString *, PairsPerRecord> recordValues(const UserRecord &record)
{
    std::array<const QString *, PairsPerRecord> values{&record.firstName, &record.surname,
                                                       &record.password, &record.bookmark};
    for (int k = 0; k < UserRecord::ResultCount; ++k)
        values[4 + k] = &record.results.at(k);
    return values;
}

qsizetype recordSize(const UserRecord &record)
{
    qsizetype size = 0;
    for (const QByteArray &key : recordKeyLines())
        size += key.size() + 2;
    for (const QString *value : recordValues(record))
        size += value->size();
    return size;
}

void appendRecord(QByteArray &bytes, const UserRecord &record)
{
    const auto &keys = recordKeyLines();
    const auto values = recordValues(record);
    for (size_t i = 0; i < keys.size(); ++i) {
        bytes.append(keys[i]);
        textfile::appendLine(bytes, *values[i]);
    }
}

// The position of a record key in file order, -1 for any other key.
int recordKeyIndex(QByteArrayView key)
{
    static constexpr QByteArrayView names[] = {"first", "second", "pass", "zak"};
    for (int k = 0; k < 4; ++k) {
        if (key == names[k])
            return k;
    }
    const int slot = resultKeyIndex(key);
    return slot >= 0 ? 4 + slot : -1;
}

bool isControlByte(char c)
{
    const uchar byte = uchar(c);
    return (byte < 0x20 && c != '\r' && c != '\n' && c != '\t') || byte == 0x7F;
}

// A Windows-1251 text with Cyrillic letters is practically never valid UTF-8.
bool isUtf8WithLetters(QByteArrayView bytes)
{
    if (std::none_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x80; }))
        return false;
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString ignored = decoder(bytes);
    return !decoder.hasError();
}

// Follows the pairs of a base and notes the first damage of its structure.
class StructureCheck
{
public:
    void line(QByteArrayView text)
    {
        if (m_damage != UserBase::Damage::None)
            return;
        if (m_lines++ % 2 == 0) {
            m_key = text;
            if (m_lines == 1 && m_key != "predel")
                m_damage = UserBase::Damage::NoHeader;
            else if (m_key.isEmpty())
                m_damage = UserBase::Damage::StrayLine;
            return;
        }
        if (m_key == "predel") {
            m_count = textfile::leadingNumber(text.trimmed());
            return;
        }
        const int index = recordKeyIndex(m_key);
        if (index == 0)
            startRecord();
        if (index < 0)
            return; // other keys are ignored
        if (!m_inRecord || m_keys.test(size_t(index)))
            m_damage = UserBase::Damage::BrokenRecord;
        m_keys.set(size_t(index));
    }

    UserBase::Damage finish()
    {
        if (m_damage == UserBase::Damage::None && m_lines % 2 != 0)
            m_damage = UserBase::Damage::Truncated;
        startRecord();
        if (m_damage == UserBase::Damage::None && m_records == 0)
            m_damage = UserBase::Damage::Empty; // every base has at least its empty record
        if (m_damage == UserBase::Damage::None && m_count != double(m_records))
            m_damage = UserBase::Damage::CountDisagrees;
        return m_damage;
    }

private:
    void startRecord()
    {
        if (m_inRecord && !m_keys.all() && m_damage == UserBase::Damage::None)
            m_damage = UserBase::Damage::BrokenRecord;
        m_keys.reset();
        m_inRecord = true;
        ++m_records;
    }

    UserBase::Damage m_damage = UserBase::Damage::None;
    qsizetype m_lines = 0;
    qsizetype m_records = -1; // startRecord() also runs once at the end
    double m_count = -1;
    bool m_inRecord = false;
    QByteArrayView m_key;
    std::bitset<PairsPerRecord> m_keys;
};
} // namespace

UserBase::Damage UserBase::check(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return Damage::Empty;
    if (std::any_of(bytes.begin(), bytes.end(), isControlByte))
        return Damage::NotText;
    if (isUtf8WithLetters(bytes))
        return Damage::OtherEncoding;
    if (!bytes.endsWith('\n') && !bytes.endsWith('\r'))
        return Damage::Truncated;
    StructureCheck structure;
    textfile::forEachLine(bytes, [&structure](QByteArrayView line) { structure.line(line); });
    return structure.finish();
}

QStringList UserBase::recordLines(const UserRecord &record)
{
    QByteArray bytes;
    appendRecord(bytes, record);
    return textfile::splitLines(textfile::decode1251(bytes));
}

QByteArray UserBase::toBytes() const
{
    const QString count = textfile::printNumber(records.size());
    qsizetype size = HeaderLine.size() + count.size() + 2;
    for (const UserRecord &record : records)
        size += recordSize(record);
    QByteArray bytes;
    bytes.reserve(size); // one allocation: the base is rewritten on every login and result
    bytes += HeaderLine;
    textfile::appendLine(bytes, count);
    for (const UserRecord &record : records)
        appendRecord(bytes, record);
    return bytes;
}

QStringList UserBase::toLines() const
{
    return textfile::splitLines(textfile::decode1251(toBytes()));
}

bool UserBase::save(const QString &path) const
{
    return textfile::replaceFile(path, toBytes());
}
