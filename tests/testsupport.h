#pragma once

#include "core/textfile.h"
#include "users/userbase.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryDir>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

// A program folder of its own for one test: an empty data folder, or a copy of the demo data.
class TestProgramFolder
{
public:
    enum class Content { Empty, DemoData };

    explicit TestProgramFolder(Content content = Content::Empty)
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("data/jpg"));
        if (content == Content::DemoData)
            copyTree(QStringLiteral(TARVEL_DEMO_DATA), m_dir.path() + QStringLiteral("/data"));
    }

    QString path() const { return m_dir.path(); }
    QString data(const QString &relative) const
    {
        return m_dir.path() + QStringLiteral("/data/") + relative;
    }
    QString jpg(const QString &name) const { return data(QStringLiteral("jpg/") + name); }

    static void copyTree(const QString &from, const QString &to)
    {
        QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString source = it.next();
            const QString target = to + source.mid(from.size());
            QDir().mkpath(QFileInfo(target).absolutePath());
            QFile::remove(target);
            QFile::copy(source, target);
        }
    }

private:
    QTemporaryDir m_dir;
};

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QStringList readLinesOrEmpty(const QString &path)
{
    return textfile::readLines(path).value_or(QStringList());
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

inline bool setModified(const QString &path, const QDateTime &time)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(time, QFileDevice::FileModificationTime);
}

// A small file system of a test's own, to fill up or make read-only. Mounting needs Linux and
// the right to mount (CI runs as root); isMounted() tells the test whether to skip.
class SmallDisk
{
public:
    explicit SmallDisk([[maybe_unused]] int kilobytes = 64)
    {
#ifdef Q_OS_LINUX
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
        m_mounted = m_dir.isValid() && ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(),
                                               "tmpfs", 0, options.constData()) == 0;
#endif
    }
    ~SmallDisk()
    {
#ifdef Q_OS_LINUX
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
#endif
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool isMounted() const
    {
        return m_mounted;
    }
    QString file(const QString &name) const
    {
        return m_dir.filePath(name);
    }

    // Fills the disk until no more than `leave` bytes are free.
    void fill(qint64 leave = 0)
    {
        QFile filler(file(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray block(leave > 0 ? 1024 : 4096, 'x');
        QStorageInfo disk(m_dir.path());
        while (filler.write(block) == block.size()) {
            disk.refresh();
            if (leave > 0 && disk.bytesAvailable() <= leave)
                break;
        }
    }
    bool makeReadOnly()
    {
#ifdef Q_OS_LINUX
        return ::mount(nullptr, QFile::encodeName(m_dir.path()).constData(), nullptr,
                       MS_REMOUNT | MS_RDONLY, nullptr) == 0;
#else
        return false;
#endif
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

// A user base record with names, password and, where given, a bookmark.
inline UserRecord user(const QString &first, const QString &second, const QString &password,
                       const QString &bookmark = QString())
{
    UserRecord record;
    record.firstName = first;
    record.surname = second;
    record.password = password;
    record.bookmark = bookmark;
    return record;
}

// A user base of exactly these records; a sound base ends with an empty one.
inline UserBase baseOf(QList<UserRecord> records)
{
    UserBase base;
    base.records = std::move(records);
    return base;
}
