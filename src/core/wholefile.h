#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Whole files: reads bounded in size and kind, and replacement that a crash never tears.
namespace textfile {

// The largest data file the program reads; the biggest it keeps (the results history, a user
// base of a large school) stay far below it.
constexpr qint64 DataFileLimit = 16 * 1024 * 1024;

// A whole file as read. A file that exists but cannot be read (no permission, an I/O error,
// a folder, a device or a pipe in its place, more bytes than the reader takes) is told apart
// from a missing one, so that a writer that starts from what it read never takes an unreadable
// file for an empty one.
struct FileRead
{
    enum class Status { Read, Missing, Unreadable };
    // Why a file that exists was not read.
    enum class Refusal { None, NotAFile, TooLarge, Failed };
    Status status = Status::Missing;
    Refusal refusal = Refusal::None;
    QByteArray bytes;

    bool isRead() const { return status == Status::Read; }
    // What went wrong, in words for a message that names the file ("файл не найден").
    QString problem() const;
};

enum class Links { Follow, Refuse };
// Reads a regular file of at most `limit` bytes. Devices, pipes and folders are refused at
// once, without waiting for a writer or reading a byte; with Links::Refuse so is a symbolic
// link in the file's own place. The size is taken from the opened file, and a file that grows
// past the limit while it is read is refused too.
FileRead readBounded(const QString &path, qint64 limit, Links links = Links::Follow);
// A data file of the program: readBounded up to DataFileLimit.
FileRead readFile(const QString &path);

// Replaces the file with the bytes so that a crash or a power cut at any moment leaves either
// the old or the new complete file. The bytes go to a new file beside the target, checked to
// the last byte and flushed to the disk, which then takes the target's name; a write that fails
// anywhere (a full disk, an I/O error, a read-only file or folder) leaves the old file as it
// was and no new file behind. The replaced file keeps its permission bits.
bool replaceFile(const QString &path, const QByteArray &bytes);

// Gives the file another name in its folder, replacing a file of that name; false when the
// file is missing or the rename is refused.
bool renameOver(const QString &from, const QString &to);

// The thread that runs the windows of a program with windows: no wait there may last longer
// than a frame or two.
bool onWindowThread();
constexpr int WindowThreadPatienceMs = 30;

// The last step of replaceFile: the written file takes the target's name. Busy means that
// another program holds the target for a moment (a reader on another Windows computer); only
// then is the step tried again, for about half a second, on the window thread for no longer
// than WindowThreadPatienceMs.
enum class RenameOutcome { Done, Busy, Refused };
using RenameStep = std::function<RenameOutcome(const QString &from, const QString &to)>;
// Replaces the step, for tests; an empty step restores the system's rename.
void setRenameStep(RenameStep step);

} // namespace textfile
