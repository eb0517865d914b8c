#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// The clock of the computer that holds a folder minus this one's, in milliseconds, read from the
// time of the file `probe` just written there (and removed again); nothing when it cannot be
// written. Files on a share are dated by the share's clock, which may be minutes off ours.
using ProbeWrite = std::function<bool(const QString &path, const QByteArray &bytes)>;
std::optional<qint64> folderClockSkew(const QString &probe, const ProbeWrite &write);
