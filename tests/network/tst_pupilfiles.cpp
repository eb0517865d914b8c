#include "network/pupilfiles.h"
#include "testsupport.h"

#include <QtTest>

#include "core/windowsapi.h"
#ifdef Q_OS_WIN

#include <psapi.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using pupilfiles::Status;

namespace {
// Peak resident memory of this process in megabytes.
long peakMegabytes()
{
#ifdef Q_OS_WIN
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return long(counters.PeakWorkingSetSize / (1024 * 1024));
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
#endif
}
} // namespace

// Whatever a pupil leaves in his folder, the teacher's program reads only bounded regular files
// and never reaches outside the folder through a link.
class PupilFilesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void oddFilesAreDamage_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("status");
        QTest::newRow("regular") << "regular" << int(Status::Done);
        QTest::newRow("missing") << "missing" << int(Status::Missing);
        QTest::newRow("folder") << "folder" << int(Status::Damaged);
#ifdef Q_OS_UNIX
        QTest::newRow("fifo") << "fifo" << int(Status::Damaged);
        QTest::newRow("link to a file") << "link" << int(Status::Damaged);
        QTest::newRow("linked data folder") << "linked folder" << int(Status::Damaged);
#endif
        QTest::newRow("100 MB") << "big" << int(Status::Damaged);
        QTest::newRow("1 GB sparse") << "sparse" << int(Status::Damaged);
        QTest::newRow("limit plus one") << "limit+1" << int(Status::Damaged);
        QTest::newRow("exactly the limit") << "limit" << int(Status::Done);
    }
    void oddFilesAreDamage()
    {
        QFETCH(QString, kind);
        QFETCH(int, status);
        TestProgramFolder pupil;
        TestProgramFolder outside;
        const QString secret = outside.data(QStringLiteral("secret.ini"));
        writeBytes(secret, "secret\r\n");
        const QString file = pupil.data(QStringLiteral("curr_test.ini"));
        if (kind == QLatin1String("regular"))
            writeBytes(file, "first\r\nИван\r\n");
#ifdef Q_OS_UNIX
        else if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
#endif
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(file));
        else if (kind == QLatin1String("link"))
            QVERIFY(QFile::link(secret, file));
        else if (kind == QLatin1String("linked folder")) {
            QVERIFY(QDir(pupil.data(QString())).removeRecursively());
            QVERIFY(QFile::link(outside.data(QString()), pupil.path() + QStringLiteral("/data")));
            writeBytes(outside.data(QStringLiteral("curr_test.ini")), "first\r\nИван\r\n");
        } else if (kind == QLatin1String("big"))
            writeBytes(file, QByteArray(100 * 1024 * 1024, 'x'));
        else if (kind == QLatin1String("sparse")) {
            QFile sparse(file);
            QVERIFY(sparse.open(QIODevice::WriteOnly));
            QVERIFY(sparse.resize(qint64(1) << 30));
        } else if (kind.startsWith(QLatin1String("limit")))
            writeBytes(file, QByteArray(pupilfiles::StateFileLimit + kind.endsWith(u'1'), 'x'));

        const long before = peakMegabytes();
        const pupilfiles::Contents contents = pupilfiles::read(
            pupil.path(), QStringLiteral("DATA/Curr_Test.ini"), pupilfiles::StateFileLimit);
        QCOMPARE(int(contents.status), status);
        QVERIFY(contents.bytes.size() <= pupilfiles::StateFileLimit);
        QVERIFY2(peakMegabytes() - before < 4, "the file was read beyond the limit");
        if (contents.status != Status::Done)
            QVERIFY(contents.bytes.isEmpty());

        // A write never goes through a link or over an odd file, and never creates folders.
        const Status written =
            pupilfiles::write(pupil.path(), QStringLiteral("data/curr_test.ini"), "new\r\n");
        const bool odd = kind == QLatin1String("fifo") || kind == QLatin1String("folder") ||
                         kind.startsWith(QLatin1String("link"));
        QCOMPARE(written, odd ? Status::Damaged : Status::Done);
        QCOMPARE(readBytes(secret), QByteArray("secret\r\n"));
    }

    // A base within the size limit but of more records than any class has is not built.
    void userBaseOfTinyRecordsIsRefused()
    {
        TestProgramFolder pupil;
        QByteArray tiny;
        for (qsizetype i = 0; i <= pupilfiles::MaxUsers; ++i)
            tiny += "first\r\nx\r\n";
        writeBytes(pupil.jpg(QStringLiteral("2_17.jpg")), tiny);
        UserBase base;
        QCOMPARE(pupilfiles::readUserBase(pupil.path(), base), UserBase::Access::Unreadable);
        QVERIFY(base.records.isEmpty());
        UserBase small;
        small.records = {UserRecord(), UserRecord()};
        small.records[0].firstName = small.records[0].surname = QStringLiteral("vedok");
        writeBytes(pupil.jpg(QStringLiteral("2_17.jpg")), small.toBytes());
        const auto rename = [](UserBase &held) {
            held.records[0].password = QStringLiteral("новый");
            return true;
        };
        QCOMPARE(pupilfiles::updateUserBase(pupil.path(), rename), UserBase::Access::Done);
        QCOMPARE(pupilfiles::readUserBase(pupil.path(), base), UserBase::Access::Done);
        QCOMPARE(base.records.at(0).password, QStringLiteral("новый"));
    }

    // A pupil's program folder as net.ini names it on a Windows teacher's computer: a share's
    // root in any letter case, with either separator. The share comes from TARVEL_TEST_SHARE
    // (make windows-check serves one under Wine).
    void shareRootsOfNetIni_data()
    {
        QTest::addColumn<QString>("root");
        const QString share = qEnvironmentVariable("TARVEL_TEST_SHARE");
        if (share.isEmpty()) {
            QTest::newRow("no share") << QString();
            return;
        }
        const QString forward = QDir::fromNativeSeparators(share);
        QTest::newRow("as chosen, ending in \\") << share + u'\\';
        QTest::newRow("without the last \\") << share;
        QTest::newRow("forward slashes") << forward + u'/';
        QTest::newRow("server in small letters")
            << QStringLiteral("\\\\") + forward.mid(2).toLower();
    }
    void shareRootsOfNetIni()
    {
        QFETCH(QString, root);
        if (root.isEmpty())
            QSKIP("no share is given in TARVEL_TEST_SHARE");
        const QString share = qEnvironmentVariable("TARVEL_TEST_SHARE");
        QVERIFY(QDir(share + QStringLiteral("\\data")).removeRecursively());
        QVERIFY(QDir(share).mkpath(QStringLiteral("data/jpg")));
        QCOMPARE(pupilfiles::write(root, QStringLiteral("data\\curr_test.ini"), "first\r\n"),
                 Status::Done);
        const pupilfiles::Contents contents = pupilfiles::read(
            root, QStringLiteral("DATA\\Curr_Test.ini"), pupilfiles::StateFileLimit);
        QCOMPARE(contents.status, Status::Done);
        QCOMPARE(contents.bytes, QByteArray("first\r\n"));
        QCOMPARE(pupilfiles::read(root, QStringLiteral("data/none.ini"), 10).status,
                 Status::Missing);
        writeBytes(share + QStringLiteral("\\data\\big.ini"), QByteArray(11, 'x'));
        QCOMPARE(pupilfiles::read(root, QStringLiteral("data/big.ini"), 10).status,
                 Status::Damaged);
    }

    void writeNeedsTheFolder()
    {
        TestProgramFolder pupil;
        QCOMPARE(pupilfiles::write(pupil.path(), QStringLiteral("data/gone/x.jpg"), "x"),
                 Status::Missing);
        QVERIFY(!QFileInfo::exists(pupil.data(QStringLiteral("gone"))));
        QCOMPARE(pupilfiles::write(pupil.path(), QStringLiteral("data/jpg/x.jpg"), "x"),
                 Status::Done);
        QCOMPARE(readBytes(pupil.jpg(QStringLiteral("x.jpg"))), QByteArray("x"));
    }
};

QTEST_GUILESS_MAIN(PupilFilesTest)
#include "tst_pupilfiles.moc"
