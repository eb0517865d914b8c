#include "classroomfolders.h"
#include "network/monitorwindow.h"
#include "network/remoteadminwindow.h"
#include "network/sharereader.h"
#include "networkharness.h"
#include "users/useradminpanel.h"
#include "users/userbase.h"
#include "windowsupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSemaphore>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>

#include <sys/stat.h>

namespace {
QString basePath(const ClassroomFolders &room, int i)
{
    return room.pupilData(i, QStringLiteral("jpg/2_17.jpg"));
}

void choose(QComboBox *list, int index)
{
    list->setCurrentIndex(index);
    Q_EMIT list->activated(index);
}

// The remote administration, opened from the monitor as the teacher opens it.
QWidget *openRemoteAdmin(NetworkHarness &h)
{
    h.windows.open<MonitorWindow>();
    h.click("frmNET", "btnNETadmin");
    return loadedWindow("frmNETBOSS");
}

// The pupils' bases reached through `pupilStorage` as a test replaces it, answers awaited for
// 0.3 s; `gate` holds up what the test makes wait. Shared with the reader threads, which may
// outlive the test.
struct SlowShare
{
    SlowShare() { RemoteAdminWindow::answerLimitMs = 300; }
    ~SlowShare()
    {
        gate->release(10);
        RemoteAdminWindow::pupilStorage = real;
        RemoteAdminWindow::answerLimitMs = limit;
    }
    const UserAdministration::Storage real = RemoteAdminWindow::pupilStorage;
    const int limit = RemoteAdminWindow::answerLimitMs;
    const std::shared_ptr<QSemaphore> gate = std::make_shared<QSemaphore>();
};

// Answers the next ConfirmWindow with `button` once it shows `text`.
void answerSure(const QString &text, const char *button)
{
    pressWhenShown("frmSURE", QString::fromLatin1(button), [text](QWidget *sure) {
        QCOMPARE(sure->findChild<QLabel *>("m1")->text(), text);
    });
}
} // namespace

class RemoteAdminTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void deletingOnComputerThreeTouchesNoOtherBase()
    {
        ClassroomFolders room(5);
        writeUserBase(basePath(room, 1), {{"Петров", "Иван"}});
        UserBase graded = *UserBase::load(basePath(room, 1));
        graded.records[1].results[1] = QStringLiteral("4");
        graded.records[1].results[13] = QStringLiteral("5");
        QVERIFY(graded.save(basePath(room, 1)));
        writeUserBase(basePath(room, 3), {{"Сидоров", "Олег"}, {"Смирнова", "Анна"}});
        writeUserBase(basePath(room, 4), {{"Кузнецов", "Пётр"}});
        writeUserBase(room.teacher().jpg("2_17.jpg"), {{"Учитель", "Мария"}});
        // Computer 2 is not set up; computer 4's folder has gone; computer 5's base is a link to
        // the teacher's.
        QVERIFY(QFile::link(room.teacher().jpg("2_17.jpg"), basePath(room, 5)));
        Classroom config;
        loadNetConfig(config, room.netIni());
        Classroom::Folders folders = config.folders();
        folders[1].clear();
        folders[3] = room.pupilFolder(4) + QStringLiteral("gone/");
        config.assign(config.count(), folders);
        QVERIFY(saveNetConfig(config, room.netIni()));
        const QByteArray before1 = readBytes(basePath(room, 1));
        const QByteArray before4 = readBytes(basePath(room, 4));
        const QByteArray teacher = readBytes(room.teacher().jpg("2_17.jpg"));

        NetworkHarness h(room.teacher().path());
        h.session.catalogue.names[1] = QStringLiteral("Светофоры");
        h.session.catalogue.names[13] = QStringLiteral("Тест по всему курсу");
        QWidget *boss = openRemoteAdmin(h);
        QVERIFY(boss && boss->isVisible());
        // Under a window manager the window is activated later; its focus shows a hint in the
        // status line, which must come before the steps below, not in their midst.
        QVERIFY(QTest::qWaitForWindowActive(boss));
        QVERIFY(!loadedWindow("frmNET")->isVisible());
        QVERIFY(boss->windowTitle().startsWith(QString(30, u' ') + u'"'));
        auto *computers = h.child<QComboBox>("frmNETBOSS", "cOmBo4");
        QCOMPARE(computers->count(), 4);
        QCOMPARE(computers->itemText(0), QStringLiteral("№ 1"));
        QCOMPARE(computers->itemText(1), QStringLiteral("№ 3"));
        auto *surnames = h.child<QComboBox>("frmNETBOSS", "cOmBo1");
        QTRY_COMPARE(surnames->count(), 2);
        QCOMPARE(surnames->itemText(1), QStringLiteral("Петров"));
        checkAccessibility(boss);
        // Each grade stands under the catalogue's name of its slot, the course test's too.
        choose(surnames, 1);
        for (const auto &[slot, test, grade] :
             {std::tuple{2, "Светофоры", "хорошо"}, {14, "Тест по всему курсу", "отлично"}}) {
            auto *value = h.child<QLabel>("frmNETBOSS", QStringLiteral("lblResult%1").arg(slot));
            QVERIFY2(value && value->isVisible(), test);
            QCOMPARE(value->text(), QString::fromUtf8(grade));
            QCOMPARE(value->accessibleDescription(), QString::fromUtf8(test));
            QCOMPARE(h.text("frmNETBOSS", QStringLiteral("lblTest%1").arg(slot)),
                     QString::fromUtf8(test));
        }
        QVERIFY(!h.child<QLabel>("frmNETBOSS", "lblResult1"));

        choose(computers, 1);
        QTRY_COMPARE(surnames->count(), 3);
        choose(surnames, 1);
        QCOMPARE(surnames->currentText(), QStringLiteral("Сидоров"));
        pressWhenShown("frmSURE", "cmd1");
        auto *del = boss->findChild<QAbstractButton *>("DEL_but");
        QVERIFY(del);
        del->click();
        QTRY_COMPARE(surnames->count(), 2);
        // The confirmation has gone; a window manager gives this window the focus back, and
        // with it the hint of the focused list, before the next step.
        if (QGuiApplication::platformName() == QStringLiteral("xcb"))
            QVERIFY(QTest::qWaitForWindowActive(boss));
        const UserBase after = *UserBase::load(basePath(room, 3));
        QCOMPARE(after.indexOf(QStringLiteral("Олег"), QStringLiteral("Сидоров")), -1);
        QVERIFY(after.indexOf(QStringLiteral("Анна"), QStringLiteral("Смирнова")) > 0);
        QCOMPARE(readBytes(basePath(room, 1)), before1);
        QCOMPARE(readBytes(basePath(room, 4)), before4);

        // A computer that cannot be reached says so; choosing another one recovers.
        choose(computers, 2);
        QTRY_COMPARE(h.text("frmNETBOSS", "sbStatusBar"), RemoteAdminWindow::UnreadableText);
        QVERIFY(!surnames->isEnabled());
        choose(computers, 0);
        QTRY_VERIFY(surnames->isEnabled());
        QCOMPARE(surnames->count(), 2);
        // A link in a pupil's folder is never read or written through.
        choose(surnames, 1);
        QCOMPARE(h.text("frmNETBOSS", "sbStatusBar"), UserAdministration::SelectText);
        choose(computers, 3);
        QTRY_COMPARE(h.text("frmNETBOSS", "sbStatusBar"), RemoteAdminWindow::UnreadableText);
        QVERIFY(!surnames->isEnabled());
        QVERIFY(!boss->findChild<QAbstractButton *>("chANge_but")->isEnabled());
        QCOMPARE(readBytes(room.teacher().jpg("2_17.jpg")), teacher);

        h.click("frmNETBOSS", "btnRETURN");
        QTRY_VERIFY(loadedWindow("frmNET")->isVisible());
    }

    // A pipe in place of one base, and a share that does not answer at all, cost the teacher
    // nothing but a message for that computer; the monitor goes on polling meanwhile.
    void oddOrHungShareLeavesTheTeacherWorking()
    {
        ClassroomFolders room(3);
        writeUserBase(basePath(room, 1), {{"Петров", "Иван"}});
        QCOMPARE(::mkfifo(QFile::encodeName(basePath(room, 2)).constData(), 0600), 0);
        writeUserBase(basePath(room, 3), {{"Сидоров", "Олег"}});
        const SlowShare share;
        RemoteAdminWindow::pupilStorage.read = [gate = share.gate, real = share.real,
                                                hung = room.pupilFolder(3)](const QString &folder,
                                                                            UserBase &base) {
            if (folder == hung)
                gate->acquire(); // a dead server
            return real.read(folder, base);
        };

        NetworkHarness h(room.teacher().path());
        auto *monitor = h.windows.open<MonitorWindow>();
        h.click("frmNET", "btnNETadmin");
        auto *computers = h.child<QComboBox>("frmNETBOSS", "cOmBo4");
        auto *surnames = h.child<QComboBox>("frmNETBOSS", "cOmBo1");
        QTRY_COMPARE(surnames->count(), 2);

        choose(computers, 1);
        QTRY_COMPARE(h.text("frmNETBOSS", "sbStatusBar"), RemoteAdminWindow::UnreadableText);
        QCOMPARE(surnames->count(), 0);

        choose(computers, 2);
        room.progress(1, "Иван", "Петров", 10, 3, 2);
        monitor->poll();
        QTRY_COMPARE(h.text("frmNETBOSS", "sbStatusBar"), RemoteAdminWindow::notAnsweredText(3));
        QCOMPARE(surnames->count(), 0);
        QTRY_COMPARE(h.classroom.pupil(1).surname, QStringLiteral("Петров"));

        choose(computers, 0);
        QTRY_COMPARE(surnames->count(), 2);
        QCOMPARE(surnames->itemText(1), QStringLiteral("Петров"));
        // The late answer of computer 3 does not replace computer 1's lists.
        share.gate->release();
        QVERIFY(shareReadersStopped(5000));
        QCoreApplication::processEvents();
        QCOMPARE(surnames->itemText(1), QStringLiteral("Петров"));
    }

    // A change the share held up past the window's patience is cancelled when it had not begun
    // writing, also once the window has closed, and told when it lands after all, also once the
    // window has closed.
    void lateChangesAreCancelledOrTold()
    {
        ClassroomFolders room(1);
        writeUserBase(basePath(room, 1), {{"Петров", "Иван"}, {"Сидоров", "Олег"}});
        const SlowShare share;
        auto hangAfterWriting = std::make_shared<std::atomic<bool>>(true);
        auto landed = std::make_shared<std::atomic<bool>>(false);
        RemoteAdminWindow::pupilStorage.update =
            [=, gate = share.gate, real = share.real](
                const QString &folder, const std::function<bool(UserBase &)> &change) {
                if (!*hangAfterWriting)
                    gate->acquire();
                const UserBase::Access access = real.update(folder, change);
                if (*hangAfterWriting)
                    gate->acquire();
                *landed = true;
                return access;
            };

        NetworkHarness h(room.teacher().path());
        QWidget *boss = openRemoteAdmin(h);
        auto *surnames = h.child<QComboBox>("frmNETBOSS", "cOmBo1");
        QTRY_COMPARE(surnames->count(), 3);
        choose(surnames, 1);
        pressWhenShown("frmSURE", "cmd1");
        boss->findChild<QAbstractButton *>("DEL_but")->click();
        QTRY_COMPARE(h.text("frmNETBOSS", "sbStatusBar"), RemoteAdminWindow::notAnsweredText(1));
        share.gate->release();
        QTRY_COMPARE(h.text("frmNETBOSS", "sbStatusBar"), RemoteAdminWindow::changedLateText(1));
        QCOMPARE(UserBase::load(basePath(room, 1))->indexOf("Иван", "Петров"), -1);

        // A damaged base is told by the name of the file, not of the pupil's folder.
        const QByteArray intact = readBytes(basePath(room, 1));
        writeBytes(basePath(room, 1), intact.left(intact.size() - 3));
        auto *computers = h.child<QComboBox>("frmNETBOSS", "cOmBo4");
        choose(computers, 0);
        QTRY_COMPARE(h.text("frmNETBOSS", "sbStatusBar"),
                     UserBase::messageFor(UserBase::Access::Damaged, basePath(room, 1)));
        writeBytes(basePath(room, 1), intact);

        *hangAfterWriting = false;
        *landed = false;
        choose(computers, 0);
        QTRY_COMPARE(surnames->count(), 2);
        choose(surnames, 1);
        pressWhenShown("frmSURE", "cmd1");
        boss->findChild<QAbstractButton *>("DEL_but")->click();
        h.click("frmNETBOSS", "btnRETURN");
        // Dropped as the window closes, not later when it is destroyed: the share answering
        // at once lands nothing.
        share.gate->release();
        for (QDeadlineTimer patience(5000); !*landed && !patience.hasExpired();)
            QThread::msleep(1);
        QVERIFY(*landed);
        QTRY_VERIFY(loadedWindow("frmNET")->isVisible());
        QVERIFY(UserBase::load(basePath(room, 1))->indexOf("Олег", "Сидоров") > 0);

        // One already written when the window closed is told once its answer comes.
        *hangAfterWriting = true;
        h.click("frmNET", "btnNETadmin");
        surnames = h.child<QComboBox>("frmNETBOSS", "cOmBo1");
        QTRY_COMPARE(surnames->count(), 2);
        choose(surnames, 1);
        pressWhenShown("frmSURE", "cmd1");
        loadedWindow("frmNETBOSS")->findChild<QAbstractButton *>("DEL_but")->click();
        QTRY_COMPARE(UserBase::load(basePath(room, 1))->indexOf("Олег", "Сидоров"), -1);
        h.click("frmNETBOSS", "btnRETURN");
        QString told;
        pressWhenShown("frmINFO", "cmd_EXIT", [&told](QWidget *info) {
            told = info->findChild<QLabel *>("lab_info")->text();
        });
        share.gate->release();
        QTRY_COMPARE(told, RemoteAdminWindow::changedLateText(1));
    }

    // The pupil whose curr_test.ini names him is warned about before a rename or a delete.
    void warnsBeforeChangingAPupilUnderTest()
    {
        ClassroomFolders room(1);
        writeUserBase(basePath(room, 1), {{"Петров", "Иван"}});
        room.progress(1, "Иван", "Петров", 10, 3, 2);
        NetworkHarness h(room.teacher().path());
        h.windows.open<MonitorWindow>();
        QTRY_COMPARE(h.classroom.pupil(1).surname, QStringLiteral("Петров"));
        h.click("frmNET", "btnNETadmin");
        auto *surnames = h.child<QComboBox>("frmNETBOSS", "cOmBo1");
        QTRY_COMPARE(surnames->count(), 2);
        choose(surnames, 1);
        QWidget *boss = loadedWindow("frmNETBOSS");
        const QString warning = RemoteAdminWindow::testingText(1, user("Иван", "Петров", {}));

        answerSure(warning, "cmd2");
        boss->findChild<QAbstractButton *>("DEL_but")->click();
        QCOMPARE(UserBase::load(basePath(room, 1))->indexOf("Иван", "Петров"), 1);

        boss->findChild<QAbstractButton *>("chANge_but")->click();
        boss->findChild<QLineEdit *>("txt1")->setText(QStringLiteral("Петрова"));
        answerSure(warning, "cmd1");
        boss->findChild<QAbstractButton *>("butACCEPT")->click();
        QTRY_COMPARE(surnames->itemText(1), QStringLiteral("Петрова"));
        QCOMPARE(UserBase::load(basePath(room, 1))->indexOf("Иван", "Петрова"), 1);
    }

    void noConfiguredComputer()
    {
        ClassroomFolders room(2);
        Classroom config;
        config.assign(2, {});
        QVERIFY(saveNetConfig(config, room.netIni()));
        NetworkHarness h(room.teacher().path());
        openRemoteAdmin(h);
        QCOMPARE(h.child<QComboBox>("frmNETBOSS", "cOmBo4")->count(), 0);
        QCOMPARE(h.child<QComboBox>("frmNETBOSS", "cOmBo1")->count(), 0);
    }
};

QTEST_MAIN(RemoteAdminTest)
#include "tst_remoteadmin.moc"
