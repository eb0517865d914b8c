#include "app/application.h"
#include "app/mainmenu.h"
#include "core/textfile.h"
#include "testing/answerjournal.h"
#include "testing/journal.h"
#include "testing/testrun.h"
#include "testing/testsession.h"
#include "testing/testwindow.h"
#include "testsupport.h"
#include "ui/skinbutton.h"
#include "ui/textcolours.h"
#include "users/userbase.h"
#include "windowsupport.h"

#include <QAccessible>
#include <QApplication>
#include <QCategoryAxis>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

class tst_testwindows : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<Application> m_app;

    template <class T = QAbstractButton> T *control(const QString &window, const QString &name)
    {
        QWidget *w = loadedWindow(window);
        return w ? w->findChild<T *>(name) : nullptr;
    }
    // Screen readers announce a window or dialog when it appears, and read the label that names
    // a field with that field.
    void checkAccessible(const QString &window)
    {
        const QAccessible::Role role =
            QAccessible::queryAccessibleInterface(loadedWindow(window))->role();
        QVERIFY2(role == QAccessible::Window || role == QAccessible::Dialog, qPrintable(window));
        for (const QLabel *label : loadedWindow(window)->findChildren<QLabel *>()) {
            if (label->text().trimmed().endsWith(u':'))
                QVERIFY2(label->buddy(), qPrintable(window + "/" + label->objectName()));
        }
        for (QAbstractButton *button : loadedWindow(window)->findChildren<QAbstractButton *>()) {
            QVERIFY2(!button->accessibleName().isEmpty(),
                     qPrintable(window + "/" + button->objectName()));
            if (qobject_cast<SkinButton *>(button))
                QVERIFY2(!button->accessibleDescription().isEmpty(),
                         qPrintable(button->objectName()));
        }
        checkContrast(loadedWindow(window));
    }
    // Every text drawn straight on the window's face reads well, coloured ones included.
    static void checkContrast(const QWidget *window)
    {
        for (const QWidget *text : window->findChildren<QWidget *>()) {
            const bool onFace = qobject_cast<const QLabel *>(text) ||
                                qobject_cast<const QRadioButton *>(text) ||
                                qobject_cast<const QCheckBox *>(text);
            if (onFace && text->isVisible())
                QVERIFY2(textcolours::textContrast(text) >= textcolours::MinimumContrast,
                         qPrintable(text->objectName()));
        }
    }
    TestSession *running() { return m_app->windows.find<TestWindow>()->session(); }
    const TestRun &run() { return *m_app->windows.find<TestWindow>()->run(); }
    // Every reading of this clock is long enough after the one before for a question to be
    // seen: clicks come as fast as the test sends them.
    void hurry()
    {
        running()->setClock([] {
            static qint64 ms = std::numeric_limits<qint32>::max();
            return ms += TestSession::SightMs;
        });
    }
    // Answers the question on screen through the window: right or wrong.
    void answer(bool right)
    {
        const int correct = running()->question().correct;
        const int chosen = right ? correct : correct % 5 + 1;
        QTest::mouseClick(control<QRadioButton>("fullTST", QStringLiteral("OTVET%1").arg(chosen)),
                          Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(running()->selected(), chosen);
        checkContrast(loadedWindow("fullTST"));
        click("fullTST", "OKKEY");
    }
    void startTopicTest(int listIndex)
    {
        QVERIFY(m_app->startMenu(-1));
        click("frmMain", "btTESTS");
        QTRY_VERIFY(shown("frmTestCh"));
        auto *list = control<QComboBox>("frmTestCh", "cOmBo1");
        list->setCurrentIndex(listIndex);
        Q_EMIT list->activated(listIndex);
        click("frmTestCh", "btnOK");
        QTRY_VERIFY(shown("frmFullTest"));
        QVERIFY(!shown("frmTestCh"));
        click("frmFullTest", "cmdSTART");
        QTRY_VERIFY(shown("fullTST"));
        QTRY_COMPARE(run().asked(), 1);
        hurry();
    }
    void startAsVedok()
    {
        m_app = startApplication(*m_folder);
        SessionState &s = m_app->session;
        s.user.firstName = s.user.surname = s.user.password = "vedok";
    }
    QList<answerjournal::Answer> answers() const
    {
        return answerjournal::parse(readBytes(m_folder->data("answers.txt")));
    }
    QString storedResult(int slot) const
    {
        const auto base = UserBase::load(m_folder->jpg("2_17.jpg"));
        return base->records.at(base->indexOf("vedok", "vedok")).results.at(slot - 1).trimmed();
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>(TestProgramFolder::Content::DemoData);
        writeBytes(m_folder->jpg("14_16.jpg"), " 9 \r\n");
        writeBytes(m_folder->jpg("sv10.jpg"), " 1 \r\n");
        startAsVedok();
    }
    void cleanup()
    {
        deleteAllWindows();
        m_app.reset();
        m_folder.reset();
    }

    void wholeTopicTestFromChoiceToAchievements()
    {
        startTopicTest(1);
        SessionState &s = m_app->session;
        QCOMPARE(control<QLabel>("frmFullTest", "LAB11")->text(), QStringLiteral("Светофоры"));
        checkAccessible("frmFullTest");
        checkAccessible("fullTST");
        QVERIFY(!QTest::currentTestFailed());
        const int count = run().questionCount();
        QVERIFY(count >= 20);
        QVERIFY(!control<QLabel>("fullTST", "lblTime")->isVisible());
        // The clock is known by what it is, not by a name that changes every second.
        QCOMPARE(control<QLabel>("fullTST", "lblTime")->accessibleName(), "Оставшееся время");
        QCOMPARE(loadedWindow("fullTST")->focusWidget(), control<QLabel>("fullTST", "QESTION"));

        answer(true);
        // A pause asked for on question 2 comes after its answer.
        click("fullTST", "btnPAUSE");
        QVERIFY(!control("fullTST", "btnPAUSE")->isEnabled());
        QSize sizeWhenMade;
        const auto watch = [&sizeWhenMade](QObject *watched, QEvent *event) {
            if (event->type() == QEvent::WinIdChange && watched->objectName() == "frmPAUSE")
                sizeWhenMade = static_cast<QWidget *>(watched)->size();
        };
        EventWatch madeWindows(watch);
        answer(false);
        QTRY_VERIFY(topLevel("frmPAUSE"));
        QVERIFY(!shown("fullTST"));
        QWidget *pause = topLevel("frmPAUSE");
        QCOMPARE(QAccessible::queryAccessibleInterface(pause)->role(), QAccessible::Dialog);
        // The window system first sees the window at its own size, not at Qt's default one.
        QCOMPARE(sizeWhenMade, pause->size());
        QCOMPARE(pause->findChild<QLabel *>("Метка1")->text(), QStringLiteral("Вы взяли тайм-аут"));
        QCOMPARE(pause->findChild<QLabel *>("Метка2")->text(), "У Вас есть еще 2 паузы");
        pause->findChild<SkinButton *>("Комманда1")->click();
        QTRY_VERIFY(shown("fullTST"));
        QCOMPARE(run().asked(), 3);
        QVERIFY(control("fullTST", "btnPAUSE")->isEnabled());
        QCOMPARE(control<QLabel>("fullTST", "lblNumber")->text(),
                 QStringLiteral("Вопрос 3 из %1").arg(count));
        QCOMPARE(control<QLabel>("fullTST", "lblPausesLeft")->text(), "Осталось пауз: 2");

        // The number keys choose an answer and Enter answers, wherever the focus is.
        QWidget *focused = control("fullTST", "OTVET1");
        const int correct = running()->question().correct;
        QTest::keyClick(focused, Qt::Key(Qt::Key_0 + correct));
        QCOMPARE(running()->selected(), correct);
        QTest::keyClick(focused, Qt::Key_Return);
        QTRY_COMPARE(run().asked(), 4);
        for (int i = 4; i <= count; ++i)
            answer(true);
        QTRY_VERIFY(shown("frmFULLtestEND"));
        QVERIFY(!shown("fullTST"));
        checkAccessible("frmFULLtestEND");
        const int grade = run().grade();
        // Stored the moment the test ended, while the result is still on screen.
        QCOMPARE(storedResult(2), QString::number(grade));
        QVERIFY(!control<QLabel>("frmFULLtestEND", "labNotStored")->isVisible());
        QCOMPARE(control<QLabel>("frmFULLtestEND", "Label4")->text(),
                 grade == 5 ? "отлично" : "хорошо");
        QCOMPARE(loadedWindow("frmFULLtestEND")->windowTitle(), "Тест: Светофоры");

        // The review shows the answers the test holds, not a temp1.ini that may have failed.
        QVERIFY(QFile::remove(m_folder->data("temp1.ini")));
        click("frmFULLtestEND", "wrong");
        QTRY_VERIFY(shown("frmWRONG"));
        QVERIFY(!shown("frmFULLtestEND"));
        checkAccessible("frmWRONG");
        QCOMPARE(control<QGroupBox>("frmWRONG", "Frame2")->title(), QStringLiteral("Ошибка № 1"));
        const QString missed = running()->records()[1].question;
        QCOMPARE(control<QLabel>("frmWRONG", "QESTION")->text(), missed);
        QVERIFY(!control("frmWRONG", "btnPREV")->isVisible());
        QVERIFY(!control("frmWRONG", "btnNEXT")->isVisible());
        click("frmWRONG", "picEXit");
        QTRY_VERIFY(shown("frmFULLtestEND"));

        click("frmFULLtestEND", "cmdEXIT");
        QTRY_VERIFY(shown("frmTestCh"));
        QVERIFY(!loadedWindow("frmFullTest"));
        QVERIFY(!loadedWindow("fullTST"));
        QCOMPARE(s.user.results[1], QString::number(grade));
        QCOMPARE(storedResult(2), QString::number(grade));

        click("frmTestCh", "btnEXIT");
        QTRY_VERIFY(shown("frmMain"));
        // An earlier attempt the same day: the chart's dates tell the two apart by their time.
        journal::Attempt earlier = journal::read(m_folder->data("attempts.txt")).value(0);
        earlier.when = earlier.when.addSecs(-60);
        earlier.test = QStringLiteral("Стрелки");
        earlier.grade = 2;
        QVERIFY(journal::append(m_folder->data("attempts.txt"), earlier));
        click("frmMain", "btZAL");
        QTRY_VERIFY(shown("frmDOSTIG"));
        checkAccessible("frmDOSTIG");
        // Topic and grade share a row, so they cannot scroll apart.
        auto *grades = control<QTableWidget>("frmDOSTIG", "SpiS1");
        QCOMPARE(grades->rowCount(), 14);
        QCOMPARE(grades->item(1, 0)->text(), QStringLiteral("Светофоры"));
        QCOMPARE(grades->item(1, 1)->text(), grade == 5 ? "отлично" : "хорошо");
        QChart *chart = control<QChartView>("frmDOSTIG", "chartGrades")->chart();
        QCOMPARE(chart->series().size(), 2);
        auto *gradeAxis = qobject_cast<QCategoryAxis *>(chart->axes(Qt::Vertical).value(0));
        QCOMPARE(gradeAxis->categoriesLabels(), (QStringList{"2", "3", "4", "5"}));
        QVERIFY(qobject_cast<QDateTimeAxis *>(chart->axes(Qt::Horizontal).value(0))
                    ->format()
                    .contains(QStringLiteral("hh:mm")));
        // The keyboard gets out of a filled table.
        loadedWindow("frmDOSTIG")->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(loadedWindow("frmDOSTIG")));
        grades->setFocus();
        QTest::keyClick(grades, Qt::Key_Tab);
        QVERIFY(!grades->hasFocus());

        // The missed question comes back in the practice of mistakes, whose review the teacher's
        // "never" does not hide. It gives no grade and leaves the test's grade where the
        // teacher's computer reads it; of its files only the journal of answers grows.
        const QList<answerjournal::Answer> before = answers();
        const auto wrong = std::find_if(before.begin(), before.end(),
                                        [](const answerjournal::Answer &a) { return !a.right; });
        // Every line is read back, that of the first question too, for which the clock of
        // hurry() counts weeks.
        QCOMPARE(before.size(), count);
        QVERIFY(wrong != before.end() && wrong->bank == s.catalogue.files[1]);
        const QByteArray attempts = readBytes(m_folder->data("attempts.txt"));
        const QByteArray progress = readBytes(m_folder->data("curr_test.ini"));
        writeBytes(m_folder->jpg("sv10.jpg"), " 2 \r\n");
        click("frmDOSTIG", "btnMISTAKES");
        QTRY_VERIFY(shown("frmFullTest"));
        QVERIFY(!shown("frmDOSTIG"));
        QCOMPARE(control<QLabel>("frmFullTest", "LAB11")->text(), "Работа над ошибками");
        click("frmFullTest", "cmdSTART");
        QTRY_VERIFY(shown("fullTST"));
        QTRY_COMPARE(run().asked(), 1);
        QCOMPARE(running()->question().question, missed);
        hurry();
        answer(false);
        QTRY_VERIFY(shown("frmFULLtestEND"));
        QCOMPARE(control<QLabel>("frmFULLtestEND", "Label4")->text(), "0 из 1");
        click("frmFULLtestEND", "wrong");
        QTRY_VERIFY(shown("frmWRONG"));
        QCOMPARE(control<QLabel>("frmWRONG", "QESTION")->text(), missed);
        click("frmWRONG", "picEXit");
        click("frmFULLtestEND", "cmdEXIT");
        QTRY_VERIFY(shown("frmDOSTIG"));
        QVERIFY(!loadedWindow("fullTST"));
        QCOMPARE(storedResult(2), QString::number(grade));
        QCOMPARE(readBytes(m_folder->data("attempts.txt")), attempts);
        QCOMPARE(readBytes(m_folder->data("curr_test.ini")), progress);
        const QList<answerjournal::Answer> after = answers();
        QCOMPARE(after.size(), before.size() + 1);
        QCOMPARE(std::tuple(after.last().bank, after.last().record, after.last().right),
                 std::tuple(wrong->bank, wrong->record, false));

        // Right on two later days, the question is mastered: nothing is left to practise.
        answerjournal::Answer right = after.last();
        right.right = true;
        right.chosen = wrong->chosen % 5 + 1;
        right.start = right.start.addDays(1);
        QVERIFY(answerjournal::append(m_folder->data("answers.txt"), {right}));
        right.start = right.start.addDays(1);
        QVERIFY(answerjournal::append(m_folder->data("answers.txt"), {right}));
        // The journal is read off the window thread: the notice comes a little later.
        QString notice;
        pressWhenShown("frmINFO", "cmd_EXIT", [&notice](QWidget *info) {
            notice = info->findChild<QLabel *>("lab_info")->text();
        });
        click("frmDOSTIG", "btnMISTAKES");
        QTRY_VERIFY2(notice.startsWith("Работать над ошибками пока не над чем"),
                     qPrintable(notice));
        QVERIFY(shown("frmDOSTIG"));
        click("frmDOSTIG", "comEXIT");
        QTRY_VERIFY(shown("frmMain"));
    }

    // One answer per question shown, however the clicks and keys come; a long answer wraps; a
    // test left halfway stores 0.
    void interruptedTestStoresZero()
    {
        m_app->session.user.results[0] = "4";
        startTopicTest(0);
        QWidget *test = loadedWindow("fullTST");
        qint64 now = qint64(1) << 40; // far past any reading of the real clock before it
        running()->setClock([&now] { return now; });
        now += TestSession::SightMs;
        // A screen reader ticks an answer; it never sends a mouse click.
        const int correct = running()->question().correct;
        control<QRadioButton>("fullTST", QStringLiteral("OTVET%1").arg(correct))->setChecked(true);
        QCOMPARE(running()->selected(), correct);
        // A double-click on the button: its second press comes before question 2 was seen.
        click("fullTST", "OKKEY");
        click("fullTST", "OKKEY");
        QCOMPARE(run().asked(), 2);
        QTRY_COMPARE(run().correct(), 1);
        // Enter answers; held down, its repeats never answer question 3.
        now += TestSession::SightMs;
        QTest::keyPress(test, Qt::Key_Return);
        QCOMPARE(run().asked(), 3);
        now += TestSession::SightMs;
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
        QApplication::sendEvent(test, &repeat);
        QCOMPARE(run().asked(), 3);
        QCOMPARE(readLinesOrEmpty(m_folder->data("temp1.ini")).at(12 + 2 * 20 + 3), QString());

        // A long answer wraps instead of widening the window.
        auto *answer = control<QRadioButton>("fullTST", "OTVET1");
        answer->setText(QStringLiteral("да"));
        const int oneLine = answer->heightForWidth(answer->width());
        answer->setText(QString(146, u'ж').replace(QRegularExpression("(.{9})."), "\\1 "));
        test->layout()->activate();
        QVERIFY(test->minimumSizeHint().width() <= 640);
        QVERIFY(answer->heightForWidth(answer->width()) > oneLine);
        QVERIFY(QFile::exists(m_folder->data("resume.ini")));
        // Escape leaves the test as closing its window does.
        QTest::keyClick(control("fullTST", "OTVET1"), Qt::Key_Escape);
        QTRY_VERIFY(shown("frmFullTest"));
        QVERIFY(!shown("fullTST"));
        QVERIFY(control("frmFullTest", "cmdRETurn")->isVisible());
        QVERIFY(control<QLabel>("frmFullTest", "LABEL2")->isVisible());
        QVERIFY(!control("frmFullTest", "cmdSTART")->isVisible());
        QVERIFY(!control("frmFullTest", "cmdEXIT")->isVisible());
        // Enter presses the focused button: here "Вернуться".
        QTest::keyClick(loadedWindow("frmFullTest")->focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(shown("frmTestCh"));
        QCOMPARE(m_app->session.user.results[0], QStringLiteral("0"));
        QTRY_COMPARE(storedResult(1), QStringLiteral("0"));
        // A test left on purpose is not offered again after a restart.
        QVERIFY(!QFile::exists(m_folder->data("resume.ini")));

        // A user base that cannot be written is named once the grade's store has failed.
        click("frmTestCh", "btnOK");
        QTRY_VERIFY(shown("frmFullTest"));
        control("frmFullTest", "cmdSTART")->setFocus();
        QTest::keyClick(control("frmFullTest", "cmdSTART"), Qt::Key_Enter);
        QTRY_VERIFY(shown("fullTST"));
        // Enter on the close button closes instead of answering.
        control("fullTST", "btnUNLOAD")->setFocus();
        QTest::keyClick(control("fullTST", "btnUNLOAD"), Qt::Key_Return);
        QTRY_VERIFY(shown("frmFullTest"));
        const auto restore = qScopeGuard([] { textfile::setRenameStep({}); });
        textfile::setRenameStep(
            [](const QString &, const QString &) { return textfile::RenameOutcome::Refused; });
        QString notice;
        pressWhenShown("frmINFO", "cmd_EXIT", [&notice](QWidget *info) {
            notice = info->findChild<QLabel *>("lab_info")->text();
        });
        click("frmFullTest", "cmdRETurn");
        QTRY_VERIFY(shown("frmTestCh"));
        QTRY_VERIFY2(notice.contains(QDir::toNativeSeparators(m_folder->jpg("2_17.jpg"))),
                     qPrintable(notice));
        // Leaving the introduction before the start stores nothing.
        m_app->session.user.results[0] = "4";
        click("frmTestCh", "btnOK");
        QTRY_VERIFY(shown("frmFullTest"));
        click("frmFullTest", "cmdEXIT");
        QTRY_VERIFY(shown("frmTestCh"));
        QCOMPARE(m_app->session.user.results[0], QStringLiteral("4"));
    }

    // A second program started on this computer while the test runs (another account, the
    // teacher's) neither offers, nor ends, nor clears that test. After a crash the pupil is
    // asked in the offer's own words; neither Escape nor closing the window throws his answers
    // away, and starting again opens the same test anew.
    void killedTestIsOfferedToGoOnOrStartAgain()
    {
        startTopicTest(1);
        answer(true);
        {
            Application beside(m_folder->path(), false);
            beside.windows.endAction = [] {};
            beside.session.user.firstName = QStringLiteral("Анна");
            beside.session.user.surname = QStringLiteral("Сидорова");
            QVERIFY(beside.startMenu(-1));
            QVERIFY(QFile::exists(m_folder->data("curr_test.ini")));
            QVERIFY(!QFile::exists(m_folder->data("lost_tests.ini")));
            QVERIFY(storedResult(2).isEmpty());
        }
        answer(false);
        QCOMPARE(run().asked(), 3);
        deleteAllWindows();
        startAsVedok();
        QString question, focused;
        bool stayed = false;
        answerWhenShown("frmRESUME", [&](QWidget *offer) {
            QVERIFY(QApplication::activeModalWidget() == offer);
            question = offer->findChild<QLabel *>("m1")->text();
            focused = offer->focusWidget() ? offer->focusWidget()->objectName() : "";
            QTest::keyClick(offer, Qt::Key_Escape);
            offer->close();
            stayed = offer->isVisible();
            QTest::mouseClick(offer->findChild<SkinButton *>("cmdAnew"), Qt::LeftButton);
        });
        QVERIFY(m_app->startMenu(-1));
        QVERIFY2(question.startsWith(QStringLiteral("Продолжить тест «Светофоры» с вопроса 3 из ")),
                 qPrintable(question));
        QCOMPARE(focused, QStringLiteral("cmdGoOn"));
        QVERIFY(stayed);
        QTRY_VERIFY(shown("frmFullTest"));
        QVERIFY(control("frmFullTest", "cmdSTART")->isVisible());
        QTRY_COMPARE(storedResult(2), QStringLiteral("0"));
        QVERIFY(!QFile::exists(m_folder->data("resume.ini")));
    }

    void missingCatalogueOffersNoTest()
    {
        QFile::remove(m_folder->jpg("14_15.jpg"));
        QVERIFY(m_app->startMenu(-1));
        click("frmMain", "btTESTS");
        QTRY_VERIFY(shown("frmTestCh"));
        QVERIFY(control<QLabel>("frmTestCh", "metDESCRIBE")
                    ->text()
                    .startsWith("Каталог тестов (файл data/jpg/14_15.jpg) не найден"));
        QVERIFY(!control("frmTestCh", "btnOK")->isEnabled());
        control("frmTestCh", "btnOK")->click();
        QVERIFY(!loadedWindow("frmFullTest"));
    }

    void courseTestReturnsToTheMainMenu()
    {
        QVERIFY(m_app->startMenu(-1));
        click("frmMain", "btKURS");
        QTRY_VERIFY(shown("frmFullTest"));
        QVERIFY(!shown("frmMain"));
        QCOMPARE(control<QLabel>("frmFullTest", "LAB11")->text(), "Тест по всему курсу");
        QVERIFY(control<QLabel>("frmFullTest", "LABEL1")
                    ->text()
                    .startsWith("Тест содержит 100 вопросов по всем темам предмета."));
        click("frmFullTest", "cmdSTART");
        QTRY_VERIFY(shown("fullTST"));
        QTRY_COMPARE(run().asked(), 1);
        hurry();
        for (int i = 1; i <= 100; ++i) {
            // The teacher's "not after the course test" reaches the running program.
            if (i == 90)
                writeBytes(m_folder->jpg("sv10.jpg"), " 3 \r\n");
            if (i == 100)
                QCOMPARE(control<QGroupBox>("fullTST", "Frame2")->title(),
                         "  Boпpoc нomep   100  ");
            answer(i % 2 == 0);
        }
        QTRY_VERIFY(shown("frmFULLtestEND"));
        QCOMPARE(control<QLabel>("frmFULLtestEND", "pecent_LAB")->text(), QStringLiteral("(50%)"));
        QCOMPARE(control<QLabel>("frmFULLtestEND", "Label4")->text(), QStringLiteral("неуд."));
        QVERIFY(!control("frmFULLtestEND", "wrong")->isVisible());
        click("frmFULLtestEND", "cmdEXIT");
        QTRY_VERIFY(shown("frmMain"));
        QCOMPARE(storedResult(14), QStringLiteral("2"));

        // A damaged bank offers only the way back.
        writeBytes(m_folder->jpg("sv9.jpg"), "start\r\ntime\r\nдолго\r\n");
        click("frmMain", "btKURS");
        QTRY_VERIFY(shown("frmFullTest"));
        QVERIFY(control<QLabel>("frmFullTest", "LABEL1")
                    ->text()
                    .contains("ошибка в файле вопросов «sv9.jpg», строка 2: значение «time»"));
        QVERIFY(!control("frmFullTest", "cmdSTART")->isVisible());
        click("frmFullTest", "cmdEXIT");
        QTRY_VERIFY(shown("frmMain"));
    }
};

QTEST_MAIN(tst_testwindows)
#include "tst_testwindows.moc"
