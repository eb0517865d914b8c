#include "app/startup.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/textfile.h"

#include <QFile>

qint16 readShowErrorsSetting(const QString &path)
{
    const std::optional<QStringList> lines = textfile::readLines(path);
    if (!lines || lines->isEmpty() || lines->first().isEmpty())
        return 1;
    return textfile::leadingInt16(lines->first().trimmed());
}

void startSession(SessionState &session, const QString &programFolder)
{
    session.SoundOn = true;
    session.setProgramFolder(programFolder);
    session.ChangeUserMode = false;
    session.ContentsFromReader = false;
    session.CourseTestMode = false;
}

void deleteStaleTestFiles(const SessionState &session)
{
    QFile::remove(session.dataPath(datafiles::ProgressFile));
    QFile::remove(session.dataPath(datafiles::SessionFile));
    QFile::remove(session.dataPath(datafiles::ResumeFile));
}
