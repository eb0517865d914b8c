#include "app/sessionstate.h"
#include "network/netconfig.h"
#include "network/setupwizard.h"
#include "testsupport.h"

#include <QtTest>

class NetConfigTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void threeComputersWithTheSecondSkipped()
    {
        SessionState session;
        session.NetCount = 3;
        session.NetPath[0] = QStringLiteral("\\\\PC1\\Тарвел\\");
        session.NetPath[2] = QStringLiteral("/mnt/pc3/");
        TestProgramFolder folder;
        const QString path = folder.data(QStringLiteral("net.ini"));
        QVERIFY(SaveNetConfig(session, path));
        QCOMPARE(readBytes(path), textfile::joinLines({"number", " 3 ", " 1 ", "\\\\PC1\\Тарвел\\",
                                                       " 2 ", "", " 3 ", "/mnt/pc3/"}));
        SessionState read;
        LoadNetConfig(read, path);
        QCOMPARE(read.NetCount, qint16(3));
        QCOMPARE(read.NetPath[0], session.NetPath[0]);
        QVERIFY(read.NetPath[1].isEmpty());
        QCOMPARE(read.NetPath[2], QStringLiteral("/mnt/pc3/"));
    }

    void pairsOutOfOrderAndClearMarker()
    {
        TestProgramFolder folder;
        const QString path = folder.data(QStringLiteral("net.ini"));
        SessionState session;
        session.NetPath[4] = QStringLiteral("kept");
        writeBytes(path, textfile::joinLines({"number", "3", " 3 ", "c", "1", "a", " 2 ", "b",
                                              " 77 ", "outside", "0", "zero"}));
        LoadNetConfig(session, path);
        QCOMPARE(session.NetCount, qint16(3));
        QCOMPARE(session.NetPath[0], QStringLiteral("a"));
        QCOMPARE(session.NetPath[1], QStringLiteral("b"));
        QCOMPARE(session.NetPath[2], QStringLiteral("c"));
        QCOMPARE(session.NetPath[4], QStringLiteral("kept"));
        QVERIFY(netconfig::isConfigured(path));

        writeBytes(path, "clear\r\n");
        session.NetCount = 9;
        LoadNetConfig(session, path);
        QCOMPARE(session.NetCount, qint16(9));
        QVERIFY(!netconfig::isConfigured(path));
        QVERIFY(!netconfig::isConfigured(folder.data(QStringLiteral("missing.ini"))));
    }

    void damagedCountStaysInRange()
    {
        SessionState session;
        netconfig::applyLines(session, {"number", "500"});
        QCOMPARE(session.NetCount, qint16(SessionState::MaxComputers));
        netconfig::applyLines(session, {"number", "-4"});
        QCOMPARE(session.NetCount, qint16(0));
        netconfig::applyLines(session, {"number"});
        QCOMPARE(session.NetCount, qint16(0));
    }

    void foldersOfChosenFiles()
    {
        QCOMPARE(netconfig::folderOf(QStringLiteral("C:\\x\\Тарвел.exe")),
                 QStringLiteral("C:\\x\\"));
        QCOMPARE(netconfig::folderOf(QStringLiteral("/mnt/pc1/Тарвел")),
                 QStringLiteral("/mnt/pc1/"));
        SessionState session;
        session.NetPath[0] = QStringLiteral("/mnt/pc1/");
        session.NetPath[1] = QStringLiteral("/mnt/pc2");
        QCOMPARE(netconfig::pupilDataFolder(session, 1), QStringLiteral("/mnt/pc1/data"));
        QCOMPARE(netconfig::pupilDataFolder(session, 2), QStringLiteral("/mnt/pc2/data"));
        QVERIFY(netconfig::pupilDataFolder(session, 3).isEmpty());
        QVERIFY(netconfig::pupilDataFolder(session, 51).isEmpty());
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

    void programFileCheck()
    {
        const QString exe = QStringLiteral("Тарвел.exe");
        QVERIFY(netsetup::isProgramFile(QStringLiteral("C:\\x\\Тарвел.exe"), exe));
        QVERIFY(!netsetup::isProgramFile(QStringLiteral("C:\\x\\Тарвел.EXE"), exe));
        QVERIFY(!netsetup::isProgramFile(QStringLiteral("C:\\x\\Другой.exe"), exe));
        QVERIFY(!netsetup::isProgramFile(QStringLiteral("\\Тарвел.exe"), exe)); // 11 characters
        QVERIFY(!netsetup::isProgramFile(QStringLiteral("/mnt/pc1/НеТарвел.exe"), exe));
        QVERIFY(
            netsetup::isProgramFile(QStringLiteral("/mnt/pc1/Тарвел"), QStringLiteral("Тарвел")));
        // The running program's own name is what is looked for.
        QCOMPARE(netsetup::programFileName(),
                 QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    }

    void wizardWritesOnlyAtTheEnd()
    {
        TestProgramFolder folder;
        const QString path = folder.data(QStringLiteral("net.ini"));
        writeBytes(path, "clear\r\n");
        SessionState session;
        SetupWizard wizard(session, path, QStringLiteral("Тарвел.exe"));
        wizard.start(3);
        QCOMPARE(wizard.question(), QStringLiteral("На компьютере № 1 программа установлена ?"));
        QVERIFY(!wizard.answer(QStringLiteral("C:\\x\\Тарвел.exe")));
        QCOMPARE(session.NetWizardIndex, qint16(2));
        QVERIFY(!wizard.skip());
        QCOMPARE(readBytes(path), QByteArray("clear\r\n"));
        QCOMPARE(session.NetCount, qint16(0));
        QVERIFY(wizard.answer(QStringLiteral("/mnt/pc3/Тарвел.exe")));
        QVERIFY(wizard.finished());
        QVERIFY(session.NetConfigWritten);
        QCOMPARE(readBytes(path), textfile::joinLines({"number", " 3 ", " 1 ", "C:\\x\\", " 2 ", "",
                                                       " 3 ", "/mnt/pc3/"}));

        // A second run starts from computer 1 again; a wrong file skips the computer.
        session.NetConfigWritten = false;
        wizard.start(1);
        QVERIFY(wizard.answer(QStringLiteral("C:\\x\\Тарвел.EXE")));
        QCOMPARE(readBytes(path), textfile::joinLines({"number", " 1 ", " 1 ", ""}));
    }

    void singleComputerChange()
    {
        TestProgramFolder folder;
        const QString path = folder.data(QStringLiteral("net.ini"));
        SessionState session;
        session.NetCount = 2;
        session.NetPath[0] = QStringLiteral("/mnt/a/");
        session.NetPath[1] = QStringLiteral("/mnt/b/");
        QVERIFY(SetOneComputer(session, path, 1, QStringLiteral("/mnt/new/Тарвел"),
                               QStringLiteral("Тарвел")));
        QVERIFY(SetOneComputer(session, path, 2, QStringLiteral("/mnt/b/other"),
                               QStringLiteral("Тарвел")));
        QCOMPARE(readBytes(path),
                 textfile::joinLines({"number", " 2 ", " 1 ", "/mnt/new/", " 2 ", ""}));
    }
};

QTEST_GUILESS_MAIN(NetConfigTest)
#include "tst_netconfig.moc"
