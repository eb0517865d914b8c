#include "classroom.h"
#include "network/monitorwindow.h"
#include "network/pupilpoller.h"
#include "network/pupilstatus.h"
#include "network/setupwindows.h"
#include "network/setupwizard.h"
#include "windowsupport.h"

#include "networkharness.h"
#include <QComboBox>
#include <QLineEdit>

#include <QProgressBar>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QList<QLabel *> cells(QWidget *monitor, const char *name)
{
    return monitor->findChildren<QLabel *>(QString::fromLatin1(name));
}
} // namespace

class MonitorTest : public QObject
{
    Q_OBJECT
private:
    MonitorWindow *openMonitor(NetworkHarness &h)
    {
        auto *monitor = h.windows.open<MonitorWindow>();
        monitor->poller()->setPatience(500);
        return monitor;
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void showsRunningAndFinishedTests()
    {
        Classroom room(3);
        room.progress(2, "Иван", "Петров", 20, 7, 5);
        NetworkHarness h(room.teacher().path());
        MonitorWindow *monitor = openMonitor(h);
        QVERIFY(!monitor->findChild<QLabel *>("metNEEDsetup")->isVisible());
        QTRY_COMPARE(cells(monitor, "Met_NAME").at(1)->text(), QStringLiteral("Петров"));
        QCOMPARE(cells(monitor, "Met_USER").at(1)->text(), QStringLiteral("№2"));
        QCOMPARE(cells(monitor, "Met_Prav").at(1)->text(), QStringLiteral("5/20"));
        QCOMPARE(cells(monitor, "Met_CURR").at(1)->text(), QStringLiteral("7"));
        QCOMPARE(cells(monitor, "Met_OCENKA").at(1)->text(), QString());
        QCOMPARE(cells(monitor, "Met_ANSWERED").at(1)->text(), QStringLiteral("только что"));
        QProgressBar *bar = monitor->findChildren<QProgressBar *>("ProgreSS1").at(1);
        QCOMPARE(bar->maximum(), 20);
        QCOMPARE(bar->value(), 7);
        QCOMPARE(cells(monitor, "Met_USER").at(0)->text(), QStringLiteral("№1"));
        QVERIFY(cells(monitor, "Met_Prav").at(0)->text().isEmpty());
        checkAccessibility(monitor);

        // The pupil finishes; a damaged file on computer 3 never gives an invalid range.
        room.progress(2, "Иван", "Петров", 10, 10, 7, 4);
        writeBytes(room.pupilData(3, "curr_test.ini"),
                   textfile::joinLines({"first", "Ф", "second", "Сидоров", "max", "-4", "curr",
                                        "999", "ocenka", "0"}));
        monitor->setPollInterval(10);
        QTRY_COMPARE(cells(monitor, "Met_OCENKA").at(1)->text(), QStringLiteral("4"));
        QCOMPARE(cells(monitor, "Met_ANSWERED").at(1)->text(),
                 QStringLiteral("закончил, оценка 4"));
        QTRY_COMPARE(cells(monitor, "Met_NAME").at(2)->text(), QStringLiteral("Сидоров"));
        QProgressBar *damaged = monitor->findChildren<QProgressBar *>("ProgreSS1").at(2);
        QVERIFY(damaged->minimum() <= damaged->value() && damaged->value() <= damaged->maximum());

        // A file that is gone after having had data shows the number only.
        QFile::remove(room.pupilData(2, "curr_test.ini"));
        monitor->setPollInterval(10);
        QTRY_VERIFY(cells(monitor, "Met_NAME").at(1)->text().isEmpty());
        QCOMPARE(cells(monitor, "Met_USER").at(1)->text(), QStringLiteral("№2"));

        // The classroom is cleared while the setup is open: on its return the monitor says so
        // and hides the progress bars.
        writeBytes(room.netIni(), "clear\r\n");
        h.click("frmNET", "btnNETSetup");
        loadedWindow("frmNETSetuP1")->close();
        QTRY_VERIFY(monitor->findChild<QLabel *>("metNEEDsetup")->isVisibleTo(monitor));
        QVERIFY(!bar->isVisibleTo(monitor));
    }

    void pageButtonsWithTenAndTwentyComputers()
    {
        Classroom ten(10);
        NetworkHarness h10(ten.teacher().path());
        MonitorWindow *small = openMonitor(h10);
        QVERIFY(!small->findChild<QPushButton *>("btnNEXT15")->isVisible());
        QVERIFY(!small->findChild<QPushButton *>("btnPREV15")->isVisible());
        QTRY_VERIFY(!small->pollBusy() && h10.session.Pupils.size() > 0 &&
                    cells(small, "Met_USER").at(14)->text() == QStringLiteral("№15"));
        small->close();

        Classroom twenty(20);
        twenty.progress(17, "Анна", "Смирнова", 10, 3, 2);
        NetworkHarness h(twenty.teacher().path());
        MonitorWindow *monitor = openMonitor(h);
        auto *next = monitor->findChild<QPushButton *>("btnNEXT15");
        auto *prev = monitor->findChild<QPushButton *>("btnPREV15");
        QVERIFY(next->isVisible());
        QVERIFY(!prev->isVisible());
        QTRY_COMPARE(h.session.Pupils.at(16).second, QStringLiteral("Смирнова"));
        next->click();
        QVERIFY(next->isVisible() && prev->isVisible());
        QCOMPARE(cells(monitor, "Met_USER").at(0)->text(), QStringLiteral("№16"));
        QCOMPARE(cells(monitor, "Met_NAME").at(1)->text(), QStringLiteral("Смирнова"));
        next->click();
        QVERIFY(!next->isVisible() && prev->isVisible());
        QCOMPARE(cells(monitor, "Met_USER").at(0)->text(), QStringLiteral("№31"));
        QCOMPARE(cells(monitor, "Met_USER").at(14)->text(), QStringLiteral("№45"));
        QVERIFY(cells(monitor, "Met_NAME").at(1)->text().isEmpty());
        prev->click();
        prev->click();
        QVERIFY(!prev->isVisible() && next->isVisible());
        QCOMPARE(h.session.NetPage, 1);
    }

    // A pipe in place of a pupil's file is damage, shown at once; it never holds the poll.
    void pipeInPlaceOfTheFileIsDamage()
    {
        Classroom room(3);
        room.progress(1, "А", "Первый", 10, 2, 1);
        room.progress(3, "В", "Третий", 10, 4, 3);
        const QString fifo = room.pupilData(2, "curr_test.ini");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        NetworkHarness h(room.teacher().path());
        MonitorWindow *monitor = openMonitor(h);
        QTRY_COMPARE(cells(monitor, "Met_NAME").at(2)->text(), QStringLiteral("Третий"));
        QTRY_COMPARE(cells(monitor, "Met_NAME").at(1)->text(), pupilstatus::DamagedText);
        QTRY_COMPARE(cells(monitor, "Met_NAME").at(0)->text(), QStringLiteral("Первый"));
        QTRY_VERIFY(!monitor->pollBusy());
        QVERIFY(!monitor->poller()->isReading(2));

        // A regular file again: its row follows.
        QVERIFY(QFile::remove(fifo));
        room.progress(2, "Б", "Второй", 5, 2, 1);
        monitor->setPollInterval(10);
        QTRY_COMPARE(cells(monitor, "Met_NAME").at(1)->text(), QStringLiteral("Второй"));
    }

    void unconfiguredMonitorAndSetupWizard()
    {
        Classroom room(2);
        writeBytes(room.netIni(), "clear\r\n");
        QStringList starts;
        QString answer = room.pupilFolder(1) + QStringLiteral("Тарвел");
        const auto chooser = SetupProgramFileStep::chooseFile;
        auto restore = qScopeGuard([&] { SetupProgramFileStep::chooseFile = chooser; });
        SetupProgramFileStep::chooseFile = [&](const QString &start) {
            starts << start;
            return answer;
        };
        NetworkHarness h(room.teacher().path());
        MonitorWindow *monitor = openMonitor(h);
        QVERIFY(monitor->findChild<QLabel *>("metNEEDsetup")->isVisible());
        QVERIFY(!monitor->findChild<QPushButton *>("btnLOG")->isEnabled());
        QVERIFY(!monitor->findChild<QPushButton *>("btnTestALONE")->isEnabled());
        QVERIFY(!monitor->pollTimer()->isActive());

        h.click("frmNET", "btnNETSetup");
        QVERIFY(loadedWindow("frmNETSetuP1")->isVisible());
        QVERIFY(!monitor->isVisible());
        auto *count = h.child<QLineEdit>("frmNETSetuP1", "txt1");
        count->setText("abc");
        h.click("frmNETSetuP1", "Комманда1");
        QCOMPARE(h.text("frmNETSetuP1", "Met2"), netsetup::ZeroText);
        count->setText("2 компьютера");
        h.click("frmNETSetuP1", "Комманда1");
        QCOMPARE(h.text("frmNETSetuP2", "Met2"),
                 QStringLiteral("На компьютере № 1 программа установлена ?"));
        checkAccessibility(loadedWindow("frmNETSetuP2"));
        pressInModalSoon("frmNETSetuP3", "Command1", [](QWidget *step3) {
            checkAccessibility(step3);
            // Step 2 waits for step 3: its "Отмена" pressed through the accessibility interface
            // does nothing (it used to close step 2 under the open step 3, and choosing a
            // program then crashed).
            const QPointer<QWidget> step2 = loadedWindow("frmNETSetuP2");
            QAccessibleInterface *cancel =
                QAccessible::queryAccessibleInterface(step2->findChild<QPushButton *>("Комманда3"));
            cancel->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QTest::qWait(300);
            QVERIFY(step2 && step2->isVisible());
        });
        h.click("frmNETSetuP2", "Комманда1");
        QCOMPARE(h.text("frmNETSetuP2", "Met2"),
                 QStringLiteral("На компьютере № 2 программа установлена ?"));
        QCOMPARE(starts, QStringList{QDir::homePath()});

        // "Отмена" in the middle leaves the whole setup; net.ini and the session stay as they were.
        h.click("frmNETSetuP2", "Комманда3");
        QTRY_VERIFY(monitor->isVisible());
        QVERIFY(!loadedWindow("frmNETSetuP1") || !loadedWindow("frmNETSetuP1")->isVisible());
        QCOMPARE(readBytes(room.netIni()), QByteArray("clear\r\n"));
        QCOMPARE(h.session.NetCount, qint16(0));

        // Escape leaves step 1 as its cancel button does.
        h.click("frmNET", "btnNETSetup");
        QWidget *step1 = loadedWindow("frmNETSetuP1");
        QVERIFY(QTest::qWaitForWindowActive(step1));
        QTest::keyClick(step1, Qt::Key_Escape);
        QTRY_VERIFY(monitor->isVisible());

        // Again, with a Windows pupil's program in capitals; the dialog starts where the last
        // program was chosen.
        h.click("frmNET", "btnNETSetup");
        h.child<QLineEdit>("frmNETSetuP1", "txt1")->setText("2");
        h.click("frmNETSetuP1", "Комманда1");
        answer = room.pupilFolder(1) + QStringLiteral("ТАРВЕЛ.EXE");
        pressInModalSoon("frmNETSetuP3", "Command1");
        h.click("frmNETSetuP2", "Комманда1");
        QCOMPARE(starts.last(), room.pupilFolder(1));
        h.click("frmNETSetuP2", "Комманда2");
        const QByteArray configured =
            textfile::joinLines({"number", " 2 ", " 1 ", room.pupilFolder(1), " 2 ", ""});
        QCOMPARE(readBytes(room.netIni()), configured);
        QTRY_VERIFY(monitor->isVisible());
        QTRY_VERIFY(!monitor->findChild<QLabel *>("metNEEDsetup")->isVisible());
        QVERIFY(monitor->findChild<QPushButton *>("btnLOG")->isEnabled());
        QVERIFY(monitor->pollTimer()->isActive());
        QCOMPARE(h.session.NetPath.at(0), room.pupilFolder(1));

        // Computer 2 changed through a cancelled dialog, then a wrong file: nothing is stored.
        h.click("frmNET", "btnNETSetup");
        QVERIFY(loadedWindow("frmNETSetup5")->isVisible());
        QCOMPARE(h.text("frmNETSetup5", "metWAY"), room.pupilFolder(1));
        h.child<QComboBox>("frmNETSetup5", "cOmBo1")->setCurrentIndex(1);
        for (const QString &chosen :
             {QString(), room.pupilFolder(1) + QStringLiteral("data/curr_test.ini")}) {
            answer = chosen;
            pressInModalSoon("frmNETSetuP3", "Command1", {});
            pressInModalSoon("frmNETSetuP3", "Command2", [&](QWidget *step3) {
                QCOMPARE(step3->findChild<QLabel *>("Met2")->text().isEmpty(), chosen.isEmpty());
            });
            h.click("frmNETSetup5", "btnChangeONE");
            QCOMPARE(readBytes(room.netIni()), configured);
            QCOMPARE(h.text("frmNETSetup5", "metWAY"), QString());
        }
        h.click("frmNETSetup5", "btnRETURN");
        QTRY_VERIFY(monitor->isVisible());
    }
};

QTEST_MAIN(MonitorTest)
#include "tst_monitor.moc"
