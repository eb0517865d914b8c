#include "core/sessionstate.h"

#include "core/datafiles.h"

#include <QDir>

QString SessionState::dataPath(const QString &relative) const
{
    return resolvePath(ProgramFolder, QStringLiteral("data/") + relative);
}

QString SessionState::jpgPath(const QString &name) const
{
    return dataPath(QStringLiteral("jpg/") + name);
}

QString SessionState::skinPath(const QString &relative) const
{
    return resolvePath(SkinFolder, relative);
}

void SessionState::setProgramFolder(const QString &programFolder)
{
    ProgramFolder = QDir::fromNativeSeparators(programFolder);
    while (ProgramFolder.size() > 1 && ProgramFolder.endsWith(u'/'))
        ProgramFolder.chop(1);
    SkinFolder = ProgramFolder + QStringLiteral("/data/jpg/skin/");
}
