#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
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
    bool isAdministrator() const
    {
        return hasNames(QStringLiteral("vedok"), QStringLiteral("vedok"));
    }
    // A result slot as the number it holds, 0 when empty.
    int resultNumber(int index) const;

    bool operator==(const UserRecord &) const = default;
};

// The user base: "predel" with the record count, then 24 key/value pairs per record, always
// ending with an empty record that serves as the slot for the next new user.
// This is the one reader and writer of the format; every window that touches a base uses it.
class UserBase
{
public:
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
    static std::optional<UserBase> load(const QString &path);
    // The record count of the first "predel" pair, as the login window sizes itself by it.
    static std::optional<int> readCount(const QString &path);

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

// Fills the session's user fields from a record: results as digits without blanks.
void fillSessionUser(SessionState &session, const UserRecord &record);

// Looks up the session's user in the base file by names, stores the session's bookmark and
// results there and rewrites the base. A user no longer in the base leaves it untouched.
bool RenewCurrentUser(const SessionState &session, const QString &baseFile);

// Registers a user in the base loaded from baseFile and writes the base and the new-user copy.
bool RegisterUser(SessionState &session, UserBase &base, const QString &baseFile,
                  const QString &newUserFile, const QString &first, const QString &second,
                  const QString &password, qsizetype freeSlot);
