#include "users/userbase.h"

#include "core/folderclock.h"
#include "core/textfile.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>

namespace {
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
