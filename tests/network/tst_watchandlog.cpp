#include "classroomfolders.h"
#include "network/classresultsmodel.h"
#include "network/monitorwindow.h"
#include "network/pupilpoller.h"
#include "network/resultswindows.h"
#include "network/watchwindows.h"
#include "networkharness.h"
#include "testing/bankeditorwindow.h"
#include "testing/itemanalysiswindow.h"
#include "testing/registration.h"
#include "windowsupport.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

namespace {
// Accepts the save dialog, with the file it proposes, once it is open.
void saveInFileDialogSoon()
{
    answerWhenShown("QFileDialog",
                    [](QWidget *dialog) { QMetaObject::invokeMethod(dialog, "accept"); });
}
} // namespace

class WatchAndLogTest : public QObject
{
    Q_OBJECT
private:
    MonitorWindow *monitorAfterPoll(NetworkHarness &h)
    {
        MonitorWindow *monitor = h.openMonitor();
        QSignalSpy polled(monitor->poller(), &PupilPoller::pollFinished);
        [&] { QVERIFY(polled.wait(5000)); }();
        return monitor;
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void watchingOnePupil()
    {
        ClassroomFolders room(12);
        room.progress(12, "Иван", "Петров", 20, 8, 5);
        room.session(12, "Иван", "Петров", 20, 7, 5);
        room.progress(5, "Олег", "Сидоров", 10, 1, 0);
        room.session(5, "Олег", "Сидоров", 10, 1, 0);
        NetworkHarness h(room.teacher().path());
        MonitorWindow *monitor = monitorAfterPoll(h);

        h.click("frmNET", "btnTestALONE");
        auto *list = h.child<QComboBox>("frmUSERchange", "Combo1");
        QTRY_COMPARE(list->count(), 2);
        QVERIFY(!monitor->isVisible());
        QCOMPARE(list->itemText(0), QStringLiteral("№5 Сидоров Олег"));
        QCOMPARE(list->itemText(1), QStringLiteral("№12 Петров Иван"));
        QCOMPARE(WatchChoiceWindow::computerOf(list->itemText(0)), 5);
        checkAccessibility(loadedWindow("frmUSERchange"));
        list->setCurrentIndex(1);
        h.click("frmUSERchange", "Комманда1");
        QCOMPARE(h.windows.find<WatchWindow>()->flow().computer(), 12);

        auto *frame = h.child<QGroupBox>("frmNetLog", "Frame2");
        QTRY_COMPARE(frame->title(), QStringLiteral("Вопрос № 7"));
        auto *next = h.child<QPushButton>("frmNetLog", "btnNEXT");
        auto *prev = h.child<QPushButton>("frmNetLog", "btnPREV");
        auto *refresh = h.child<QPushButton>("frmNetLog", "btnRefresH");
        QVERIFY(!next->isVisible() && prev->isVisible() && !refresh->isVisible());
        QCOMPARE(h.text("frmNetLog", "QESTION"), QStringLiteral("Вопрос 7"));
        QCOMPARE(h.text("frmNetLog", "metSLEJKA"), QStringLiteral("Слежение за №12 Петров Иван"));
        QCOMPARE(h.text("frmNetLog", "metTEST"), QStringLiteral("Тест: Рельсовые цепи"));
        const QList<QRadioButton *> answers =
            loadedWindow("frmNetLog")->findChildren<QRadioButton *>("OTVET");
        QVERIFY(answers.at(2)->isChecked()); // 7 % 5 + 1
        // The pupil's answer in red, a shade that reads well on the window.
        QCOMPARE(answers.at(2)->palette().color(QPalette::WindowText).hslHue(), 0);
        checkAccessibility(loadedWindow("frmNetLog"));

        // Browsing back stops following; the pupil goes on meanwhile.
        prev->click();
        QCOMPARE(frame->title(), QStringLiteral("Вопрос № 6"));
        QVERIFY(refresh->isVisible());
        QCOMPARE(h.text("frmNetLog", "metINFA"), WatchFlow::BrowsingNotice);
        room.session(12, "Иван", "Петров", 20, 20, 15, 4);
        // The next refresh comes now, and what it read is handed over, yet the page stays.
        auto *refreshTimer = loadedWindow("frmNetLog")->findChild<QTimer *>("Timer1");
        QSignalSpy refreshed(refreshTimer, &QTimer::timeout);
        refreshTimer->start(0);
        QVERIFY(refreshed.wait() && shareReadersStopped(5000));
        QCoreApplication::processEvents();
        QCOMPARE(frame->title(), QStringLiteral("Вопрос № 6"));
        refresh->click();
        QTRY_COMPARE(frame->title(), QStringLiteral("Вопрос № 20"));
        QCOMPARE(h.text("frmNetLog", "metOcenka"), QStringLiteral("Оценка:4"));
        QCOMPARE(h.text("frmNetLog", "metINFA"), WatchFlow::AnswerNotice);

        // The pupil's program starts again: the file is gone, the screen stays as it was.
        QFile::remove(room.pupilData(12, "temp1.ini"));
        h.click("frmNetLog", "btnPREV");
        refresh->click();
        QTRY_VERIFY(h.text("frmNetLog", "metINFA").contains(QStringLiteral("не найден")));
        QCOMPARE(frame->title(), QStringLiteral("Вопрос № 19"));
        // A new test begins: nothing of the old one stays on screen.
        room.progress(12, "Иван", "Петров", 10, 1, 0, 0, QStringLiteral("Сигналы"));
        QTRY_COMPARE(h.text("frmNetLog", "metTEST"), QStringLiteral("Тест: Сигналы"));
        QVERIFY(h.text("frmNetLog", "QESTION").isEmpty() && !answers.at(0)->isVisible());
        QCOMPARE(h.text("frmNetLog", "metOcenka"), QStringLiteral("Оценка:"));
        QCOMPARE(h.text("frmNetLog", "metINFA"), WatchFlow::FirstAnswerNotice);

        h.click("frmNetLog", "Комманда1");
        QTRY_VERIFY(monitor->isVisible());
    }

    void resultsLogPrintingAndHistory()
    {
        ClassroomFolders room(5);
        room.progress(1, "Иван", "Петров", 10, 10, 9, 5);
        room.progress(2, "Олег", "Сидоров", 10, 10, 7, 4);
        room.progress(3, "Анна", "Кузнецова", 10, 4, 2); // still testing
        room.progress(4, "Пётр", "Смирнов", 10, 10, 5, 3);
        room.progress(5, "Ян", "Ли", 10, 10, 2, 2);
        QTemporaryDir home;
        qputenv("HOME", QFile::encodeName(home.path()));
        NetworkHarness h(room.teacher().path());
        writeBytes(room.teacher().jpg("7_12.jpg"), QByteArray());
        MonitorWindow *monitor = monitorAfterPoll(h);
        h.click("frmNET", "btnLOG");
        QVERIFY(!monitor->isVisible());
        auto *table = h.child<QTableView>("frmLOGnet", "list1");
        const QAbstractItemModel *shown = table->model();
        const QStringList &lines = h.windows.find<ClassResultsWindow>()->log().lines;
        QCOMPARE(shown->rowCount(), 4);
        QCOMPARE(table->currentIndex().row(), 0);
        QCOMPARE(shown->index(2, ClassResultsModel::Number).data().toString(), QStringLiteral("3"));
        QCOMPARE(shown->index(2, ClassResultsModel::Name).data().toString(), "Смирнов Пётр");
        QCOMPARE(shown->index(2, ClassResultsModel::Right).data().toString(), "5 / 10");
        const QLocale locale = QLocale::system();
        QCOMPARE(h.text("frmLOGnet", "metAVER"), QStringLiteral("Средний балл: 4"));
        QCOMPARE(h.text("frmLOGnet", "metCACH"),
                 "Качественная успеваемость: " + resultslog::formatPercent(50, locale) + " %");
        QCOMPARE(h.text("frmLOGnet", "metABSOL"),
                 "Абсолютная успеваемость: " + resultslog::formatPercent(75, locale) + " %");
        checkAccessibility(loadedWindow("frmLOGnet"));

        // Refusing prints nothing; accepting prints to a PDF file when there is no printer.
        pressWhenShown("frmPrintYorN", "Комманда2");
        h.click("frmLOGnet", "Комманда1");
        QVERIFY(h.text("frmLOGnet", "metPRINT").isEmpty());
        pressWhenShown("frmPrintYorN", "Комманда1");
        h.click("frmLOGnet", "Комманда1");
        const QString message = h.text("frmLOGnet", "metPRINT");
        QVERIFY2(message.contains(home.path()), qPrintable(message));
        const QStringList pdfs =
            QDir(ClassResultsWindow::pdfFolder()).entryList({"*.pdf"}, QDir::Files);
        QCOMPARE(pdfs.size(), 1);
        const QString pdf = QDir(ClassResultsWindow::pdfFolder()).filePath(pdfs.first());
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            QVERIFY(QFileInfo(pdf).size() > 0);
        } else {
            QProcess text;
            text.start(QStringLiteral("pdftotext"), {"-layout", pdf, "-"});
            QVERIFY2(text.waitForFinished(20000) && text.exitCode() == 0,
                     qPrintable(QString::fromLocal8Bit(text.readAllStandardError())));
            // pdftotext narrows runs of blanks; the words and their order must match.
            const QString printed = QString::fromUtf8(text.readAllStandardOutput()).simplified();
            QVERIFY2(printed.contains("Результаты теста проведенного"), qPrintable(printed));
            for (const QString &line : lines)
                QVERIFY2(printed.contains(line.simplified()), qPrintable(printed));
            QVERIFY(printed.contains(h.text("frmLOGnet", "metABSOL")));
        }

        // Saved twice: two blocks, the newest last.
        h.click("frmLOGnet", "btnHISTORYmemo");
        h.click("frmLOGnet", "btnHISTORYmemo");
        const QStringList history = readLinesOrEmpty(room.teacher().jpg("7_12.jpg"));
        QCOMPARE(history.count(resultslog::BlockEnd), 2);
        QCOMPARE(history.size(), 2 * (4 + 4 + 1 + 3 + 4));
        QCOMPARE(history.at(4), lines.at(0));
        QVERIFY(!QFile::exists(room.teacher().jpg("7_13.jpg")));
        QVERIFY(h.child<QPushButton>("frmLOGnet", "btnHISTORYmemo")->isEnabled());

        // Both lessons of the history as one table.
        const QString csv =
            QDir(ClassResultsWindow::pdfFolder()).filePath("История результатов.csv");
        saveInFileDialogSoon();
        h.click("frmLOGnet", "btnHISTORYcsv");
        const QStringList rows =
            QString::fromUtf8(readBytes(csv)).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 1 + 2 * shown->rowCount());
        QVERIFY(rows.at(3).contains(QStringLiteral(";Смирнов Пётр;")));
        QVERIFY(h.text("frmLOGnet", "metPRINT").contains(QDir::toNativeSeparators(csv)));

        // The copy for viewing; the help window belongs to another part of the program.
        h.click("frmLOGnet", "HISTORYread");
        QCOMPARE(readBytes(room.teacher().data("htm/history.txt")),
                 readBytes(room.teacher().jpg("7_12.jpg")));
        h.click("frmLOGnet", "Комманда2");
        QTRY_VERIFY(monitor->isVisible());
    }

    void itemAnalysisOfTheClass()
    {
        ClassroomFolders room(3, TestProgramFolder::Content::DemoData);
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        const auto line = [&](const char *who, int question, int chosen, bool right) {
            return QStringLiteral("%1 08:00:00\t%2\tП\tT01_96.jpg\t%3\t%4\t%5\t12\r\n")
                .arg(today, QString::fromUtf8(who))
                .arg(question)
                .arg(chosen)
                .arg(right ? 1 : 0);
        };
        writeBytes(room.pupilData(1, "answers.txt"),
                   textfile::encode1251(line("Иван", 1, 2, true) + line("Иван", 2, 3, false)));
        writeBytes(room.pupilData(2, "answers.txt"),
                   textfile::encode1251(line("Олег", 1, 4, false) + line("Олег", 2, 3, false)));
        QTemporaryDir home;
        qputenv("HOME", QFile::encodeName(home.path()));
        NetworkHarness h(room.teacher().path());
        registerTestingWindows(h.context);
        monitorAfterPoll(h);
        h.click("frmNET", "btnLOG");
        // No computer has a graded test: an empty table and statistics that say so.
        QCOMPARE(h.child<QTableView>("frmLOGnet", "list1")->model()->rowCount(), 0);
        QVERIFY(h.text("frmLOGnet", "metCACH").endsWith(QStringLiteral("нет оценённых тестов")));
        h.click("frmLOGnet", "btnItemAnalysis");
        auto *bank = h.child<QComboBox>("frmItemAnalysis", "cmbBank");
        QVERIFY(bank && bank->findData("T01_96.jpg") >= 0);
        bank->setCurrentIndex(bank->findData("T01_96.jpg"));
        h.click("frmItemAnalysis", "btnShow");
        auto *table = h.child<QTableView>("frmItemAnalysis", "tblItems");
        QTRY_COMPARE(table->model()->rowCount(), 2);
        const auto cell = [&](int row, int column) {
            return table->model()->index(row, column).data().toString();
        };
        QCOMPARE(cell(0, 3), QStringLiteral("50,0"));
        QCOMPARE(cell(1, 5), QStringLiteral("3"));
        QCOMPARE(cell(1, 6), QStringLiteral("100,0"));
        QCOMPARE(cell(1, 8), QStringLiteral("проверьте ключ"));
        // The teacher's own computer and computer 3 have no journal: named, not fatal.
        const QString failures = h.text("frmItemAnalysis", "metFailures");
        QVERIFY2(failures.contains(QStringLiteral("Компьютер 3:")), qPrintable(failures));
        QVERIFY(!failures.contains(QStringLiteral("Компьютер 1:")));
        table->selectRow(1);
        QVERIFY(h.text("frmItemAnalysis", "metQuestion").contains(QStringLiteral("3. ")));
        auto *chart = h.child<QChartView>("frmItemAnalysis", "chartAnswers");
        auto *series = qobject_cast<QBarSeries *>(chart->chart()->series().value(0));
        QVERIFY(series);
        QCOMPARE(series->barSets().first()->at(2), 100.0);
        checkAccessibility(loadedWindow("frmItemAnalysis"));

        // The export holds what the command line writes for the same computers and days.
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QVERIFY(QDir().mkpath(documents));
        const QString exported = documents + QStringLiteral("/Анализ вопросов.csv");
        saveInFileDialogSoon();
        h.click("frmItemAnalysis", "btnCSV");
        QTRY_VERIFY(h.text("frmItemAnalysis", "metStatus").startsWith("Записано строк: 2"));
        const QString fromCommandLine = home.filePath("cli.csv");
        QProcess program;
        program.start(
            QStringLiteral(TARVEL_PROGRAM),
            {"--item-analysis", "T01_96.jpg", room.teacher().path(), room.pupilFolder(1),
             room.pupilFolder(2), room.pupilFolder(3), "--from",
             h.child<QDateEdit>("frmItemAnalysis", "dateFrom")->date().toString("dd.MM.yyyy"),
             "--to", QDate::currentDate().toString("dd.MM.yyyy"), "--csv", fromCommandLine});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(readBytes(exported), readBytes(fromCommandLine));
        QVERIFY(readBytes(exported).contains("\r\n2;2;0,0;;3;100,0;12,0;проверьте ключ\r\n"));

        // The selected question opens in the bank editor, which then returns here.
        h.click("frmItemAnalysis", "btnEditQuestion");
        auto *editor = h.windows.find<BankEditorWindow>();
        QTRY_VERIFY(editor && editor->isVisible());
        QVERIFY(!loadedWindow("frmItemAnalysis")->isVisible());
        QCOMPARE(h.child<QTableWidget>("frmEDITOR", "tblQuestions")->currentRow(), 1);
        QCOMPARE(h.child<QLineEdit>("frmEDITOR", "txtQuestion")->text(),
                 editor->document().questions.at(1).question);
        editor->close();
        QTRY_VERIFY(loadedWindow("frmItemAnalysis")->isVisible());
        // With its popups, which are windows of their own the harness would delete twice.
        delete loadedWindow("frmItemAnalysis");
    }
};

QTEST_MAIN(WatchAndLogTest)
#include "tst_watchandlog.moc"
