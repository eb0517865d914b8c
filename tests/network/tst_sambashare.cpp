#include "classroomfolders.h"
#include "core/datafiles.h"
#include "core/sessionfiles.h"
#include "core/sessionstate.h"
#include "network/classroom.h"
#include "network/netconfig.h"
#include "network/pupillive.h"
#include "network/pupilstatus.h"
#include "network/setupwizard.h"
#include "network/watchedsession.h"
#include "testsupport.h"
#include "users/useradministration.h"
#include "users/userbase.h"

#include <QtTest>

// Run by samba_share.sh: a pupil's program folder served by Samba, seen here twice, as the
// pupil's own folder (local) and as the teacher reaches it over the network (mount).
class SambaShareTest : public QObject
{
    Q_OBJECT
private:
    QString m_local;
    QString m_mount;

private Q_SLOTS:
    void initTestCase()
    {
        m_local = qEnvironmentVariable("TARVEL_SHARE_LOCAL");
        m_mount = qEnvironmentVariable("TARVEL_SHARE_MOUNT");
        if (m_local.isEmpty() || m_mount.isEmpty())
            QSKIP("run through samba_share.sh, which serves and mounts the share");
    }

    void teacherLocatesTheProgramOnTheShare()
    {
        writeBytes(m_local + QStringLiteral("Тарвел"), "program");
        TestProgramFolder teacher;
        Classroom classroom;
        classroom.assign(1, {});
        const QString netIni = teacher.data(datafiles::NetConfigFile);
        QVERIFY(setOneComputer(classroom, netIni, 1, m_mount + QStringLiteral("Тарвел")));
        Classroom read;
        loadNetConfig(read, netIni);
        QCOMPARE(read.folder(1), m_mount);
    }

    void monitorAndWatchWindowReadThroughTheShare()
    {
        writeProgressFile(m_local + QStringLiteral("data/curr_test.ini"),
                          {"Иван", "Петров", "Реле", 20, 7, 5, 0});
        const PupilStatus status = pupilstatus::read(m_mount, PupilStatus());
        QCOMPARE(status.surname, QStringLiteral("Петров"));
        QCOMPARE(status.currentQuestion, 7);
        // A later question's file is seen at once, past the client's cache of attributes.
        const QString progress = m_mount + QStringLiteral("data/curr_test.ini");
        const FileStamp before = stampOf(progress);
        writeProgressFile(m_local + QStringLiteral("data/curr_test.ini"),
                          {"Иван", "Петров", "Реле", 20, 10, 6, 0});
        const FileStamp after = stampOf(progress);
        QVERIFY(before.exists && after.exists);
        QVERIFY(after != before);

        SessionRecords records;
        clearSessionRecords(records);
        for (int j = 0; j < 3; ++j) {
            records[j].topic = QStringLiteral("Тема");
            records[j].question = QStringLiteral("Вопрос %1").arg(j + 1);
            records[j].chosenAnswer = 2;
        }
        writeSessionFile(m_local + QStringLiteral("data/temp1.ini"),
                         {"Иван", "Петров", "Реле", 20, 3, 2, 0}, records);
        const WatchLook look = WatchLook::take(m_mount, WatchedFiles(), 0);
        QCOMPARE(look.status, pupilfiles::Status::Done);
        QCOMPARE(look.watched.lastRecorded, 3);
        QCOMPARE(look.watched.records.at(2).question, QStringLiteral("Вопрос 3"));
    }

    void remoteAdministrationWritesThroughTheShare()
    {
        writeUserBase(m_local + QStringLiteral("data/jpg/2_17.jpg"),
                      {{"Сидоров", "Олег"}, {"Смирнова", "Анна"}});

        UserAdministration remote(m_mount + QStringLiteral("data/jpg/2_17.jpg"));
        QVERIFY(remote.reload());
        QCOMPARE(remote.listedCount(), 3);
        remote.select(1);
        QVERIFY(remote.deleteSelected());
        const UserBase local = *UserBase::load(m_local + QStringLiteral("data/jpg/2_17.jpg"));
        QCOMPARE(local.indexOf(QStringLiteral("Олег"), QStringLiteral("Сидоров")), -1);
        QVERIFY(local.indexOf(QStringLiteral("Анна"), QStringLiteral("Смирнова")) > 0);
    }
};

QTEST_GUILESS_MAIN(SambaShareTest)
#include "tst_sambashare.moc"
