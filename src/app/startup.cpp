#include "app/startup.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/textfile.h"

#include <QFile>

void startSession(SessionState &session, const QString &programFolder)
{
    session.soundOn = true;
    session.setProgramFolder(programFolder);
    session.mode = SessionMode::Reading;
}

void deleteStaleTestFiles(const SessionState &session)
{
    QFile::remove(session.dataPath(datafiles::ProgressFile));
    QFile::remove(session.dataPath(datafiles::SessionFile));
    QFile::remove(session.dataPath(datafiles::ResumeFile));
}
