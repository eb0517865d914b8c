#include "users/userbase.h"

#include "core/sessionstate.h"
#include "core/textfile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QThread>

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
            current->firstName = textfile::decode1251(line);
            return;
        }
        if (!current)
            return; // the count pair, or keys before the first record
        if (key == "second")
            current->surname = textfile::decode1251(line);
        else if (key == "pass")
            current->password = textfile::decode1251(line);
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

UserBase::Access UserBase::read(const QString &path, UserBase &base, const Files &files)
{
    const textfile::FileRead file = files.read(path);
    switch (file.status) {
    case textfile::FileRead::Status::Missing:
        return Access::Missing;
    case textfile::FileRead::Status::Unreadable:
        return Access::Unreadable;
    case textfile::FileRead::Status::Read:
        break;
    }
    if (check(file.bytes) != Damage::None)
        return Access::Damaged;
    base = fromBytes(file.bytes);
    return Access::Done;
}

std::optional<UserBase> UserBase::load(const QString &path)
{
    UserBase base;
    if (read(path, base) != Access::Done)
        return std::nullopt;
    return base;
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
} // namespace

namespace {
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

constexpr int LockWaitMs = 3000;

// Waits for the lock in short steps: another program that takes the lock again and again
// still leaves gaps to take it in.
bool takeLock(QLockFile &lock)
{
    QElapsedTimer waited;
    waited.start();
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || waited.elapsed() > LockWaitMs)
            return false;
        QThread::msleep(5 + QRandomGenerator::global()->bounded(20));
    }
    return true;
}

// The file as a message names it: its folder path from the data folder on.
QString shownName(const QString &path)
{
    const QStringList parts = QDir::fromNativeSeparators(path).split(u'/', Qt::SkipEmptyParts);
    return parts.mid(qMax<qsizetype>(0, parts.size() - 3)).join(u'/');
}

QString besideBase(const QString &path, const QString &suffix)
{
    const QFileInfo info(path);
    return info.dir().filePath(info.completeBaseName() + suffix);
}
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

QString UserBase::backupFile(const QString &path)
{
    return besideBase(path, QStringLiteral(".bak"));
}

QString UserBase::lockFile(const QString &path)
{
    return besideBase(path, QStringLiteral(".lock"));
}

UserBase::Access UserBase::update(const QString &path,
                                  const std::function<bool(UserBase &)> &change, const Files &files)
{
    QLockFile lock(lockFile(path));
    const bool locked = takeLock(lock);
    if (!locked && lock.error() == QLockFile::LockFailedError)
        return Access::Locked;
    const textfile::FileRead file = files.read(path);
    if (file.status == textfile::FileRead::Status::Missing)
        return Access::Missing;
    if (file.status == textfile::FileRead::Status::Unreadable)
        return Access::Unreadable;
    if (check(file.bytes) != Damage::None)
        return Access::Damaged;
    if (!locked) // a folder where no lock file can be made takes no base either
        return Access::NotWritten;
    UserBase base = fromBytes(file.bytes);
    if (!change(base))
        return Access::Declined;
    if (!files.write(backupFile(path), file.bytes) || !files.write(path, base.toBytes()))
        return Access::NotWritten;
    return Access::Done;
}

QString UserBase::messageFor(Access access, const QString &path)
{
    const QString file = shownName(path);
    switch (access) {
    case Access::Done:
    case Access::Declined:
        return QString();
    case Access::Missing:
        return QStringLiteral("Не найден список пользователей (файл %1). Обратитесь к "
                              "администратору.")
            .arg(file);
    case Access::Unreadable:
        return QStringLiteral("Не удается прочитать список пользователей (файл %1). Обратитесь "
                              "к администратору.")
            .arg(file);
    case Access::Damaged:
        return QStringLiteral("Список пользователей поврежден (файл %1). Восстановите его из "
                              "резервной копии %2 или обратитесь к администратору.")
            .arg(file, QFileInfo(backupFile(path)).fileName());
    case Access::Locked:
        return QStringLiteral("Список пользователей (файл %1) сейчас изменяет другая программа. "
                              "Повторите через несколько секунд.")
            .arg(file);
    case Access::NotWritten:
        return QStringLiteral("Не удалось записать список пользователей (файл %1). Изменения не "
                              "сохранены.")
            .arg(file);
    }
    return QString();
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

UserBase::Lookup UserBase::find(const QString &first, const QString &second,
                                const QString &password) const
{
    Lookup lookup;
    const qsizetype count = records.size();
    for (qsizetype i = 0; i + 1 < count; ++i) {
        const UserRecord &record = records.at(i);
        if (record.hasNames(first, second)) {
            lookup.index = i;
            lookup.outcome = record.password == password ? Outcome::Found : Outcome::WrongPassword;
            return lookup;
        }
        if (lookup.freeSlot < 0 && records.at(i + 1).firstName.isEmpty())
            lookup.freeSlot = i + 1;
    }
    return lookup;
}

qsizetype UserBase::registerUser(const QString &first, const QString &second,
                                 const QString &password, qsizetype freeSlot)
{
    if (freeSlot < 0 || freeSlot >= records.size())
        freeSlot = records.size() - 1;
    UserRecord &record = records[freeSlot];
    record.firstName = first;
    record.surname = second;
    record.password = password;
    records.append(UserRecord());
    return freeSlot;
}

qsizetype UserBase::indexOf(const QString &first, const QString &second) const
{
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (records.at(i).hasNames(first, second))
            return i;
    }
    return -1;
}

QList<qsizetype> UserBase::similarUsers(const QString &first, const QString &second) const
{
    const QString firstKey = nameKey(first);
    const QString secondKey = nameKey(second);
    QList<qsizetype> similar;
    for (qsizetype i = 0; i + 1 < records.size(); ++i) {
        const UserRecord &record = records.at(i);
        if (record.firstName.isEmpty() || record.hasNames(first, second) ||
            nameKey(record.firstName) != firstKey || nameKey(record.surname) != secondKey)
            continue;
        const bool known = std::any_of(similar.begin(), similar.end(), [&](qsizetype k) {
            return records.at(k).hasNames(record.firstName, record.surname);
        });
        if (!known)
            similar << i;
    }
    return similar;
}

void UserBase::renameUser(const QString &oldFirst, const QString &oldSecond, const QString &first,
                          const QString &second, const QString &password)
{
    for (UserRecord &record : records) {
        if (record.hasNames(oldFirst, oldSecond)) {
            record.firstName = first;
            record.surname = second;
            record.password = password;
        }
    }
}

void UserBase::removeUser(const QString &first, const QString &second)
{
    records.removeIf([&](const UserRecord &record) { return record.hasNames(first, second); });
    ensureTrailingEmptyRecord();
}

void UserBase::clearAllButAdministrator()
{
    UserRecord administrator;
    administrator.firstName = administrator.surname = administrator::Name;
    for (const UserRecord &record : records) {
        if (record.isAdministrator()) {
            administrator = record;
            break;
        }
    }
    records = {administrator, UserRecord()};
}

void UserBase::ensureTrailingEmptyRecord()
{
    if (records.isEmpty() || !records.last().firstName.isEmpty())
        records.append(UserRecord());
}

void fillSessionUser(SessionState &session, const UserRecord &record)
{
    session.UserFirstName = record.firstName;
    session.UserSurname = record.surname;
    session.UserPassword = record.password;
    session.UserBookmark = record.bookmark;
    for (int k = 0; k < UserRecord::ResultCount; ++k) {
        session.UserResults[k] = record.results.at(k).trimmed().isEmpty()
                                     ? QString()
                                     : QString::number(record.resultNumber(k));
    }
}

QStringList unstorableCharacters(const QString &text)
{
    QStringList named;
    const auto add = [&named](const QString &name) {
        if (!named.contains(name))
            named << name;
    };
    for (const QChar c : text) {
        if (c == u'\n' || c == u'\r')
            add(QStringLiteral("перевод строки"));
        else if (c == u'\t')
            add(QStringLiteral("табуляция"));
        else if (c.category() == QChar::Other_Control)
            add(QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper());
    }
    const QString missing = textfile::charactersWithout1251Form(text);
    for (qsizetype i = 0; i < missing.size(); ++i) {
        const qsizetype length = missing.at(i).isHighSurrogate() ? 2 : 1;
        add(u'«' + missing.mid(i, length) + u'»');
        i += length - 1;
    }
    return named;
}

QString unstorableText(const QStringList &fields)
{
    QStringList named;
    for (const QString &field : fields) {
        for (const QString &name : unstorableCharacters(field)) {
            if (!named.contains(name))
                named << name;
        }
    }
    if (named.isEmpty())
        return QString();
    return QStringLiteral("Эти знаки нельзя сохранить в списке пользователей: %1. Замените их.")
        .arg(named.join(QStringLiteral(", ")));
}

QString nameKey(const QString &name)
{
    return name.simplified().toCaseFolded();
}

bool isAdministratorName(const QString &first, const QString &second)
{
    return administrator::hasNames(nameKey(first), nameKey(second));
}

UserBase::Access renewUser(const SessionState &session, const QString &baseFile)
{
    return UserBase::update(baseFile, [&session](UserBase &base) {
        const qsizetype index = base.indexOf(session.UserFirstName, session.UserSurname);
        if (index < 0)
            return false;
        UserRecord &record = base.records[index];
        record.bookmark = session.UserBookmark;
        for (int k = 0; k < UserRecord::ResultCount; ++k)
            record.results[k] = session.UserResults.at(k);
        return true;
    });
}

bool renewCurrentUser(const SessionState &session, const QString &baseFile)
{
    return renewUser(session, baseFile) == UserBase::Access::Done;
}
