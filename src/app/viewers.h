#pragma once

#include <QString>
#include <QStringList>

#include <optional>

struct SessionState;

// The companion picture and HTML viewers live in one folder shared by every course, with a
// registry "qvx.ini" of line pairs: "[code]" and that course's data folder.
namespace viewers {
// "c:\Program Files\QvxView" on Windows; elsewhere "QvxView" in the user's shared data location.
QString defaultFolder();

// The registry with this course's pair set to dataPath; other pairs keep their order.
// Returns nothing when the registry is already right.
std::optional<QStringList> updatedRegistry(const QStringList &registry, const QString &dataPath);

// Creates the folder, copies missing viewers from data, keeps the registry right.
void install(const QString &folder, const QString &dataFolder);
} // namespace viewers

void InstallViewers(const SessionState &session);
