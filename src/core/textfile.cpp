#include "core/textfile.h"

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

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace textfile {

namespace {

// Windows-1251, bytes 0x80 to 0xFF; the lower half is ASCII. 0x98 has no character in the
// code page and stands for the control character of the same number, so every byte survives
// a read and a write.
constexpr std::array<char16_t, 128> upperHalf1251{
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // 0xB8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, // 0xC0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, // 0xC8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, // 0xD0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, // 0xD8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, // 0xE0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, // 0xE8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, // 0xF0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, // 0xF8
};

// Both directions of the code page as lookup tables, so that reading and writing the large
// files (user base, session files) stays fast.
struct CodePage
{
    std::array<char16_t, 256> toUnicode{};
    std::vector<qint16> fromUnicode = std::vector<qint16>(65536, -1); // -1: no form

    CodePage()
    {
        for (int i = 0; i < 256; ++i) {
            const char16_t unit = i < 128 ? char16_t(i) : upperHalf1251[i - 128];
            toUnicode[i] = unit;
            fromUnicode[unit] = qint16(i);
        }
    }
};

const CodePage &codePage()
{
    static const CodePage page;
    return page;
}

} // namespace

QString decode1251(QByteArrayView bytes)
{
    const CodePage &page = codePage();
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(page.toUnicode[uchar(bytes.at(i))]);
    return text;
}

namespace {
enum class LineBreaks { Keep, AsBlanks };

// Writes the text's bytes at out and returns the position after them.
char *encodeInto(char *out, QStringView text, LineBreaks breaks = LineBreaks::Keep)
{
    const CodePage &page = codePage();
    const char16_t *units = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = units[i];
        if (QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(units[i + 1]))
            ++i; // one character without a form, one question mark
        if (breaks == LineBreaks::AsBlanks && (unit == u'\r' || unit == u'\n')) {
            if (unit == u'\r' && i + 1 < size && units[i + 1] == u'\n')
                ++i;
            *out++ = ' ';
            continue;
        }
        const qint16 byte = page.fromUnicode[unit];
        *out++ = byte < 0 ? '?' : char(byte);
    }
    return out;
}
} // namespace

QByteArray encode1251(const QString &text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    bytes.truncate(encodeInto(bytes.data(), text) - bytes.constData());
    return bytes;
}

QString charactersWithout1251Form(QStringView text)
{
    const CodePage &page = codePage();
    QString missing;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const bool pair = QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
                          QChar::isLowSurrogate(text[i + 1].unicode());
        const QStringView character = text.sliced(i, pair ? 2 : 1);
        if (pair)
            ++i;
        if ((pair || page.fromUnicode[unit] < 0) && !missing.contains(character))
            missing += character;
    }
    return missing;
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

void appendLine(QByteArray &bytes, QStringView line)
{
    const qsizetype at = bytes.size();
    bytes.resize(at + line.size() + 2);
    char *out = encodeInto(bytes.data() + at, line, LineBreaks::AsBlanks);
    *out++ = '\r';
    *out++ = '\n';
    bytes.truncate(out - bytes.constData());
}

QByteArray joinLines(const QStringList &lines)
{
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 2;
    QByteArray bytes(size, Qt::Uninitialized);
    char *out = bytes.data();
    for (const QString &line : lines) {
        out = encodeInto(out, line);
        *out++ = '\r';
        *out++ = '\n';
    }
    bytes.truncate(out - bytes.constData());
    return bytes;
}

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

std::optional<QStringList> readLines(const QString &path)
{
    const FileRead read = readFile(path);
    if (!read.isRead())
        return std::nullopt;
    return splitLines(decode1251(read.bytes));
}

bool writeLines(const QString &path, const QStringList &lines)
{
    return replaceFile(path, joinLines(lines));
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

QString printNumber(qint64 value)
{
    // Results and counts are small numbers: their texts are made once and shared.
    static const std::array<QString, 256> small = [] {
        std::array<QString, 256> texts;
        for (int i = 0; i < 256; ++i)
            texts[i] = QLatin1Char(' ') + QString::number(i) + QLatin1Char(' ');
        return texts;
    }();
    if (value >= 0 && value < 256)
        return small[value];
    return (value < 0 ? QStringLiteral("-") : QStringLiteral(" ")) +
           QString::number(value < 0 ? -value : value) + QLatin1Char(' ');
}

namespace {
template <class View> double leadingNumberOf(View text)
{
    const auto unit = [&text](qsizetype k) -> char16_t {
        if constexpr (std::is_same_v<View, QStringView>)
            return text[k].unicode();
        else
            return uchar(text[k]);
    };
    qsizetype i = 0;
    const qsizetype size = text.size();
    const auto blank = [&](qsizetype k) {
        return k < size && (unit(k) == u' ' || unit(k) == u'\t');
    };
    const auto digit = [&](qsizetype k) { return k < size && unit(k) >= u'0' && unit(k) <= u'9'; };
    while (blank(i))
        ++i;
    QVarLengthArray<char, 64> number;
    if (i < size && (unit(i) == u'-' || unit(i) == u'+'))
        number.append(char(unit(i++)));
    while (digit(i))
        number.append(char(unit(i++)));
    if (i < size && unit(i) == u'.') {
        number.append('.');
        ++i;
        while (digit(i))
            number.append(char(unit(i++)));
    }
    if (i < size && (unit(i) == u'e' || unit(i) == u'E')) {
        qsizetype k = i + 1;
        QVarLengthArray<char, 16> exponent{'e'};
        if (k < size && (unit(k) == u'-' || unit(k) == u'+'))
            exponent.append(char(unit(k++)));
        if (digit(k)) {
            while (digit(k))
                exponent.append(char(unit(k++)));
            number.append(exponent.constData(), exponent.size());
        }
    }
    // Whole numbers, the usual case, need no floating-point parsing.
    const qsizetype signs = !number.isEmpty() && (number[0] == '-' || number[0] == '+');
    if (number.size() > signs && number.size() - signs <= 15 &&
        std::all_of(number.begin() + signs, number.end(),
                    [](char c) { return c >= '0' && c <= '9'; })) {
        qint64 whole = 0;
        for (qsizetype k = signs; k < number.size(); ++k)
            whole = whole * 10 + (number[k] - '0');
        return number[0] == '-' ? -double(whole) : double(whole);
    }
    bool ok = false;
    const double value = QByteArrayView(number.constData(), number.size()).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}
} // namespace

double leadingNumber(QStringView text)
{
    return leadingNumberOf(text);
}

double leadingNumber(QByteArrayView text)
{
    return leadingNumberOf(text);
}

int leadingInt(QStringView text)
{
    const double value = std::trunc(leadingNumber(text));
    if (value >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(value);
}

qint16 leadingInt16(QStringView text)
{
    const double value = std::nearbyint(leadingNumber(text)); // round half to even
    return qint16(qBound(-32768.0, value, 32767.0));
}

QString oneLine(const QString &value)
{
    if (!value.contains(u'\r') && !value.contains(u'\n'))
        return value;
    QString line = value;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    return line;
}

QList<KeyValue> readPairs(const QStringList &lines, qsizetype from)
{
    QList<KeyValue> pairs;
    for (qsizetype i = qMax<qsizetype>(from, 0); i < lines.size(); i += 2) {
        if (i + 1 < lines.size())
            pairs.append({lines.at(i), lines.at(i + 1), true});
        else
            pairs.append({lines.at(i), QString(), false});
    }
    return pairs;
}

qsizetype indexAfterStart(const QStringList &lines, bool trimmed)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if ((trimmed ? lines.at(i).trimmed() : lines.at(i)) == QLatin1String("start"))
            return i + 1;
    }
    return -1;
}

bool isClearMarker(const QStringList &lines)
{
    return !lines.isEmpty() && lines.first().trimmed() == QLatin1String("clear");
}

} // namespace textfile
