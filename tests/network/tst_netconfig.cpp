#include "core/sessionstate.h"
#include "network/classroom.h"
#include "network/netconfig.h"
#include "network/pupilfiles.h"
#include "network/setupwizard.h"
#include "testsupport.h"

#include <QtTest>

namespace {
// The classroom with `count` computers and these folders of computers 1, 2, ...
void assign(Classroom &classroom, int count, const QStringList &folders)
{
    Classroom::Folders all;
    std::copy(folders.cbegin(), folders.cend(), all.begin());
    classroom.assign(count, all);
}
} // namespace

class NetConfigTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void threeComputersWithTheSecondSkippedThenOneChanged()
    {
        Classroom session;
        assign(session, 3, {QStringLiteral("\\\\PC1\\Тарвел\\"), {}, QStringLiteral("/mnt/pc3/")});
        TestProgramFolder folder;
        const QString path = folder.data(QStringLiteral("net.ini"));
        QVERIFY(saveNetConfig(session, path));
        QCOMPARE(readBytes(path), textfile::joinLines({"number", " 3 ", " 1 ", "\\\\PC1\\Тарвел\\",
                                                       " 2 ", "", " 3 ", "/mnt/pc3/"}));
        Classroom read;
        loadNetConfig(read, path);
        QCOMPARE(read.count(), 3);
        QCOMPARE((QStringList{read.folder(1), read.folder(2), read.folder(3)}),
                 (QStringList{"\\\\PC1\\Тарвел\\", "", "/mnt/pc3/"}));

        // One computer changed: its program's folder, or none when the file is no program.
        QVERIFY(setOneComputer(read, path, 1, QStringLiteral("/mnt/new/Тарвел")));
        QVERIFY(setOneComputer(read, path, 3, QStringLiteral("/mnt/pc3/other")));
        QCOMPARE(readBytes(path),
                 textfile::joinLines({"number", " 3 ", " 1 ", "/mnt/new/", " 2 ", "", " 3 ", ""}));
    }

    void pairsOutOfOrderClearMarkerAndDamagedCount()
    {
        TestProgramFolder folder;
        const QString path = folder.data(QStringLiteral("net.ini"));
        Classroom session;
        assign(session, 0, {{}, {}, {}, {}, QStringLiteral("kept")});
        writeBytes(path, textfile::joinLines({"number", "3", " 3 ", "c", "1", "a", " 2 ", "b",
                                              " 77 ", "outside", "0", "zero"}));
        loadNetConfig(session, path);
        QCOMPARE(session.count(), 3);
        QCOMPARE((QStringList{session.folder(1), session.folder(2), session.folder(3),
                              session.folder(5)}),
                 (QStringList{"a", "b", "c", "kept"}));
        QVERIFY(netconfig::isConfigured(path));

        writeBytes(path, "clear\r\n");
        assign(session, 9, {});
        loadNetConfig(session, path);
        QCOMPARE(session.count(), 9);
        QVERIFY(!netconfig::isConfigured(path));
        QVERIFY(!netconfig::isConfigured(folder.data(QStringLiteral("missing.ini"))));

        // A damaged count stays in range.
        netconfig::applyLines(session, {"number", "500"});
        QCOMPARE(session.count(), Classroom::MaxComputers);
        netconfig::applyLines(session, {"number", "-4"});
        QCOMPARE(session.count(), 0);
        netconfig::applyLines(session, {"number"});
        QCOMPARE(session.count(), 0);
    }

    void foldersOfChosenFiles()
    {
        QCOMPARE(netconfig::folderOf("C:\\x\\Тарвел.exe"), QString("C:\\x\\"));
        QCOMPARE(netconfig::folderOf("/mnt/pc1/Тарвел"), QString("/mnt/pc1/"));
        // A pupil's files lie below his folder, with or without its closing separator.
        QCOMPARE(pupilfiles::pathOf("/mnt/pc1/", "data"), QString("/mnt/pc1/data"));
        QCOMPARE(pupilfiles::pathOf("/mnt/pc2", "data"), QString("/mnt/pc2/data"));
    }
    void countsTypedInStepOne_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("count");
        using A = netsetup::CountAnswer;
        QTest::addRow("12abc") << "12abc" << int(A::Accepted) << 12;
        QTest::addRow("7.9") << "7.9" << int(A::Accepted) << 7;
        QTest::addRow("49") << " 49" << int(A::Accepted) << 49;
        QTest::addRow("0") << "0" << int(A::Zero) << 0;
        QTest::addRow("letters") << "abc" << int(A::Zero) << 0;
        QTest::addRow("empty") << "" << int(A::Zero) << 0;
        QTest::addRow("half") << "0.5" << int(A::Zero) << 0;
        QTest::addRow("50") << "50" << int(A::TooMany) << 0;
        QTest::addRow("51") << "51" << int(A::TooMany) << 0;
        QTest::addRow("negative") << "-3" << int(A::Ignored) << 0;
    }
    void countsTypedInStepOne()
    {
        QFETCH(QString, text);
        QFETCH(int, answer);
        QFETCH(int, count);
        const netsetup::CountCheck check = netsetup::checkCount(text);
        QCOMPARE(int(check.answer), answer);
        QCOMPARE(check.count, count);
    }

    void programFileCheck_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("program");
        QTest::newRow("Windows pupil") << "C:\\x\\Тарвел.exe" << true;
        QTest::newRow("upper-case EXE") << "C:\\x\\Тарвел.EXE" << true;
        QTest::newRow("upper-case name") << "\\\\PC2\\Общая\\ТАРВЕЛ.exe" << true;
        QTest::newRow("Linux pupil") << "/mnt/pc1/Тарвел" << true;
        QTest::newRow("Linux pupil, lower case") << "/mnt/pc1/тарвел" << true;
        QTest::newRow("Linux pupil, mixed separators") << "Z:\\pc1/ТарВел" << true;
        QTest::newRow("other program") << "C:\\x\\Другой.exe" << false;
        QTest::newRow("11 characters") << "\\Тарвел.exe" << false;
        QTest::newRow("longer name") << "/mnt/pc1/НеТарвел.exe" << false;
        QTest::newRow("other extension") << "/mnt/pc1/Тарвел.exe.txt" << false;
        QTest::newRow("a folder of that name") << "/mnt/pc1/Тарвел/" << false;
    }
    void programFileCheck()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, program);
        QCOMPARE(netsetup::isProgramFile(chosen), program);
    }

    void dialogStartsWhereTheLastProgramWasChosen()
    {
        Classroom classroom;
        QCOMPARE(netsetup::startFolder(classroom, 1), QDir::homePath());
        assign(classroom, 3, {{}, {}, QStringLiteral("/srv/pc3/")});
        QCOMPARE(netsetup::startFolder(classroom, 1), QStringLiteral("/srv/pc3/"));
        assign(classroom, 3, {QStringLiteral("/srv/pc1/"), {}, QStringLiteral("/srv/pc3/")});
        QCOMPARE(netsetup::startFolder(classroom, 1), QStringLiteral("/srv/pc1/"));
        classroom.setProgramFolderChosenLast(QStringLiteral("/srv/pc2/"));
        QCOMPARE(netsetup::startFolder(classroom, 1), QStringLiteral("/srv/pc2/"));
    }

    // A net.ini that cannot be written is reported and the session keeps what the file holds.
    void failedWriteLeavesTheFileAndSession()
    {
        TestProgramFolder folder;
        QString path = folder.data(QStringLiteral("net.ini"));
        Classroom before;
        assign(before, 1, {QStringLiteral("/mnt/old/")});
        QVERIFY(saveNetConfig(before, path));
        const QString data = folder.data(QString());
        const auto writable =
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
        auto restore = qScopeGuard([&] { QFile::setPermissions(data, writable); });
        QFile::setPermissions(data, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const bool refused = !saveNetConfig(before, folder.data(QStringLiteral("probe")));
        if (!refused) {
            // Permissions do not stop this account: a folder stands in place of net.ini.
            QFile::setPermissions(data, writable);
            path = folder.data(QStringLiteral("folder/net.ini"));
            QVERIFY(QDir().mkpath(path + QStringLiteral("/inside")));
        }
        const QByteArray bytes = refused ? readBytes(path) : QByteArray();

        Classroom classroom;
        loadNetConfig(classroom, path);
        SetupWizard wizard(classroom, path);
        wizard.start(2);
        wizard.answer(QStringLiteral("/mnt/pc1/Тарвел"));
        QVERIFY(wizard.answer(QStringLiteral("/mnt/pc2/Тарвел")));
        QVERIFY(!wizard.written());
        QCOMPARE(classroom.count(), refused ? 1 : 0);
        QCOMPARE(classroom.folder(2), QString());
        QVERIFY(!setOneComputer(classroom, path, 1, QStringLiteral("/mnt/new/Тарвел")));
        QCOMPARE(classroom.folder(1), refused ? QStringLiteral("/mnt/old/") : QString());
        if (refused)
            QCOMPARE(readBytes(path), bytes);
        else
            QVERIFY(QFileInfo(path).isDir());
    }

    void wizardWritesOnlyAtTheEnd()
    {
        TestProgramFolder folder;
        const QString path = folder.data(QStringLiteral("net.ini"));
        writeBytes(path, "clear\r\n");
        Classroom classroom;
        SetupWizard wizard(classroom, path);
        wizard.start(3);
        QCOMPARE(wizard.question(), QStringLiteral("На компьютере № 1 программа установлена ?"));
        QVERIFY(!wizard.answer(QStringLiteral("C:\\x\\Тарвел.exe")));
        QCOMPARE(wizard.computer(), 2);
        QVERIFY(!wizard.skip());
        QCOMPARE(readBytes(path), QByteArray("clear\r\n"));
        QCOMPARE(classroom.count(), 0);
        QVERIFY(wizard.answer(QStringLiteral("/mnt/pc3/Тарвел.exe")));
        QVERIFY(wizard.finished());
        QCOMPARE(readBytes(path), textfile::joinLines({"number", " 3 ", " 1 ", "C:\\x\\", " 2 ", "",
                                                       " 3 ", "/mnt/pc3/"}));

        // A second run starts from computer 1 again; a wrong file skips the computer.
        wizard.start(1);
        QVERIFY(wizard.answer(QStringLiteral("C:\\x\\Тарвел.txt")));
        QCOMPARE(readBytes(path), textfile::joinLines({"number", " 1 ", " 1 ", ""}));
    }
};

QTEST_GUILESS_MAIN(NetConfigTest)
#include "tst_netconfig.moc"
