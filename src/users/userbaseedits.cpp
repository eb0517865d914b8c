#include "users/userbase.h"

#include "core/sessionstate.h"
#include "core/textfile.h"

#include <algorithm>

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
