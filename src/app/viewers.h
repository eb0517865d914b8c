#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QSettings;
struct SessionState;

// The companion picture and HTML viewers live in one folder shared by every course, with a
// registry "qvx.ini" of line pairs: "[code]" and that course's data folder.
namespace viewers {
// "QvxView" in the system's program files folder on Windows; elsewhere "QvxView" in the user's
// shared data location.
QString defaultFolder();

// The registry with this course's pair set to dataPath; other pairs keep their order.
// Returns nothing when the registry is already right.
std::optional<QStringList> updatedRegistry(const QStringList &registry, const QString &dataPath);

// Creates the folder, copies missing viewers from data, keeps the registry right. Only a real
// program is copied, never a stand-in file. Stops at the first step that fails and returns its
// Russian notice; an empty text when everything is in place.
QString install(const QString &folder, const QString &dataFolder);

// True when this failure notice has not been shown to this user yet, and remembers it in the
// settings; an empty notice (success) forgets the last one, so a new failure is told again.
bool firstReport(QSettings &settings, const QString &notice);
} // namespace viewers

// Installs into the default folder. Returns the failure notice the first time it occurs for this
// user, otherwise an empty text: a folder the user may not write must not nag at every start.
QString installViewers(const SessionState &session);
