#include "core/wholefile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <limits>
#include <type_traits>
#include <vector>

#include "core/windowsapi.h"

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace textfile {

QString FileRead::problem() const
{
    if (status == Status::Missing)
        return QStringLiteral("файл не найден");
    switch (refusal) {
    case Refusal::NotAFile:
        return QStringLiteral("это не обычный файл (папка, устройство, канал или ссылка)");
    case Refusal::TooLarge:
        return QStringLiteral("файл слишком велик");
    case Refusal::None:
    case Refusal::Failed:
        break;
    }
    return QStringLiteral("файл нельзя прочитать");
}

namespace {
FileRead refused(FileRead::Refusal refusal)
{
    FileRead read;
    read.status = FileRead::Status::Unreadable;
    read.refusal = refusal;
    return read;
}

// Reads from an open file until its end or one byte past the limit; the buffer grows from the
// size the file claims, which a file of the system may not tell.
template <class ReadSome> FileRead readUpTo(qint64 limit, qint64 claimedSize, ReadSome readSome)
{
    QByteArray bytes(qsizetype(std::min(claimedSize, limit) + 1), Qt::Uninitialized);
    qsizetype total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > limit)
                return refused(FileRead::Refusal::TooLarge); // it grew while it was read
            bytes.resize(qsizetype(std::min<qint64>(qint64(total) * 2, limit + 1)));
        }
        const qint64 got = readSome(bytes.data() + total, bytes.size() - total);
        if (got < 0)
            return refused(FileRead::Refusal::Failed);
        if (got == 0)
            break;
        total += qsizetype(got);
    }
    if (total > limit)
        return refused(FileRead::Refusal::TooLarge);
    bytes.truncate(total);
    FileRead read;
    read.status = FileRead::Status::Read;
    read.bytes = std::move(bytes);
    return read;
}
} // namespace

#ifdef Q_OS_UNIX
FileRead readBounded(const QString &path, qint64 limit, Links links)
{
    // Opening never waits for the writer of a pipe and, when asked, never follows a link
    // that appeared after a caller checked the way.
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (links == Links::Refuse ? O_NOFOLLOW : 0);
    const int fd = ::open(QFile::encodeName(path).constData(), flags);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return {};
        return refused(errno == ELOOP ? FileRead::Refusal::NotAFile : FileRead::Refusal::Failed);
    }
    struct stat info;
    FileRead read;
    if (::fstat(fd, &info) != 0)
        read = refused(FileRead::Refusal::Failed);
    else if (!S_ISREG(info.st_mode))
        read = refused(FileRead::Refusal::NotAFile);
    else if (info.st_size > limit)
        read = refused(FileRead::Refusal::TooLarge);
    else
        read = readUpTo(limit, info.st_size, [fd](char *into, qsizetype room) -> qint64 {
            for (;;) {
                const ssize_t got = ::read(fd, into, size_t(room));
                if (got >= 0 || errno != EINTR)
                    return got;
            }
        });
    ::close(fd);
    return read;
}
#else
namespace {
const wchar_t *wide(const QString &nativePath)
{
    return reinterpret_cast<const wchar_t *>(nativePath.utf16());
}

// A reader takes no lock a writer would meet: the pupil's program may write, replace or
// delete the file while the teacher's program reads it.
constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool isLink(const FILE_ATTRIBUTE_TAG_INFO &tag)
{
    return (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           (tag.ReparseTag == IO_REPARSE_TAG_SYMLINK ||
            tag.ReparseTag == IO_REPARSE_TAG_MOUNT_POINT);
}

FileRead readOpened(HANDLE handle, qint64 limit)
{
    FILE_ATTRIBUTE_TAG_INFO tag{};
    LARGE_INTEGER size{};
    if (GetFileType(handle) != FILE_TYPE_DISK)
        return refused(FileRead::Refusal::NotAFile);
    if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag) ||
        !GetFileSizeEx(handle, &size))
        return refused(FileRead::Refusal::Failed);
    if ((tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) || isLink(tag))
        return refused(FileRead::Refusal::NotAFile);
    if (size.QuadPart > limit)
        return refused(FileRead::Refusal::TooLarge);
    return readUpTo(limit, size.QuadPart, [handle](char *into, qsizetype room) -> qint64 {
        DWORD got = 0;
        const DWORD asked = DWORD(std::min<qsizetype>(room, 1 << 30));
        return ReadFile(handle, into, asked, &got, nullptr) ? qint64(got) : -1;
    });
}
} // namespace

FileRead readBounded(const QString &path, qint64 limit, Links links)
{
    // Folders open too, to be told apart from files that cannot be read; a link is opened
    // itself, not followed, when links are refused.
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (links == Links::Refuse ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    const HANDLE handle = CreateFileW(wide(QDir::toNativeSeparators(path)), GENERIC_READ, ShareAll,
                                      nullptr, OPEN_EXISTING, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return {};
        return refused(FileRead::Refusal::Failed);
    }
    FileRead read = readOpened(handle, limit);
    CloseHandle(handle);
    return read;
}
#endif

FileRead readFile(const QString &path)
{
    return readBounded(path, DataFileLimit);
}

namespace {

#ifdef Q_OS_WIN
// FileRenameInfoEx, which MinGW's headers declare only under a version test they never pass.
constexpr auto RenameInfoEx = FILE_INFO_BY_HANDLE_CLASS(22);

// The rename of Windows 10 and later that replaces a file readers hold open, as POSIX systems
// do, where the readers share deletion. Leaves the system's error where it fails.
bool renameOverReaders(const QString &from, const QString &to)
{
    const HANDLE source =
        CreateFileW(wide(QDir::toNativeSeparators(from)), DELETE | GENERIC_WRITE | SYNCHRONIZE,
                    ShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (source == INVALID_HANDLE_VALUE)
        return false;
    const QString target = QDir::toNativeSeparators(to);
    const DWORD nameBytes = DWORD(target.size() * sizeof(wchar_t));
    // Zeroed, so the name ends with the terminating null the structure's size already holds.
    std::vector<std::byte> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto *info = reinterpret_cast<FILE_RENAME_INFO *>(buffer.data());
    info->Flags = FILE_RENAME_FLAG_REPLACE_IF_EXISTS | FILE_RENAME_FLAG_POSIX_SEMANTICS;
    info->FileNameLength = nameBytes;
    std::memcpy(info->FileName, target.utf16(), nameBytes);
    const bool renamed =
        SetFileInformationByHandle(source, RenameInfoEx, info, DWORD(buffer.size()));
    const DWORD error = GetLastError();
    if (renamed)
        FlushFileBuffers(source); // the new name, as the write-through rename below
    CloseHandle(source);
    SetLastError(error);
    return renamed;
}

// Systems before Windows 10 and file systems other than NTFS (FAT, many network shares) have
// no rename over open files.
bool renameOverReadersUnsupported(DWORD error)
{
    return error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED ||
           error == ERROR_INVALID_FUNCTION;
}
#endif

RenameOutcome systemRename(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    if (renameOverReaders(from, to))
        return RenameOutcome::Done;
    DWORD error = GetLastError();
    if (renameOverReadersUnsupported(error)) {
        if (MoveFileExW(wide(QDir::toNativeSeparators(from)), wide(QDir::toNativeSeparators(to)),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return RenameOutcome::Done;
        error = GetLastError();
    }
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                   error == ERROR_ACCESS_DENIED
               ? RenameOutcome::Busy
               : RenameOutcome::Refused;
#else
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return RenameOutcome::Done;
    return errno == EBUSY || errno == ETXTBSY ? RenameOutcome::Busy : RenameOutcome::Refused;
#endif
}

RenameStep &renameStep()
{
    static RenameStep step;
    return step;
}

// A written file is on the disk, not only in the system's cache, once this returns true.
bool syncToDisk(QFile &file)
{
#ifdef Q_OS_WIN
    const HANDLE handle =
        CreateFileW(wide(QDir::toNativeSeparators(file.fileName())), GENERIC_WRITE, ShareAll,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool flushed = FlushFileBuffers(handle);
    CloseHandle(handle);
    return flushed;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

// The new name of a file in a folder lasts through a power cut once the folder is synced;
// Windows does this as part of the write-through rename.
void syncFolder([[maybe_unused]] const QString &folder)
{
#ifndef Q_OS_WIN
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    // Some network file systems refuse to sync a folder; the rename is done all the same.
    ::fsync(fd);
    ::close(fd);
#endif
}

// The replaced file's permission bits go to the new file, so that the other accounts of a
// shared folder keep their access. A file system without them leaves the defaults.
void keepPermissions([[maybe_unused]] QFile &temporary, [[maybe_unused]] const QString &target)
{
#ifndef Q_OS_WIN
    struct stat status;
    if (::stat(QFile::encodeName(target).constData(), &status) == 0)
        ::fchmod(temporary.handle(), status.st_mode & 07777);
#endif
}

const QString TemporarySuffix = QStringLiteral(".tmp");

// A new file beside the target, named "<target>.<random>.tmp"; created as any new file, so
// the system gives it the usual permissions. The name comes from the system's generator, which
// a forked process does not share with its parent.
bool createTemporary(QFile &file, const QString &target)
{
    for (int attempt = 0; attempt < 4; ++attempt) {
        file.setFileName(target + u'.' +
                         QString::number(QRandomGenerator::system()->generate64(), 36) +
                         TemporarySuffix);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return true;
        // Only a name taken by another writer is worth a second try.
        if (!file.exists())
            return false;
    }
    return false;
}

bool writeCompletely(QFile &file, const QByteArray &bytes)
{
    return file.write(bytes) == bytes.size() && file.flush() && file.size() == bytes.size() &&
           syncToDisk(file);
}

bool renameWithRetry(const QString &from, const QString &to)
{
    const RenameStep &injected = renameStep();
    const int patience = onWindowThread() ? WindowThreadPatienceMs : 500;
    int delay = 10;
    for (int waited = 0;; waited += delay, delay *= 2) {
        const RenameOutcome outcome = injected ? injected(from, to) : systemRename(from, to);
        if (outcome == RenameOutcome::Done)
            return true;
        if (outcome == RenameOutcome::Refused || waited >= patience)
            return false;
        QThread::msleep(delay);
    }
}

// A writer killed in the middle leaves its temporary file; the next successful write of the
// same file removes those that no writer can still be working on. Ages are measured on the
// clock of the folder's computer, read from the file just written there: a share's server may
// be minutes off this computer's clock, and a pupil's program may be writing a temporary now.
void removeStaleTemporaries(const QString &target)
{
    const QFileInfo info(target);
    const QDateTime written = info.lastModified();
    if (!written.isValid())
        return;
    const QDateTime stale = written.addSecs(-10 * 60);
    const QFileInfoList leftovers = info.dir().entryInfoList(
        {info.fileName() + QStringLiteral(".*") + TemporarySuffix}, QDir::Files | QDir::Hidden);
    for (const QFileInfo &leftover : leftovers) {
        if (leftover.lastModified() < stale)
            QFile::remove(leftover.filePath());
    }
}

} // namespace

bool renameOver(const QString &from, const QString &to)
{
    return systemRename(from, to) == RenameOutcome::Done;
}

bool onWindowThread()
{
    const QCoreApplication *application = QCoreApplication::instance();
    return application && application->inherits("QGuiApplication") &&
           QThread::currentThread() == application->thread();
}

void setRenameStep(RenameStep step)
{
    renameStep() = std::move(step);
}

bool replaceFile(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    // A read-only file stays as it is; a folder or a pipe in its place is never replaced.
    if (target.exists() && (!target.isFile() || !target.isWritable()))
        return false;
    QFile temporary;
    if (!createTemporary(temporary, path))
        return false;
    keepPermissions(temporary, path);
    const bool written = writeCompletely(temporary, bytes);
    temporary.close();
    if (!written || temporary.error() != QFileDevice::NoError ||
        !renameWithRetry(temporary.fileName(), path)) {
        temporary.remove();
        return false;
    }
    syncFolder(target.absolutePath());
    removeStaleTemporaries(path);
    return true;
}

} // namespace textfile
