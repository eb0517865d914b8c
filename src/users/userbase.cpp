#include "users/userbase.h"

#include "app/sessionstate.h"
#include "app/textfile.h"

namespace {

const QString keyPredel = QStringLiteral("predel");
const QString keyFirst = QStringLiteral("first");
const QString keySecond = QStringLiteral("second");
const QString keyPass = QStringLiteral("pass");
const QString keyZak = QStringLiteral("zak");

const std::array<QString, UserRecord::ResultCount> resultKeys = [] {
    std::array<QString, UserRecord::ResultCount> keys;
    for (int k = 0; k < UserRecord::ResultCount; ++k)
        keys[k] = QStringLiteral("test") + QString::number(k + 1);
    return keys;
}();

// The slot index 0..19 of a key "test1".."test20" (no leading zeros, no blanks), or -1.
int resultKeyIndex(const QString &key)
{
    if (key.size() < 5 || key.size() > 6 || !key.startsWith(QLatin1String("test")) ||
        key.at(4) == u'0')
        return -1;
    int number = 0;
    for (qsizetype i = 4; i < key.size(); ++i) {
        const char16_t c = key.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        number = number * 10 + (c - u'0');
    }
    return number >= 1 && number <= UserRecord::ResultCount ? number - 1 : -1;
}

QString storedResult(const QString &value)
{
    if (value.trimmed().isEmpty())
        return QString();
    return textfile::printNumber(textfile::leadingInt(value.trimmed()));
}

} // namespace

int UserRecord::resultNumber(int index) const
{
    return textfile::leadingInt(results.at(index).trimmed());
}

UserBase UserBase::fromLines(const QStringList &lines)
{
    UserBase base;
    UserRecord *current = nullptr;
    for (qsizetype i = 0; i + 1 < lines.size(); i += 2) {
        const QString &key = lines.at(i);
        const QString &value = lines.at(i + 1);
        if (key == keyFirst) {
            base.records.append(UserRecord());
            current = &base.records.last();
            current->firstName = value;
            continue;
        }
        if (!current)
            continue; // the count pair, or keys before the first record
        if (key == keySecond)
            current->surname = value;
        else if (key == keyPass)
            current->password = value;
        else if (key == keyZak)
            current->bookmark = value;
        else if (const int slot = resultKeyIndex(key); slot >= 0)
            current->results[slot] = storedResult(value);
    }
    base.ensureTrailingEmptyRecord();
    return base;
}

std::optional<UserBase> UserBase::load(const QString &path)
{
    const std::optional<QStringList> lines = textfile::readLines(path);
    if (!lines)
        return std::nullopt;
    return fromLines(*lines);
}

std::optional<int> UserBase::readCount(const QString &path)
{
    const std::optional<QStringList> lines = textfile::readLines(path);
    if (!lines || lines->size() < 2)
        return std::nullopt;
    return textfile::leadingInt(lines->at(1).trimmed());
}

QStringList UserBase::recordLines(const UserRecord &record)
{
    QStringList lines{keyFirst,  textfile::oneLine(record.firstName),
                      keySecond, textfile::oneLine(record.surname),
                      keyPass,   textfile::oneLine(record.password),
                      keyZak,    textfile::oneLine(record.bookmark)};
    for (int k = 0; k < UserRecord::ResultCount; ++k)
        lines << resultKeys[k] << textfile::oneLine(record.results.at(k));
    return lines;
}

QStringList UserBase::toLines() const
{
    QStringList lines{keyPredel, textfile::printNumber(records.size())};
    lines.reserve(2 + records.size() * 48);
    for (const UserRecord &record : records)
        lines << recordLines(record);
    return lines;
}

bool UserBase::save(const QString &path) const
{
    return textfile::writeLines(path, toLines());
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
            lookup.outcome =
                record.password == password ? Outcome::Found : Outcome::WrongPassword;
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
