#include "app/viewers.h"
#include "testsupport.h"

#include <QSettings>
#include <QtTest>

class ViewersTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void firstStartCreatesFolderViewersAndRegistry()
    {
        TestProgramFolder program;
        writeBytes(program.data(QStringLiteral("qvx_view2.exe")), "MZ picture viewer");
        writeBytes(program.data(QStringLiteral("htm_view.exe")), "page viewer placeholder");
        QTemporaryDir shared;
        const QString folder = shared.filePath(QStringLiteral("QvxView"));
        QCOMPARE(viewers::install(folder, program.data(QString()).chopped(1)), QString());
        QCOMPARE(readBytes(folder + QStringLiteral("/qvx_view2.exe")),
                 QByteArray("MZ picture viewer"));
        // A stand-in that is no program is never copied as a viewer.
        QVERIFY(!QFile::exists(folder + QStringLiteral("/htm_view.exe")));
        const QString dataPath = QDir::toNativeSeparators(program.data(QString()).chopped(1));
        QCOMPARE(readBytes(folder + QStringLiteral("/qvx.ini")),
                 textfile::joinLines({QStringLiteral("[T01]"), dataPath}));
        // A second start replaces neither a viewer already there nor a registry that is right:
        // dated well back, a rewrite could not keep the file's time.
        writeBytes(program.data(QStringLiteral("qvx_view2.exe")), "MZ newer");
        const QDateTime before = QDateTime::currentDateTime().addSecs(-3600);
        QVERIFY(setModified(folder + QStringLiteral("/qvx.ini"), before));
        viewers::install(folder, program.data(QString()).chopped(1));
        QCOMPARE(readBytes(folder + QStringLiteral("/qvx_view2.exe")),
                 QByteArray("MZ picture viewer"));
        QCOMPARE(readBytes(folder + QStringLiteral("/qvx.ini")),
                 textfile::joinLines({QStringLiteral("[T01]"), dataPath}));
        QCOMPARE(QFileInfo(folder + QStringLiteral("/qvx.ini")).lastModified().toSecsSinceEpoch(),
                 before.toSecsSinceEpoch());
    }

    void movedOrDamagedRegistryKeepsOtherPairs()
    {
        const QStringList registry{"[K02]", "/other/data", "[T01]", "/old/data", "[Z9]", "/z"};
        const auto updated = viewers::updatedRegistry(registry, QStringLiteral("/new/data"));
        QVERIFY(updated);
        QCOMPARE(*updated,
                 (QStringList{"[K02]", "/other/data", "[T01]", "/new/data", "[Z9]", "/z"}));
        const auto appended = viewers::updatedRegistry({"[K02]", "/k"}, QStringLiteral("/d"));
        QCOMPARE(*appended, (QStringList{"[K02]", "/k", "[T01]", "/d"}));
        // A key without its value line must not shift our pair out of step.
        QCOMPARE(*viewers::updatedRegistry({"[K02]"}, QStringLiteral("/d")),
                 (QStringList{"[K02]", "", "[T01]", "/d"}));
        // A second, stale entry of ours is dropped with the first one rewritten.
        const auto twice =
            viewers::updatedRegistry({"[T01]", "/a", "[K02]", "/k", "[T01]", "/b"}, "/d");
        QCOMPARE(*twice, (QStringList{"[T01]", "/d", "[K02]", "/k"}));
        // Our pair as it should be, wherever it stands: nothing to write.
        QVERIFY(!viewers::updatedRegistry({"[A1]", "/a", "[T01]", "/d"}, QStringLiteral("/d")));
    }

    void movedProgramIsRewrittenInPlace()
    {
        TestProgramFolder program;
        QTemporaryDir shared;
        const QString registry = shared.filePath(QStringLiteral("qvx.ini"));
        const QString data = program.data(QString()).chopped(1);
        writeBytes(registry, textfile::joinLines(
                                 {"[K02]", "d:\\k\\data", "[T01]", "c:\\old\\data", "[Z9]", "/z"}));
        viewers::install(shared.path(), data); // no viewers in its data: none copied
        QVERIFY(!QFile::exists(shared.filePath(QStringLiteral("qvx_view2.exe"))));
        QCOMPARE(readLinesOrEmpty(registry),
                 (QStringList{"[K02]", "d:\\k\\data", "[T01]", QDir::toNativeSeparators(data),
                              "[Z9]", "/z"}));
        QCOMPARE(QDir(shared.path()).entryList({QStringLiteral("*.ini")}, QDir::Files),
                 QStringList{QStringLiteral("qvx.ini")});
    }

    // A folder that cannot be made is told at once, without waiting on a write.
    void failureIsToldOnceAndNeverWaits()
    {
        TestProgramFolder program;
        QTemporaryDir shared;
        const QString blocked = shared.filePath(QStringLiteral("Program Files"));
        writeBytes(blocked, "a file where the folder should be");
        QElapsedTimer clock;
        clock.start();
        const QString notice = viewers::install(blocked + QStringLiteral("/QvxView"),
                                                program.data(QString()).chopped(1));
        QVERIFY(clock.elapsed() < 500);
        QVERIFY2(notice.contains(QDir::toNativeSeparators(blocked)), qPrintable(notice));

        QSettings settings(shared.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
        QVERIFY(viewers::firstReport(settings, notice));
        QVERIFY(!viewers::firstReport(settings, notice));
        QVERIFY(!viewers::firstReport(settings, QString())); // success forgets it
        QVERIFY(viewers::firstReport(settings, notice));
    }

    void viewerFolderIsSharedByEveryCourse()
    {
        QStandardPaths::setTestModeEnabled(true);
        const QString folder = viewers::defaultFolder();
#ifdef Q_OS_WIN
        QCOMPARE(folder, QDir::fromNativeSeparators(qEnvironmentVariable("ProgramFiles")) +
                             QStringLiteral("/QvxView"));
        qputenv("ProgramFiles", QByteArray("D:\\Programme"));
        QCOMPARE(viewers::defaultFolder(), QStringLiteral("D:/Programme/QvxView"));
#else
        QCOMPARE(folder, QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                             QStringLiteral("/QvxView"));
#endif
    }
};

QTEST_GUILESS_MAIN(ViewersTest)
#include "tst_viewers.moc"
