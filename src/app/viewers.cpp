#include "app/viewers.h"

#include "core/sessionstate.h"
#include "core/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace viewers {

namespace {
const QString courseKey = QStringLiteral("[T01]");
const QStringList viewerFiles{QStringLiteral("qvx_view2.exe"), QStringLiteral("htm_view.exe")};

// The viewers are Windows programs, which begin with "MZ"; anything else is a stand-in.
bool isProgram(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "MZ";
}

// Copies the viewers missing in the folder; returns the name of the one that failed.
QString copyViewers(const QString &folder, const QString &dataFolder)
{
    for (const QString &viewer : viewerFiles) {
        const QString source = dataFolder + u'/' + viewer;
        const QString target = folder + u'/' + viewer;
        if (!QFile::exists(target) && isProgram(source) && !QFile::copy(source, target))
            return viewer;
    }
    return {};
}
} // namespace

QString defaultFolder()
{
#ifdef Q_OS_WIN
    // The system's program files folder, wherever and in whatever language it is installed.
    const QString programFiles = qEnvironmentVariable("ProgramFiles");
    return QDir::fromNativeSeparators(programFiles.isEmpty() ? QStringLiteral("c:/Program Files")
                                                             : programFiles) +
           QStringLiteral("/QvxView");
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

namespace {
// Makes the registry in the folder hold this course's pair; false when it could not be written.
bool keepRegistry(const QString &folder, const QString &dataPath)
{
    const QString registryPath = folder + QStringLiteral("/qvx.ini");
    const std::optional<QStringList> registry = textfile::readLines(registryPath);
    std::optional<QStringList> wanted;
    if (registry)
        wanted = updatedRegistry(*registry, dataPath);
    else if (!QFileInfo::exists(registryPath)) // one that cannot be read holds other courses
        wanted = QStringList{courseKey, dataPath};
    // An unwritable folder is known at once; trying the replacement would wait for it.
    return !wanted ||
           (QFileInfo(folder).isWritable() && textfile::writeLines(registryPath, *wanted));
}
} // namespace

QString install(const QString &folder, const QString &dataFolder)
{
    if (!QDir().mkpath(folder))
        return QStringLiteral("Программы просмотра не установлены: не удалось создать папку "
                              "%1. Курс работает и без них.")
            .arg(QDir::toNativeSeparators(folder));
    if (const QString failed = copyViewers(folder, dataFolder); !failed.isEmpty())
        return QStringLiteral("Программы просмотра не установлены: не удалось скопировать "
                              "%1 в папку %2. Курс работает и без них.")
            .arg(failed, QDir::toNativeSeparators(folder));
    if (!keepRegistry(folder, QDir::toNativeSeparators(dataFolder)))
        return QStringLiteral("Не удалось записать список курсов qvx.ini в папку %1. Курс "
                              "работает и без него.")
            .arg(QDir::toNativeSeparators(folder));
    return {};
}

bool firstReport(QSettings &settings, const QString &notice)
{
    const QString key = QStringLiteral("Viewers/ReportedFailure");
    if (notice.isEmpty()) {
        settings.remove(key);
        return false;
    }
    if (settings.value(key).toString() == notice)
        return false;
    settings.setValue(key, notice);
    return true;
}

} // namespace viewers

QString installViewers(const SessionState &session)
{
    const QString notice =
        viewers::install(viewers::defaultFolder(), session.programFolder + QStringLiteral("/data"));
    QSettings settings;
    return viewers::firstReport(settings, notice) ? notice : QString();
}
