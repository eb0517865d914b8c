#include "network/pupilfiles.h"

#include "core/datafiles.h"
#include "core/textfile.h"

#include <QDir>
#include <QFileInfo>

namespace pupilfiles {

namespace {
QString trimmedFolder(const QString &folder)
{
    QString trimmed = QDir::fromNativeSeparators(folder);
    while (trimmed.size() > 1 && trimmed.endsWith(u'/'))
        trimmed.chop(1);
    return trimmed;
}

enum class Use { Read, Write };

// Walks from the program folder to the file: every step on the way must be a real folder and
// the file a regular one; a file to be written may not exist yet.
Status checkWay(const QString &folder, const QString &path, Use use)
{
    const QStringList parts = path.mid(folder.size() + 1).split(u'/', Qt::SkipEmptyParts);
    QString current = folder;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        current += u'/' + parts.at(i);
        const QFileInfo info(current);
        const bool last = i + 1 == parts.size();
        if (info.isSymbolicLink() || info.isJunction())
            return Status::Damaged;
        if (!info.exists())
            return last && use == Use::Write ? Status::Done : Status::Missing;
        if (last ? !info.isFile() : !info.isDir())
            return Status::Damaged;
    }
    return parts.isEmpty() ? Status::Damaged : Status::Done;
}

Contents readFile(const QString &path, qint64 limit)
{
    textfile::FileRead file = textfile::readBounded(path, limit, textfile::Links::Refuse);
    switch (file.status) {
    case textfile::FileRead::Status::Read:
        return {Status::Done, std::move(file.bytes)};
    case textfile::FileRead::Status::Missing:
        return {Status::Missing, {}};
    case textfile::FileRead::Status::Unreadable:
        break;
    }
    return {file.refusal == textfile::FileRead::Refusal::Failed ? Status::Failed : Status::Damaged,
            {}};
}
} // namespace

QString pathOf(const QString &programFolder, const QString &relative)
{
    return resolvePath(trimmedFolder(programFolder), relative);
}

Contents read(const QString &programFolder, const QString &relative, qint64 limit)
{
    const QString folder = trimmedFolder(programFolder);
    const QString path = resolvePath(folder, relative);
    const Status way = checkWay(folder, path, Use::Read);
    if (way != Status::Done)
        return {way, {}};
    return readFile(path, limit);
}

Status write(const QString &programFolder, const QString &relative, const QByteArray &bytes)
{
    const QString folder = trimmedFolder(programFolder);
    const QString path = resolvePath(folder, relative);
    const Status way = checkWay(folder, path, Use::Write);
    if (way != Status::Done)
        return way;
    return textfile::replaceFile(path, bytes) ? Status::Done : Status::Failed;
}

namespace {
const QString userBaseInFolder = QStringLiteral("data/jpg/") + datafiles::UserBaseFile;
}

namespace {
textfile::FileRead readBase(const QString &programFolder, const QString &path)
{
    const Contents contents =
        read(programFolder, QDir(programFolder).relativeFilePath(path), UserBaseLimit);
    textfile::FileRead file;
    switch (contents.status) {
    case Status::Done:
        break;
    case Status::Missing:
        return file;
    case Status::Damaged:
    case Status::Failed:
        file.status = textfile::FileRead::Status::Unreadable;
        return file;
    }
    qsizetype records = 0;
    textfile::forEachLine(contents.bytes,
                          [&records](QByteArrayView line) { records += line == "first" ? 1 : 0; });
    file.status = records > MaxUsers ? textfile::FileRead::Status::Unreadable
                                     : textfile::FileRead::Status::Read;
    if (file.isRead())
        file.bytes = contents.bytes;
    return file;
}

// Renames a file of the folder within it, both names checked as for a write.
bool renameIn(const QString &programFolder, const QString &from, const QString &to)
{
    const QString folder = trimmedFolder(programFolder);
    const QString source = resolvePath(folder, QDir(programFolder).relativeFilePath(from));
    const QString target = resolvePath(folder, QDir(programFolder).relativeFilePath(to));
    return checkWay(folder, source, Use::Read) == Status::Done &&
           checkWay(folder, target, Use::Write) == Status::Done &&
           textfile::renameOver(source, target);
}

UserBase::Files filesIn(const QString &programFolder)
{
    UserBase::Files files;
    files.rename = [programFolder](const QString &from, const QString &to) {
        return renameIn(programFolder, from, to);
    };
    files.read = [programFolder](const QString &path) { return readBase(programFolder, path); };
    files.write = [programFolder](const QString &path, const QByteArray &bytes) {
        return write(programFolder, QDir(programFolder).relativeFilePath(path), bytes) ==
               Status::Done;
    };
    return files;
}
} // namespace

QString userBasePath(const QString &programFolder)
{
    return pathOf(programFolder, userBaseInFolder);
}

UserBase::Access readUserBase(const QString &programFolder, UserBase &base)
{
    return UserBase::read(pathOf(programFolder, userBaseInFolder), base, filesIn(programFolder));
}

UserBase::Access updateUserBase(const QString &programFolder,
                                const std::function<bool(UserBase &)> &change)
{
    return UserBase::update(pathOf(programFolder, userBaseInFolder), change,
                            filesIn(programFolder));
}

} // namespace pupilfiles
