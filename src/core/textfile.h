#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Shared routines for the program's text files: Windows-1251 text, CR LF line ends,
// key line / value line pairs, print-style numbers and whole-file replacement.
namespace textfile {

QString decode1251(QByteArrayView bytes);
// A character without a Windows-1251 form is written as "?".
QByteArray encode1251(const QString &text);
// The characters of the text that Windows-1251 cannot hold, each once, in order of appearance.
QString charactersWithout1251Form(QStringView text);

// Splits text into lines; CR LF, LF and a lone CR end a line, the last line may lack an end.
QStringList splitLines(const QString &text);
// Every line followed by CR LF, encoded in Windows-1251.
QByteArray joinLines(const QStringList &lines);

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

// The lines of a Windows-1251 file, or nothing when it is missing or unreadable.
std::optional<QStringList> readLines(const QString &path);
// Replaces the whole file with the lines (Windows-1251, CR LF); see replaceFile.
bool writeLines(const QString &path, const QStringList &lines);

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

// A number as the text-file print statement writes it: " 12 ", "-3 ".
QString printNumber(qint64 value);
// The leading number of a text: blanks skipped, stops at the first character that cannot
// continue a number; 0 when there is none (" 12abc" gives 12, "7.9" gives 7.9).
double leadingNumber(QStringView text);
// The leading number cut to its whole part ("7.9" gives 7), clamped to the int range.
int leadingInt(QStringView text);
// The same for the bytes of a Windows-1251 text (digits, signs and points are the same bytes).
double leadingNumber(QByteArrayView text);
// The leading number rounded to a 16-bit integer as the print-era conversion does
// (halves to even), clamped to the 16-bit range.
qint16 leadingInt16(QStringView text);

// A value made safe for one value line: line breaks become blanks.
QString oneLine(const QString &value);

// Calls line(view) for every line of the bytes; line ends as in splitLines.
template <class Function> void forEachLine(QByteArrayView bytes, Function line)
{
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        line(bytes.sliced(start, i - start));
        if (c == '\r' && i + 1 < size && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        line(bytes.sliced(start));
}

// Appends the text's Windows-1251 bytes and CR LF; line breaks inside become blanks, as oneLine.
void appendLine(QByteArray &bytes, QStringView line);

struct KeyValue
{
    QString key;
    QString value;
    bool hasValue = true; // false for a key line at the very end without its value line
};

// Reads key line / value line pairs from lines[from] to the end, lines taken as they stand.
QList<KeyValue> readPairs(const QStringList &lines, qsizetype from = 0);

// Index of the line after the first line equal to "start" (compared trimmed when asked),
// or -1 when there is none.
qsizetype indexAfterStart(const QStringList &lines, bool trimmed = false);

// A state file whose first line is "clear" exists but carries no data.
bool isClearMarker(const QStringList &lines);

} // namespace textfile
