#include "core/sessionstate.h"

#include "core/datafiles.h"

#include <QDir>

QString SessionState::dataPath(const QString &relative) const
{
    return resolvePath(programFolder, QStringLiteral("data/") + relative);
}

QString SessionState::jpgPath(const QString &name) const
{
    return dataPath(QStringLiteral("jpg/") + name);
}

QString SessionState::skinPath(const QString &relative) const
{
    return resolvePath(skinFolder, relative);
}

void SessionState::setProgramFolder(const QString &folder)
{
    programFolder = QDir::fromNativeSeparators(folder);
    while (programFolder.size() > 1 && programFolder.endsWith(u'/'))
        programFolder.chop(1);
    skinFolder = programFolder + QStringLiteral("/data/jpg/skin/");
}
