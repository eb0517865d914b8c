#pragma once

#include "users/userbase.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The one way the teacher's program reads and writes files in a pupil's shared program folder.
// Everything there is written by another computer and may be anything: only regular files are
// read or replaced, no symbolic link below the program folder is followed, and no more than a
// stated size is ever read. Calls block while the share answers: run them off the
// user-interface thread.
namespace pupilfiles {

// The pupil's state files: curr_test.ini and temp1.ini.
constexpr qint64 StateFileLimit = 64 * 1024;
// The pupil's user base: some 300 bytes a user, room for several thousand users.
constexpr qint64 UserBaseLimit = 2 * 1024 * 1024;
// More records than a class ever has: such a base is damage, whatever its size.
constexpr qsizetype MaxUsers = 5000;

enum class Status {
    Done,
    Missing, // the file (or a folder on the way) does not exist
    Damaged, // a link, a folder, a device or pipe, or a file bigger than the limit
    Failed   // it exists but the share refused to read or write it
};

struct Contents
{
    Status status = Status::Missing;
    QByteArray bytes;
};

// The path of `relative` ("data/jpg/2_17.jpg") below the program folder, letters in any case.
QString pathOf(const QString &programFolder, const QString &relative);

// Reads the file when it is a regular file of at most `limit` bytes.
Contents read(const QString &programFolder, const QString &relative, qint64 limit);

// Replaces the file (or creates it in an existing folder) when nothing on the way is a link
// and the file is not something other than a regular file.
Status write(const QString &programFolder, const QString &relative, const QByteArray &bytes);

// The user base of a pupil's program folder, read and changed as this computer's own (never
// from a damaged base, under its lock file, keeping the backup), through the checks above and
// refused whole when it holds more than MaxUsers records (counted before any is built).
UserBase::Access readUserBase(const QString &programFolder, UserBase &base);
// The user base file of a pupil's program folder.
QString userBasePath(const QString &programFolder);
UserBase::Access updateUserBase(const QString &programFolder,
                                const std::function<bool(UserBase &)> &change);

} // namespace pupilfiles
