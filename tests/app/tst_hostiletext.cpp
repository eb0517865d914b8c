#include "app/application.h"
#include "core/sessionfiles.h"
#include "desk/screencheck.h"
#include "network/classroomfolders.h"
#include "network/monitormodel.h"
#include "network/monitorwindow.h"
#include "network/networkharness.h"
#include "network/pupilpoller.h"
#include "testing/testrun.h"
#include "testing/testsession.h"
#include "testing/testwindow.h"
#include "testsupport.h"
#include "windowsupport.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLayout>
#include <QtTest>

#include <sys/stat.h>

namespace {
// Every text the window shows a person: labels as a screen reader reads them (what is drawn,
// markup rendered), then buttons, frames, lists and tables, and the title.
QStringList shownTexts(QWidget *window)
{
    QStringList texts{window->windowTitle()};
    for (QLabel *label : window->findChildren<QLabel *>()) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(label);
        texts << (face ? face->text(QAccessible::Name) : QString());
    }
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>())
        texts << button->text();
    for (QGroupBox *frame : window->findChildren<QGroupBox *>())
        texts << frame->title();
    const auto addItems = [&texts](const QAbstractItemModel *model) {
        for (int row = 0; row < model->rowCount(); ++row) {
            for (int column = 0; column < model->columnCount(); ++column)
                texts << model->index(row, column).data().toString();
        }
    };
    for (QComboBox *list : window->findChildren<QComboBox *>())
        addItems(list->model());
    for (QAbstractItemView *view : window->findChildren<QAbstractItemView *>())
        addItems(view->model());
    return texts;
}

// The window of that name shows, once it does, the text as it was written, no label renders it as
// markup, and every window lies inside the screen.
void checkShownLiterally(const QString &name, const QString &text)
{
    QTRY_VERIFY(shown(name));
    QWidget *window = loadedWindow(name);
    window->layout()->activate();
    QCoreApplication::processEvents();
    for (QLabel *label : window->findChildren<QLabel *>()) {
        QVERIFY2(!label->text().contains(text) || label->textFormat() == Qt::PlainText,
                 qPrintable(window->objectName() + '/' + label->objectName()));
    }
    const QStringList texts = shownTexts(window);
    QVERIFY2(std::any_of(texts.begin(), texts.end(),
                         [&text](const QString &shown) { return shown.contains(text); }),
             qPrintable(window->objectName() + ": " + texts.join(" | ")));
    const QStringList faults = screencheck::faults();
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
}

// Clicks the button once its window shows.
void clickWhenShown(const QString &window, const QString &button)
{
    QTRY_VERIFY(shown(window));
    click(window, button);
}

// Five questions in the style of the demo banks, every text of them the hostile one.
QStringList hostileBank(const QString &text)
{
    QStringList lines{"Учебный курс.", "start", "name", text, "time", "0"};
    for (int q = 1; q <= 5; ++q) {
        lines << "temaname" << text << "vop" << text;
        for (int k = 1; k <= 5; ++k)
            lines << QStringLiteral("otv%1").arg(k) << (k == 1 ? "1" : "0") + text;
        lines << "good"
              << "5"
              << "ris" << text;
    }
    return lines;
}

SessionRecords hostileRecords(const QString &text)
{
    SessionRecords records;
    clearSessionRecords(records);
    for (int j = 0; j < 3; ++j) {
        SessionRecord &r = records[j];
        r.topic = r.question = r.picture = text;
        for (int k = 1; k <= 5; ++k)
            r.answers[k - 1] = text;
        r.chosenAnswer = 2;
        r.rightAnswer = 1;
    }
    return records;
}
} // namespace

// Names, topics, questions and answers read from files that look like markup or hold one
// unbroken word: every window shows them as written, loads nothing they name and stays on a
// 1024x768 screen.
class HostileTextTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_fifoFolder;

private Q_SLOTS:
    void initTestCase_data()
    {
        const QString fifo = m_fifoFolder.filePath("fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QTest::addColumn<QString>("text");
        QTest::addRow("bold") << "<b>Жирный</b> текст";
        QTest::addRow("image of /dev/zero") << "Петров <img src=\"/dev/zero\">";
        QTest::addRow("image of a FIFO") << "<img src=\"" + fifo + "\"> Иван";
        QTest::addRow("link") << "<a href=\"file:///etc/passwd\">ссылка</a>";
        QTest::addRow("heading") << "<h1>Заголовок</h1>";
        QTest::addRow("one long word") << QString(150, u'Ж');
    }
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void cleanup() { deleteAllWindows(); }

    void classroomWindows()
    {
        QFETCH_GLOBAL(QString, text);
        ClassroomFolders room(2);
        room.progress(1, text, text, 20, 3, 1, 0, text);
        writeSessionFile(room.pupilData(1, datafiles::SessionFile), {text, text, text, 20, 3, 1, 0},
                         hostileRecords(text));
        room.progress(2, text, text, 10, 10, 7, 4, text);
        writeUserBase(room.pupilData(1, QStringLiteral("jpg/2_17.jpg")), {{text, text}});

        NetworkHarness h(room.teacher().path());
        MonitorWindow *monitor = h.openMonitor();
        QTRY_COMPARE(monitor->model()->index(1, MonitorModel::Name).data().toString(), text);
        checkShownLiterally("frmNET", text);

        h.click("frmNET", "btnTestALONE");
        QTRY_VERIFY(h.child<QComboBox>("frmUSERchange", "Combo1")->count() > 0);
        checkShownLiterally("frmUSERchange", text);
        h.click("frmUSERchange", "Комманда1");
        QTRY_COMPARE(h.text("frmNetLog", "QESTION"), text);
        checkShownLiterally("frmNetLog", text);
        loadedWindow("frmNetLog")->close();

        clickWhenShown("frmNET", "btnLOG");
        checkShownLiterally("frmLOGnet", text);
        loadedWindow("frmLOGnet")->close();

        clickWhenShown("frmNET", "btnNETadmin");
        QTRY_VERIFY(h.child<QComboBox>("frmNETBOSS", "cOmBo1")->count() > 1);
        checkShownLiterally("frmNETBOSS", text);
    }

    void testWindows()
    {
        QFETCH_GLOBAL(QString, text);
        TestProgramFolder folder(TestProgramFolder::Content::DemoData);
        QVERIFY(textfile::writeLines(folder.jpg("T01_96.jpg"), hostileBank(text)));
        writeBytes(folder.jpg("14_16.jpg"), " 9 \r\n");
        writeBytes(folder.jpg("sv10.jpg"), " 1 \r\n");
        writeUserBase(folder.jpg("2_17.jpg"), {{text, text}});
        const auto app = startApplication(folder);
        app->session.user.firstName = app->session.user.surname = text;
        app->session.user.password = QStringLiteral("111");

        QVERIFY(app->startMenu(-1));
        for (const auto &[window, button] :
             {std::pair{"frmMain", "btTESTS"}, {"frmTestCh", "btnOK"}, {"frmFullTest", "cmdSTART"}})
            clickWhenShown(window, button);
        checkShownLiterally("fullTST", text);
        app->windows.find<TestWindow>()->session()->setClock([] {
            static qint64 ms = std::numeric_limits<qint32>::max();
            return ms += TestSession::SightMs;
        });
        for (int q = 1; q <= 5; ++q) {
            QTRY_VERIFY(shown("fullTST") && app->windows.find<TestWindow>()->run()->asked() == q);
            loadedWindow("fullTST")->findChild<QAbstractButton *>("OTVET2")->click();
            click("fullTST", "OKKEY");
        }
        clickWhenShown("frmFULLtestEND", "wrong");
        checkShownLiterally("frmWRONG", text);
        for (const auto &[window, button] : {std::pair{"frmWRONG", "picEXit"},
                                             {"frmFULLtestEND", "cmdEXIT"},
                                             {"frmTestCh", "btnEXIT"},
                                             {"frmMain", "btZAL"}})
            clickWhenShown(window, button);
        checkShownLiterally("frmDOSTIG", text);
    }
};

QTEST_MAIN(HostileTextTest)
#include "tst_hostiletext.moc"
