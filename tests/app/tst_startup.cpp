#include "app/startup.h"
#include "core/administrator.h"
#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "testing/catalogue.h"
#include "testing/testsettings.h"
#include "testsupport.h"

#include <QtTest>

class StartupTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void showErrorsSetting_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("setting");
        QTest::addRow("print style") << QByteArray(" 3 \r\n") << 3;
        QTest::addRow("empty first line") << QByteArray("\r\n2\r\n") << 1;
        QTest::addRow("empty file") << QByteArray() << 1;
        QTest::addRow("leading digits") << QByteArray("2abc\r\n") << 2;
        QTest::addRow("no digits") << QByteArray("abc\r\n") << 0;
    }
    void showErrorsSetting()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, setting);
        TestProgramFolder folder;
        writeBytes(folder.jpg(datafiles::ShowErrorsFile), content);
        QCOMPARE(readShowErrorsSetting(folder.jpg(datafiles::ShowErrorsFile)), setting);
    }

    void missingShowErrorsFileGivesOne()
    {
        QCOMPARE(readShowErrorsSetting(QStringLiteral("/nonexistent/sv10.jpg")), 1);
    }

    void sessionStartsWithFoldersAndFlags()
    {
        SessionState session;
        session.SoundOn = false;
        session.Mode = SessionMode::CourseTest;
        startSession(session, QStringLiteral("/opt/tarvel/"));
        QCOMPARE(session.ProgramFolder, QStringLiteral("/opt/tarvel"));
        QCOMPARE(session.SkinFolder, QStringLiteral("/opt/tarvel/data/jpg/skin/"));
        QVERIFY(session.SoundOn);
        QCOMPARE(session.Mode, SessionMode::Reading);
        QCOMPARE(session.ShowErrorsSetting, qint16(1));
    }

    void staleTestFilesAreDeleted()
    {
        TestProgramFolder folder;
        SessionState session;
        startSession(session, folder.path());
        writeBytes(folder.data(QStringLiteral("curr_test.ini")), "first\r\n");
        writeBytes(folder.data(QStringLiteral("temp1.ini")), "first\r\n");
        deleteStaleTestFiles(session);
        QVERIFY(!QFile::exists(folder.data(QStringLiteral("curr_test.ini"))));
        QVERIFY(!QFile::exists(folder.data(QStringLiteral("temp1.ini"))));
        deleteStaleTestFiles(session); // nothing to delete is no error
    }

    void administratorNeedsBothNames()
    {
        QVERIFY(!administrator::hasNames(QStringLiteral("vedok"), QStringLiteral("Иванов")));
        QVERIFY(administrator::hasNames(QStringLiteral("vedok"), QStringLiteral("vedok")));
        QVERIFY(!administrator::hasNames(QStringLiteral("Vedok"), QStringLiteral("vedok")));
    }

    void catalogueFillsTwentySlots()
    {
        QStringList lines{"каталог", "start"};
        for (int k = 1; k <= 20; ++k)
            lines << QStringLiteral("тест %1").arg(k)
                  << (k <= 14 ? QStringLiteral("  Тест %1 ").arg(k) : QString())
                  << (k <= 14 ? QStringLiteral(" T01_%1.jpg").arg(95 + k) : QString());
        SessionState session;
        parseTestCatalogue(session, lines);
        QCOMPARE(session.TestCatalogueNames[0], QStringLiteral("Тест 1"));
        QCOMPARE(session.TestCatalogueFiles[0], QStringLiteral("T01_96.jpg"));
        QCOMPARE(session.TestCatalogueNames[13], QStringLiteral("Тест 14"));
        QVERIFY(session.TestCatalogueNames[14].isEmpty());
        QVERIFY(session.TestCatalogueFiles[19].isEmpty());
    }

    void shortOrMissingCatalogueFillsWhatIsThere()
    {
        SessionState session;
        session.TestCatalogueNames[5] = QStringLiteral("old");
        parseTestCatalogue(session, {"start", "1", "Светофоры", "T01_97.jpg", "2", "Стрелки"});
        QCOMPARE(session.TestCatalogueNames[0], QStringLiteral("Светофоры"));
        QCOMPARE(session.TestCatalogueNames[1], QStringLiteral("Стрелки"));
        QVERIFY(session.TestCatalogueFiles[1].isEmpty());
        QVERIFY(session.TestCatalogueNames[5].isEmpty());

        QVERIFY(!readTestCatalogue(session, QStringLiteral("/nonexistent/14_15.jpg")));
        QVERIFY(session.TestCatalogueNames[0].isEmpty());
        parseTestCatalogue(session, {"no start line", "x", "y"});
        QVERIFY(session.TestCatalogueNames[0].isEmpty());
    }

    void demoCatalogueListsTheCourseTestInSlot14()
    {
        SessionState session;
        QVERIFY(readTestCatalogue(session, QStringLiteral(TARVEL_DEMO_DATA "/jpg/") +
                                               datafiles::TestCatalogueFile));
        QCOMPARE(session.TestCatalogueNames[0], QStringLiteral("Проверка зависимостей"));
        QCOMPARE(session.TestCatalogueFiles[12], QStringLiteral("T01_108.jpg"));
        QCOMPARE(session.TestCatalogueNames[13], QStringLiteral("Тест по всему курсу"));
        QCOMPARE(session.TestCatalogueFiles[13], QStringLiteral("sv9.jpg"));
        QVERIFY(session.TestCatalogueNames[14].isEmpty());
    }
};

QTEST_GUILESS_MAIN(StartupTest)
#include "tst_startup.moc"
