#pragma once

// Writer loops that rewrite one kind of state file with the program's own writers until the
// process is killed (or a given number of times). They say "ready" once the first round is
// written and "+" after each completed history append, so that a test knows what the files
// may hold.

#include "core/datafiles.h"
#include "network/netconfig.h"
#include "statecontents.h"
#include "users/loginflow.h"

#include <QDir>
#include <QFile>

#include <functional>

namespace statewriters {

using Say = std::function<void(const char *text)>;

// Runs the round for round numbers 0, 1, 2 ... until it fails or `rounds` are done.
inline int loop(const Say &say, long rounds, const std::function<bool(long)> &round)
{
    for (long n = 0; rounds < 0 || n < rounds; ++n) {
        if (!round(n))
            return 1;
        if (n == 0)
            say("ready\n");
    }
    return 0;
}

inline int userBase(const Say &say, const QString &path)
{
    const UserBase bases[] = {statecontents::userBase(0), statecontents::userBase(1)};
    return loop(say, -1, [&](long n) { return bases[(n + 1) % 2].save(path); });
}

// The unsafe way, for the test to prove that its kills land inside writes.
inline int userBaseInPlace(const Say &say, const QString &path)
{
    const QByteArray bases[] = {textfile::joinLines(statecontents::userBase(0).toLines()),
                                textfile::joinLines(statecontents::userBase(1).toLines())};
    return loop(say, -1, [&](long n) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(bases[(n + 1) % 2]) == bases[(n + 1) % 2].size();
    });
}

inline int sessionFile(const Say &say, const QString &path)
{
    const auto first = statecontents::records(0);
    const auto second = statecontents::records(1);
    return loop(say, -1, [&](long n) {
        const int variant = int((n + 1) % 2);
        return writeSessionFile(path, statecontents::progress(variant), variant ? *second : *first);
    });
}

inline int history(const Say &say, const QString &folder)
{
    const QString store = QDir(folder).filePath(datafiles::HistoryFile);
    const QString temporary = QDir(folder).filePath(datafiles::HistoryTemporaryFile);
    const QStringList block = statecontents::historyBlock();
    say("ready\n");
    for (;;) {
        if (resultslog::appendHistory(store, temporary, block) != resultslog::HistorySave::Saved)
            return 1;
        say("+");
    }
}

// Every settings file of the variant, written into the folder by the program's own writers.
inline bool writeSettings(const QString &folder, int variant)
{
    Classroom classroom;
    statecontents::netConfig(classroom, variant);
    const QString name = statecontents::rememberedName(variant);
    return statecontents::testSettings(variant).write(folder) &&
           RememberedLogin::write(QDir(folder).filePath(datafiles::RememberedLoginFile),
                                  variant == 1, name, name, name) &&
           saveNetConfig(classroom, QDir(folder).filePath(datafiles::NetConfigFile));
}

inline int settings(const Say &say, const QString &folder)
{
    return loop(say, -1, [&](long n) { return writeSettings(folder, int((n + 1) % 2)); });
}

inline int testFiles(const Say &say, const QString &folder, long rounds)
{
    const auto first = statecontents::records(0);
    const auto second = statecontents::records(1);
    const QString progressFile = QDir(folder).filePath(datafiles::ProgressFile);
    const QString sessionFile = QDir(folder).filePath(datafiles::SessionFile);
    return loop(say, rounds, [&](long n) {
        const int variant = int(n % 2);
        const SessionProgress progress = statecontents::progress(variant);
        return writeProgressFile(progressFile, progress) &&
               writeSessionFile(sessionFile, progress, variant ? *second : *first);
    });
}

} // namespace statewriters
