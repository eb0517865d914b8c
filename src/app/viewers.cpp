#include "app/viewers.h"

#include "app/sessionstate.h"
#include "app/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace viewers {

namespace {
const QString courseKey = QStringLiteral("[T01]");
const QStringList viewerFiles{QStringLiteral("qvx_view2.exe"), QStringLiteral("htm_view.exe")};
} // namespace

QString defaultFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("c:/Program Files/QvxView");
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/QvxView");
#endif
}

std::optional<QStringList> updatedRegistry(const QStringList &registry, const QString &dataPath)
{
    QStringList result;
    bool found = false;
    for (qsizetype i = 0; i < registry.size(); i += 2) {
        const QString key = registry.at(i);
        const QString value = registry.value(i + 1);
        if (key == courseKey && value == dataPath && !found)
            return std::nullopt;
        if (key == courseKey) {
            if (!found)
                result << courseKey << dataPath;
            found = true;
            continue;
        }
        // A key left without its value line gets an empty one, so the pairs stay aligned.
        result << key << value;
    }
    if (!found)
        result << courseKey << dataPath;
    return result;
}

void install(const QString &folder, const QString &dataFolder)
{
    QDir().mkpath(folder);
    for (const QString &viewer : viewerFiles) {
        const QString target = folder + u'/' + viewer;
        if (!QFile::exists(target))
            QFile::copy(dataFolder + u'/' + viewer, target); // a missing source is skipped
    }
    const QString registryPath = folder + QStringLiteral("/qvx.ini");
    const QString dataPath = QDir::toNativeSeparators(dataFolder);
    const std::optional<QStringList> registry = textfile::readLines(registryPath);
    if (!registry) {
        // A registry that exists but cannot be read holds other courses: leave it alone.
        if (!QFileInfo::exists(registryPath))
            textfile::writeLines(registryPath, {courseKey, dataPath});
        return;
    }
    if (const std::optional<QStringList> updated = updatedRegistry(*registry, dataPath))
        textfile::writeLines(registryPath, *updated);
}

} // namespace viewers

void InstallViewers(const SessionState &session)
{
    viewers::install(viewers::defaultFolder(), session.ProgramFolder + QStringLiteral("/data"));
}
