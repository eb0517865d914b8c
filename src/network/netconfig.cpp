#include "network/netconfig.h"

#include "core/textfile.h"
#include "network/classroom.h"

namespace netconfig {

bool isConfigured(const QString &path)
{
    const std::optional<QStringList> lines = textfile::readLines(path);
    return lines && !textfile::isClearMarker(*lines);
}

QStringList toLines(const Classroom &classroom)
{
    QStringList lines{QStringLiteral("number"), textfile::printNumber(classroom.count())};
    for (int i = 1; i <= classroom.count(); ++i)
        lines << textfile::printNumber(i) << textfile::oneLine(classroom.folder(i));
    return lines;
}

void applyLines(Classroom &classroom, const QStringList &lines)
{
    Classroom::Folders folders = classroom.folders();
    for (qsizetype at = 2; at + 1 < lines.size(); at += 2) {
        const int index = textfile::leadingInt(lines.at(at).trimmed());
        if (index >= 1 && index <= Classroom::MaxComputers)
            folders[index - 1] = lines.at(at + 1);
    }
    classroom.assign(textfile::leadingInt(lines.value(1).trimmed()), folders);
}

QString folderOf(const QString &programFile)
{
    const qsizetype slash = qMax(programFile.lastIndexOf(u'/'), programFile.lastIndexOf(u'\\'));
    return programFile.left(slash + 1);
}

} // namespace netconfig

void loadNetConfig(Classroom &classroom, const QString &path)
{
    const std::optional<QStringList> lines = textfile::readLines(path);
    if (!lines || textfile::isClearMarker(*lines))
        return;
    netconfig::applyLines(classroom, *lines);
}

bool saveNetConfig(const Classroom &classroom, const QString &path)
{
    return textfile::writeLines(path, netconfig::toLines(classroom));
}
