#pragma once

#include "core/administrator.h"
#include "core/textfile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

struct SessionState;

struct UserRecord
{
    static constexpr int ResultCount = 20;

    QString firstName;
    QString surname;
    QString password;
    QString bookmark;
    // Results as they are written: a print-style number read from the file, a text stored
    // for the current user, or empty when the test was never taken.
    std::array<QString, ResultCount> results;

    bool hasNames(const QString &first, const QString &second) const
    {
        return firstName == first && surname == second;
    }
    bool isAdministrator() const { return administrator::hasNames(firstName, surname); }
    // A result slot as the number it holds, 0 when empty.
    int resultNumber(int index) const;

    bool operator==(const UserRecord &) const = default;
};

// Where a user base's bytes come from and go to: this computer's files by default, a pupil
// computer's share through the checks for files written by another computer.
struct UserBaseFiles
{
    std::function<textfile::FileRead(const QString &)> read = textfile::readFile;
    std::function<bool(const QString &, const QByteArray &)> write = textfile::replaceFile;
    std::function<bool(const QString &, const QString &)> rename = textfile::renameOver;
};

// The user base: "predel" with the record count, then 24 key/value pairs per record, always
// ending with an empty record that serves as the slot for the next new user.
// This is the one reader and writer of the format; every window that touches a base uses it.
class UserBase
{
public:
    // What stops a base from being trusted. A damaged base is never written over: every
    // record after the damage would be lost with it.
    enum class Damage {
        None,
        Empty,          // an empty file, or one without any record
        NotText,        // bytes no text file holds
        OtherEncoding,  // saved as UTF-8 instead of Windows-1251
        NoHeader,       // not starting with "predel"
        StrayLine,      // an empty line where a key belongs: every later pair would shift
        Truncated,      // ending inside a pair or a line
        BrokenRecord,   // a record lacking one of its 24 keys or holding one twice
        CountDisagrees, // "predel" says another number of records than the file holds
    };
    // How reading or changing a base file went.
    enum class Access {
        Done,
        Declined,
        Missing,
        Unreadable,
        Damaged,
        Locked,
        LockDamaged, // the lock file is no file, or stale and cannot be removed
        NotWritten
    };

    enum class Outcome { Found, WrongPassword, NotFound };
    struct Lookup
    {
        Outcome outcome = Outcome::NotFound;
        qsizetype index = -1;    // the record found
        qsizetype freeSlot = -1; // the first record with an empty first name (never the first)
    };

    QList<UserRecord> records;

    // Reads a base; a base without a trailing empty record gets one, so that nothing written
    // is lost and a new user always finds a slot.
    static UserBase fromBytes(QByteArrayView bytes);
    static UserBase fromLines(const QStringList &lines);
    // The first damage of a base's bytes, Damage::None for a clean base.
    static Damage check(QByteArrayView bytes);
    // Reads a base file; the base is filled only when the access is Done. A clean base without
    // a backup beside it gets its first one.
    using Files = UserBaseFiles;

    static Access read(const QString &path, UserBase &base, const Files &files = {});
    // A base read cleanly, or nothing when it is missing, unreadable or damaged.
    static std::optional<UserBase> load(const QString &path);
    // How long a change waits for a lock another program holds: a frame or two on the window
    // thread and 3 s elsewhere, or 3 s wherever it runs for a change whose loss nobody could
    // undo.
    enum class LockWait { ForThisThread, Full };
    // Reads the base under its lock file, lets `change` alter it and writes it back, keeping
    // the base as it was in the backup files beside it. `change` returns false to leave the
    // base as it is (Declined). A missing, unreadable or damaged base is never written.
    static Access update(const QString &path, const std::function<bool(UserBase &)> &change,
                         const Files &files = {}, LockWait wait = LockWait::ForThisThread);
    // A message for the user about what went wrong with the base file, naming it. A damaged
    // base is to be restored from its backups; where it is known that there is none, the
    // message says so instead.
    static QString messageFor(Access access, const QString &path);
    static QString damagedWithoutBackupText(const QString &path);
    // The backup beside a base ("2_17.jpg" -> "2_17.bak") and its lock file ("2_17.lock").
    static QString backupFile(const QString &path);
    static QString lockFile(const QString &path);
    // The generations before the backup, newest first ("2_17.bak2", "2_17.bak3"), and the base
    // as it was before the last change that deleted users ("2_17.before-delete.bak").
    static QStringList olderBackups(const QString &path);
    static QString beforeDeletionBackup(const QString &path);

    QByteArray toBytes() const;
    QStringList toLines() const;
    bool save(const QString &path) const;

    // The 24 pairs of one record, as written to the base and to the new-user copy.
    static QStringList recordLines(const UserRecord &record);

    // Records 0..N-2 can match; the first match in file order wins.
    Lookup find(const QString &first, const QString &second, const QString &password) const;
    // Stores the new user in the slot and adds a new empty record at the end.
    qsizetype registerUser(const QString &first, const QString &second, const QString &password,
                           qsizetype freeSlot);
    // The first record with these names, password not compared.
    qsizetype indexOf(const QString &first, const QString &second) const;
    // The listed records (not the last) whose names differ from these only in letter case or
    // blanks, each person once; exact matches are not included.
    QList<qsizetype> similarUsers(const QString &first, const QString &second) const;

    // Gives every record with the old names the new names and password.
    void renameUser(const QString &oldFirst, const QString &oldSecond, const QString &first,
                    const QString &second, const QString &password);
    // Removes every record with these names.
    void removeUser(const QString &first, const QString &second);
    // Keeps the administrator (with password, bookmark and results) and one empty record.
    void clearAllButAdministrator();

private:
    void ensureTrailingEmptyRecord();
};

// The characters of a name or password the base cannot or must not hold (without a Windows-1251
// form, line breaks, tabs and other control characters, invisible ones such as a soft hyphen),
// each named for a message; empty when none.
QStringList unstorableCharacters(const QString &text);
// "Эти знаки нельзя сохранить в списке пользователей: ..." for the characters, or empty.
QString unstorableText(const QStringList &fields);
// Names compared without regard to letter case and to leading, trailing or doubled blanks.
QString nameKey(const QString &name);
// Typed names that find or look like the administrator's: letter case, blanks, invisible
// characters and Cyrillic letters drawn like Latin ones aside.
bool isAdministratorName(const QString &first, const QString &second);

// Fills the session's user fields from a record: results as digits without blanks.
void fillSessionUser(SessionState &session, const UserRecord &record);

// Looks up the session's user in the base file by names, stores the session's bookmark and
// results there and rewrites the base. A user no longer in the base leaves it untouched.
// renewCurrentUser stores a grade, which the pupil cannot give again: it waits the full time
// for the lock, and so runs on a worker thread (storeTestResult).
bool renewCurrentUser(const SessionState &session, const QString &baseFile);
UserBase::Access renewUser(const SessionState &session, const QString &baseFile,
                           UserBase::LockWait wait = UserBase::LockWait::ForThisThread);
// Empties result slot `slot` (0..19) of every user of the base and of the session's user, so
// that a test given a freed catalogue slot does not show the grades of the test that had it.
// Declined when no user of the base held a grade there.
UserBase::Access clearResultSlot(SessionState &session, const QString &baseFile, int slot);
