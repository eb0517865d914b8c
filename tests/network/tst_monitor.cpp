#include "classroomfolders.h"
#include "network/monitormodel.h"
#include "network/monitorwindow.h"
#include "network/pupilpoller.h"
#include "network/pupilstatus.h"
#include "network/setupwindows.h"
#include "network/setupwizard.h"
#include "networkharness.h"
#include "windowsupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString cell(MonitorWindow *monitor, int row, MonitorModel::Column column)
{
    return monitor->model()->index(row, column).data().toString();
}

QVariant progress(MonitorWindow *monitor, int row, MonitorModel::Role role)
{
    return monitor->model()->index(row, MonitorModel::Progress).data(role);
}
} // namespace

class MonitorTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void showsRunningAndFinishedTests()
    {
        ClassroomFolders room(3);
        room.progress(2, "Иван", "Петров", 20, 7, 5);
        // A pipe in place of a pupil's file is damage, shown at once; it never holds the poll.
        const QString fifo = room.pupilData(1, "curr_test.ini");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        NetworkHarness h(room.teacher().path());
        MonitorWindow *monitor = h.openMonitor();
        QVERIFY(!monitor->findChild<QLabel *>("metNEEDsetup")->isVisible());
        QTRY_COMPARE(cell(monitor, 1, MonitorModel::Name), QStringLiteral("Петров"));
        QCOMPARE(cell(monitor, 1, MonitorModel::Computer), "№2");
        QCOMPARE(cell(monitor, 1, MonitorModel::Right), "5/20");
        QCOMPARE(cell(monitor, 1, MonitorModel::Current), "7");
        QCOMPARE(cell(monitor, 1, MonitorModel::Grade), "");
        QCOMPARE(cell(monitor, 1, MonitorModel::Answered), "только что");
        QCOMPARE(progress(monitor, 1, MonitorModel::MaximumRole).toInt(), 20);
        QCOMPARE(progress(monitor, 1, MonitorModel::ValueRole).toInt(), 7);
        QCOMPARE(cell(monitor, 0, MonitorModel::Computer), QStringLiteral("№1"));
        QTRY_COMPARE(cell(monitor, 0, MonitorModel::Name), pupilstatus::DamagedText);
        QVERIFY(cell(monitor, 0, MonitorModel::Right).isEmpty());
        QTRY_VERIFY(!monitor->poller()->isPolling());
        QVERIFY(!monitor->poller()->isReading(1));
        // A classroom of less than 16 computers: one page of 15 rows, no page buttons.
        QCOMPARE(cell(monitor, 14, MonitorModel::Computer), QStringLiteral("№15"));
        for (const char *button : {"btnNEXT15", "btnPREV15"})
            QVERIFY(!monitor->findChild<QPushButton *>(button)->isVisible());
        checkAccessibility(monitor);
        // Screen readers read the rows as a table's cells.
        QAccessibleInterface *table =
            QAccessible::queryAccessibleInterface(monitor->findChild<QTableView *>("metTABLE"));
        QCOMPARE(table->role(), QAccessible::Table);
        QCOMPARE(table->tableInterface()->cellAt(1, MonitorModel::Name)->text(QAccessible::Name),
                 "Петров");

        // The pupil finishes; a damaged file on computer 3 never gives an invalid range; a
        // regular file again in place of the pipe is followed.
        room.progress(2, "Иван", "Петров", 10, 10, 7, 4);
        QVERIFY(QFile::remove(fifo));
        room.progress(1, "Б", "Второй", 5, 2, 1);
        writeBytes(room.pupilData(3, "curr_test.ini"),
                   textfile::joinLines({"first", "Ф", "second", "Сидоров", "max", "-4", "curr",
                                        "999", "ocenka", "0"}));
        monitor->poll();
        QTRY_COMPARE(cell(monitor, 1, MonitorModel::Grade), QStringLiteral("4"));
        QCOMPARE(cell(monitor, 1, MonitorModel::Answered), QStringLiteral("закончил, оценка 4"));
        QTRY_COMPARE(cell(monitor, 2, MonitorModel::Name), QStringLiteral("Сидоров"));
        QTRY_COMPARE(cell(monitor, 0, MonitorModel::Name), QStringLiteral("Второй"));
        const int value = progress(monitor, 2, MonitorModel::ValueRole).toInt();
        QVERIFY(progress(monitor, 2, MonitorModel::MinimumRole).toInt() <= value &&
                value <= progress(monitor, 2, MonitorModel::MaximumRole).toInt());

        // A file that is gone after having had data shows the number only.
        QFile::remove(room.pupilData(2, "curr_test.ini"));
        monitor->poll();
        QTRY_VERIFY(cell(monitor, 1, MonitorModel::Name).isEmpty());
        QCOMPARE(cell(monitor, 1, MonitorModel::Computer), QStringLiteral("№2"));

        // The classroom is cleared while the setup is open: on its return the monitor says so
        // and hides the progress bars.
        writeBytes(room.netIni(), "clear\r\n");
        h.click("frmNET", "btnNETSetup");
        loadedWindow("frmNETSetuP1")->close();
        QTRY_VERIFY(monitor->findChild<QLabel *>("metNEEDsetup")->isVisibleTo(monitor));
        QVERIFY(!progress(monitor, 1, MonitorModel::MaximumRole).isValid());
    }

    void pageButtonsWithTwentyComputers()
    {
        ClassroomFolders twenty(20);
        twenty.progress(17, "Анна", "Смирнова", 10, 3, 2);
        NetworkHarness h(twenty.teacher().path());
        MonitorWindow *monitor = h.openMonitor();
        auto *next = monitor->findChild<QPushButton *>("btnNEXT15");
        auto *prev = monitor->findChild<QPushButton *>("btnPREV15");
        QVERIFY(next->isVisible() && !prev->isVisible());
        QTRY_COMPARE(h.classroom.pupil(17).surname, QStringLiteral("Смирнова"));
        next->click();
        QVERIFY(next->isVisible() && prev->isVisible());
        QCOMPARE(cell(monitor, 0, MonitorModel::Computer), QStringLiteral("№16"));
        QCOMPARE(cell(monitor, 1, MonitorModel::Name), QStringLiteral("Смирнова"));
        prev->click();
        QVERIFY(!prev->isVisible() && next->isVisible());
        QVERIFY(cell(monitor, 1, MonitorModel::Name).isEmpty());
        QCOMPARE(monitor->model()->pages().page(), 1);
    }

    void unconfiguredMonitorAndSetupWizard()
    {
        ClassroomFolders room(2);
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
        MonitorWindow *monitor = h.openMonitor();
        QVERIFY(monitor->findChild<QLabel *>("metNEEDsetup")->isVisible());
        for (const char *button : {"btnLOG", "btnTestALONE"})
            QVERIFY(!monitor->findChild<QPushButton *>(button)->isEnabled());
        QVERIFY(!monitor->pollTimer()->isActive());

        h.click("frmNET", "btnNETSetup");
        QVERIFY(loadedWindow("frmNETSetuP1")->isVisible() && !monitor->isVisible());
        auto *count = h.child<QLineEdit>("frmNETSetuP1", "txt1");
        count->setText("abc");
        h.click("frmNETSetuP1", "Комманда1");
        QCOMPARE(h.text("frmNETSetuP1", "Met2"), netsetup::ZeroText);
        count->setText("2 компьютера");
        h.click("frmNETSetuP1", "Комманда1");
        QCOMPARE(h.text("frmNETSetuP2", "Met2"), "На компьютере № 1 программа установлена ?");
        checkAccessibility(loadedWindow("frmNETSetuP2"));
        pressWhenShown("frmNETSetuP3", "Command1", [](QWidget *step3) {
            checkAccessibility(step3);
            // Step 2 waits for step 3: its "Отмена" pressed through the accessibility interface
            // does nothing (it used to close step 2 under the open step 3, and choosing a
            // program then crashed).
            // A press taken holds the button down until its click comes.
            QWidget *step2 = loadedWindow("frmNETSetuP2");
            auto *cancel = step2->findChild<QPushButton *>("Комманда3");
            QAccessible::queryAccessibleInterface(cancel)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
            QVERIFY(!cancel->isDown() && step2->isVisible());
        });
        h.click("frmNETSetuP2", "Комманда1");
        QCOMPARE(h.text("frmNETSetuP2", "Met2"), "На компьютере № 2 программа установлена ?");
        QCOMPARE(starts, QStringList{QDir::homePath()});

        // "Отмена" in the middle leaves the whole setup; net.ini and the session stay as they were.
        h.click("frmNETSetuP2", "Комманда3");
        QTRY_VERIFY(monitor->isVisible());
        QVERIFY(!loadedWindow("frmNETSetuP1") || !loadedWindow("frmNETSetuP1")->isVisible());
        QCOMPARE(readBytes(room.netIni()), QByteArray("clear\r\n"));
        QCOMPARE(h.classroom.count(), 0);

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
        pressWhenShown("frmNETSetuP3", "Command1");
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
        QCOMPARE(h.classroom.folder(1), room.pupilFolder(1));

        // Computer 2 changed through a cancelled dialog, then a wrong file: nothing is stored.
        h.click("frmNET", "btnNETSetup");
        QVERIFY(loadedWindow("frmNETSetup5")->isVisible());
        QCOMPARE(h.text("frmNETSetup5", "metWAY"), room.pupilFolder(1));
        h.child<QComboBox>("frmNETSetup5", "cOmBo1")->setCurrentIndex(1);
        for (const QString &chosen : {QString(), room.pupilFolder(1) + "data/curr_test.ini"}) {
            answer = chosen;
            pressWhenShown("frmNETSetuP3", "Command2", [&](QWidget *step3) {
                step3->findChild<QPushButton *>("Command1")->click();
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
