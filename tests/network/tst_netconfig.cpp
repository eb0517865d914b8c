#include "app/sessionstate.h"
#include "network/netconfig.h"
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
        QCOMPARE(netconfig::folderOf(QStringLiteral("C:\\x\\Тарвел.exe")), QStringLiteral("C:\\x\\"));
        QCOMPARE(netconfig::folderOf(QStringLiteral("/mnt/pc1/Тарвел")), QStringLiteral("/mnt/pc1/"));
        SessionState session;
        session.NetPath[0] = QStringLiteral("/mnt/pc1/");
        session.NetPath[1] = QStringLiteral("/mnt/pc2");
        QCOMPARE(netconfig::pupilDataFolder(session, 1), QStringLiteral("/mnt/pc1/data"));
        QCOMPARE(netconfig::pupilDataFolder(session, 2), QStringLiteral("/mnt/pc2/data"));
        QVERIFY(netconfig::pupilDataFolder(session, 3).isEmpty());
        QVERIFY(netconfig::pupilDataFolder(session, 51).isEmpty());
    }
};

QTEST_GUILESS_MAIN(NetConfigTest)
#include "tst_netconfig.moc"
