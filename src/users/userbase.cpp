#include "users/userbase.h"

#include "app/sessionstate.h"
#include "app/textfile.h"

#include <QFile>

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

std::optional<UserBase> UserBase::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return fromBytes(file.readAll());
}

std::optional<int> UserBase::readCount(const QString &path)
{
    const std::optional<QStringList> lines = textfile::readLines(path);
    if (!lines || lines->size() < 2)
        return std::nullopt;
    return textfile::leadingInt(lines->at(1).trimmed());
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
    administrator.firstName = administrator.surname = QStringLiteral("vedok");
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

bool RenewCurrentUser(const SessionState &session, const QString &baseFile)
{
    std::optional<UserBase> base = UserBase::load(baseFile);
    if (!base)
        return false;
    const qsizetype index = base->indexOf(session.UserFirstName, session.UserSurname);
    if (index < 0)
        return false;
    UserRecord &record = base->records[index];
    record.bookmark = session.UserBookmark;
    for (int k = 0; k < UserRecord::ResultCount; ++k)
        record.results[k] = session.UserResults.at(k);
    return base->save(baseFile);
}

bool RegisterUser(SessionState &session, UserBase &base, const QString &baseFile,
                  const QString &newUserFile, const QString &first, const QString &second,
                  const QString &password, qsizetype freeSlot)
{
    const qsizetype slot = base.registerUser(first, second, password, freeSlot);
    fillSessionUser(session, base.records.at(slot));
    const bool saved = base.save(baseFile);
    textfile::writeLines(newUserFile, UserBase::recordLines(base.records.at(slot)));
    return saved;
}
