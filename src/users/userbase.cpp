#include "users/userbase.h"

#include "core/folderclock.h"
#include "core/sessionstate.h"
#include "core/textfile.h"

#include <QDateTime>
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
    // A fresh install has its first backup once its base was read cleanly, so the damage
    // message's advice to restore from it holds from the start.
    if (!QFileInfo::exists(backupFile(path)))
        files.write(backupFile(path), file.bytes);
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
constexpr qint64 StaleLockMs = 30 * 1000;

enum class LockState { Taken, Held, Damaged, Failed };

// A lock file that has not changed for StaleLockMs on the clock of the folder's computer was
// left by a program that died: a live program holds the lock for moments only.
class StaleLock
{
public:
    StaleLock(QString lockPath, QString probe, const UserBaseFiles &files)
        : m_lockPath(std::move(lockPath)), m_probe(std::move(probe)), m_files(files)
    {
    }

    bool isStale()
    {
        m_taken = QFileInfo(m_lockPath).lastModified();
        if (!m_taken.isValid())
            return false;
        if (!m_skew)
            m_skew = folderClockSkew(m_probe, m_files.write); // once per wait
        return m_skew && m_taken.msecsTo(QDateTime::currentDateTime()) + *m_skew > StaleLockMs;
    }
    // Removes the lock judged stale unless another program has taken it since.
    bool remove() const
    {
        if (QFileInfo(m_lockPath).lastModified() != m_taken)
            return true;
        return QFile::remove(m_lockPath) || !QFileInfo::exists(m_lockPath);
    }

private:
    QString m_lockPath;
    QString m_probe;
    const UserBaseFiles &m_files;
    QDateTime m_taken;
    std::optional<qint64> m_skew;
};

// Waits for the lock in short steps: another program that takes the lock again and again
// still leaves gaps to take it in. On the window thread the wait lasts a frame or two. A lock
// that is no file or cannot be removed when stale would refuse every change for good.
LockState takeLock(QLockFile &lock, StaleLock &stale, const QString &lockPath,
                   UserBase::LockWait wait)
{
    lock.setStaleLockTime(0); // judged by StaleLock on the folder's own clock
    const int patience = wait == UserBase::LockWait::ForThisThread && textfile::onWindowThread()
                             ? textfile::WindowThreadPatienceMs
                             : LockWaitMs;
    QElapsedTimer waited;
    waited.start();
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError)
            return LockState::Failed;
        const QFileInfo held(lockPath);
        if (held.isSymLink() || (held.exists() && !held.isFile()))
            return LockState::Damaged;
        if (stale.isStale()) {
            if (!stale.remove())
                return LockState::Damaged;
            continue;
        }
        if (waited.elapsed() > patience)
            return LockState::Held;
        QThread::msleep(5 + QRandomGenerator::global()->bounded(20));
    }
    return LockState::Taken;
}

qsizetype namedUsers(const UserBase &base)
{
    return std::count_if(base.records.begin(), base.records.end(),
                         [](const UserRecord &record) { return !record.firstName.isEmpty(); });
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

QStringList UserBase::olderBackups(const QString &path)
{
    return {besideBase(path, QStringLiteral(".bak2")), besideBase(path, QStringLiteral(".bak3"))};
}

QString UserBase::beforeDeletionBackup(const QString &path)
{
    return besideBase(path, QStringLiteral(".before-delete.bak"));
}

namespace {
// Keeps the base as it was before a change: the newest copy in the backup file that every copy
// of the program knows, the two before it in older generations, and the last base a deletion
// started from in a copy of its own, so that routine saves after "delete all" never replace
// the only copy with the users in it.
bool keepBackups(const QString &path, const QByteArray &before, bool deletes,
                 const UserBaseFiles &files)
{
    if (deletes && !files.write(UserBase::beforeDeletionBackup(path), before))
        return false;
    const QStringList older = UserBase::olderBackups(path);
    files.rename(older.at(0), older.at(1));
    files.rename(UserBase::backupFile(path), older.at(0));
    return files.write(UserBase::backupFile(path), before);
}
} // namespace

UserBase::Access UserBase::update(const QString &path,
                                  const std::function<bool(UserBase &)> &change, const Files &files,
                                  LockWait wait)
{
    QLockFile lock(lockFile(path));
    StaleLock stale(lockFile(path), besideBase(path, QStringLiteral(".clock")), files);
    const LockState locked = takeLock(lock, stale, lockFile(path), wait);
    if (locked == LockState::Held)
        return Access::Locked;
    if (locked == LockState::Damaged)
        return Access::LockDamaged;
    const textfile::FileRead file = files.read(path);
    if (file.status == textfile::FileRead::Status::Missing)
        return Access::Missing;
    if (file.status == textfile::FileRead::Status::Unreadable)
        return Access::Unreadable;
    if (check(file.bytes) != Damage::None)
        return Access::Damaged;
    if (locked != LockState::Taken) // a folder where no lock file can be made takes no base either
        return Access::NotWritten;
    const UserBase before = fromBytes(file.bytes);
    UserBase base = before;
    if (!change(base))
        return Access::Declined;
    const bool deletes = namedUsers(base) < namedUsers(before);
    if (!keepBackups(path, file.bytes, deletes, files) || !files.write(path, base.toBytes()))
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
                              "резервной копии %2 или из более ранних копий рядом с ним (%3, %4, "
                              "%5), либо обратитесь к администратору.")
            .arg(file, QFileInfo(backupFile(path)).fileName(),
                 QFileInfo(olderBackups(path).at(0)).fileName(),
                 QFileInfo(olderBackups(path).at(1)).fileName(),
                 QFileInfo(beforeDeletionBackup(path)).fileName());
    case Access::LockDamaged:
        return QStringLiteral("Список пользователей (файл %1) нельзя изменить: файл блокировки "
                              "%2 поврежден и не удаляется. Удалите его и повторите.")
            .arg(file, shownName(lockFile(path)));
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

QString UserBase::damagedWithoutBackupText(const QString &path)
{
    return QStringLiteral("Список пользователей поврежден (файл %1), а резервной копии %2 рядом с "
                          "ним нет. Обратитесь к администратору.")
        .arg(shownName(path), QFileInfo(backupFile(path)).fileName());
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
    session.user.firstName = record.firstName;
    session.user.surname = record.surname;
    session.user.password = record.password;
    session.user.bookmark = record.bookmark;
    for (int k = 0; k < UserRecord::ResultCount; ++k) {
        session.user.results[k] = record.results.at(k).trimmed().isEmpty()
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
    const auto code = [](QChar c) {
        return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    };
    for (const QChar c : text) {
        if (c == u'\n' || c == u'\r')
            add(QStringLiteral("перевод строки"));
        else if (c == u'\t')
            add(QStringLiteral("табуляция"));
        else if (c.category() == QChar::Other_Control)
            add(code(c));
        else if (c.category() == QChar::Other_Format) // a soft hyphen, a zero-width space
            add(QStringLiteral("невидимый знак ") + code(c));
    }
    const QString missing = textfile::charactersWithout1251Form(text);
    for (qsizetype i = 0; i < missing.size(); ++i) {
        const qsizetype length = missing.at(i).isHighSurrogate() ? 2 : 1;
        if (missing.at(i).category() != QChar::Other_Format)
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

namespace {
// A name as it looks: letter case, blanks and invisible characters aside, and the Cyrillic
// letters and the digit drawn like Latin letters taken for them.
QString lookKey(const QString &name)
{
    static const QString cyrillic = QStringLiteral("авеёкмнорстухіїјѕў0");
    static const QString latin = QStringLiteral("abeekmhopctyxiijsyo");
    QString key;
    for (const QChar c : nameKey(name)) {
        if (c.category() == QChar::Other_Format)
            continue;
        const qsizetype look = cyrillic.indexOf(c);
        key += look < 0 ? c : latin.at(look);
    }
    return key;
}
} // namespace

bool isAdministratorName(const QString &first, const QString &second)
{
    return administrator::hasNames(lookKey(first), lookKey(second));
}

UserBase::Access renewUser(const SessionState &session, const QString &baseFile,
                           UserBase::LockWait wait)
{
    const auto store = [&session](UserBase &base) {
        const qsizetype index = base.indexOf(session.user.firstName, session.user.surname);
        if (index < 0)
            return false;
        UserRecord &record = base.records[index];
        record.bookmark = session.user.bookmark;
        for (int k = 0; k < UserRecord::ResultCount; ++k)
            record.results[k] = session.user.results.at(k);
        return true;
    };
    return UserBase::update(baseFile, store, {}, wait);
}

UserBase::Access clearResultSlot(SessionState &session, const QString &baseFile, int slot)
{
    session.user.results[slot].clear();
    return UserBase::update(baseFile, [slot](UserBase &base) {
        bool cleared = false;
        for (UserRecord &record : base.records) {
            cleared = cleared || !record.results.at(slot).isEmpty();
            record.results[slot].clear();
        }
        return cleared;
    });
}

bool renewCurrentUser(const SessionState &session, const QString &baseFile)
{
    return renewUser(session, baseFile, UserBase::LockWait::Full) == UserBase::Access::Done;
}
