#include "app/adminwindow.h"
#include "app/application.h"
#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/textfile.h"
#include "testing/bankeditorwindow.h"
#include "testing/catalogue.h"
#include "testing/questionbank.h"
#include "testing/questionpreview.h"
#include "testing/results.h"
#include "testing/resume.h"
#include "testing/testsettingswindow.h"
#include "testsupport.h"
#include "ui/skinbutton.h"
#include "ui/textcolours.h"
#include "users/messagewindows.h"
#include "users/useradministration.h"
#include "windowsupport.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTableWidget>
#include <QUndoStack>
#include <QtTest>

namespace {
using Admin = UserAdministration;

// Clicks `trigger`, presses `button` of the modal window `window` it opens and returns that
// window's message: empty when no modal window showed.
QString clickAnswering(QAbstractButton *trigger, const QString &window, const QString &button)
{
    auto message = std::make_shared<QString>();
    pressWhenShown(window, button, [message](QWidget *shown) {
        auto *modal = qobject_cast<ModalMessageWindow *>(shown);
        if (modal && modal->isModal())
            *message = modal->message();
    });
    trigger->click();
    return *message;
}

// Each of the window's named controls has an accessible name and a description.
void checkDescribed(const QWidget *window, std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        auto *control = window->findChild<QWidget *>(QString::fromUtf8(name));
        QVERIFY2(control && !control->accessibleName().isEmpty() &&
                     !control->accessibleDescription().isEmpty(),
                 name);
    }
}

// Types text as a keyboard of any layout does: QTest::keyClicks takes only ASCII.
void typeText(QWidget *control, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(control, &press);
    }
}

} // namespace

class AdminWindowTest : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<Application> m_app;
    QString m_base;

    AdminWindow *openAdministration() { return m_app->windows.open<AdminWindow>(); }
    template <class T = QWidget> T *child(QWidget *window, const char *name)
    {
        T *found = window->findChild<T *>(QString::fromUtf8(name));
        [&] { QVERIFY2(found, name); }();
        return found;
    }
    UserBase readBase() const { return UserBase::load(m_base).value_or(UserBase()); }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>(TestProgramFolder::Content::DemoData);
        m_app = startApplication(*m_folder);
        m_base = m_app->session.jpgPath(datafiles::UserBaseFile);
        UserRecord ivan = user("Иван", "Петров", "1");
        for (const auto &[test, grade] : {std::pair{0, 3}, {5, 5}, {6, 2}})
            ivan.results[test] = textfile::printNumber(grade);
        QVERIFY(baseOf({user("vedok", "vedok", "vedok"), ivan, user("Анна", "Сидорова", "2"),
                        UserRecord()})
                    .save(m_base));
    }
    void cleanup()
    {
        deleteAllWindows();
        m_app.reset();
        m_folder.reset();
    }

    void controlsAreDescribedAndSelectionShowsGrades()
    {
        AdminWindow *boss = openAdministration();
        QVERIFY(boss);
        QCOMPARE(boss->windowTitle(), QStringLiteral("Администрирование"));
        checkDescribed(boss, {"chANge_but", "DEL_but", "CleAR_but", "butACCEPT", "butCANCEL",
                              "btnNET", "btnSETUP", "btnRETURN", "btnSVER", "btnUNLOAD", "cOmBo1",
                              "cOmBo2", "cOmBo3", "txt1", "txt2", "txt3"});
        QCOMPARE(child<QLabel>(boss, "Метка1")->buddy(), child(boss, "cOmBo1"));
        QCOMPARE(child<QLabel>(boss, "sbStatusBar")->text(), AdminWindow::DefaultStatus);
        checkHoverHints(boss, child<QLabel>(boss, "sbStatusBar"));
        auto *surnames = child<QComboBox>(boss, "cOmBo1");
        QCOMPARE(surnames->count(), 3);
        QCOMPARE(surnames->currentText(), QStringLiteral("vedok"));
        for (const char *name : {"txt1", "m18", "butACCEPT", "butCANCEL"})
            QVERIFY2(child(boss, name)->isHidden(), name);

        // A selection shows the pupil's grades, each in its colour.
        QSignalSpy cues(&m_app->cues, &CuePlayer::cueStarted);
        auto *firstNames = child<QComboBox>(boss, "cOmBo2");
        firstNames->setFocus();
        QTest::keyClick(firstNames, Qt::Key_Down);
        QCOMPARE(child<QComboBox>(boss, "cOmBo1")->currentText(), QStringLiteral("Петров"));
        QCOMPARE(child<QComboBox>(boss, "cOmBo3")->currentText(), QStringLiteral("1"));
        QCOMPARE(child<QLabel>(boss, "sbStatusBar")->text(), Admin::SelectText);
        // Each grade keeps its hue in a shade that reads well on the window.
        for (const auto &[name, text, colour] : {std::tuple{"m10", "удовл.", QColor(192, 64, 0)},
                                                 {"m17", "отлично", QColor(0, 128, 0)}}) {
            auto *grade = child<QLabel>(boss, name);
            QCOMPARE(grade->text(), text);
            const int hue = grade->palette().color(QPalette::WindowText).hslHue();
            QVERIFY(qAbs(hue - colour.hslHue()) <= 2);
            QVERIFY(textcolours::textContrast(grade) >= textcolours::MinimumContrast);
        }
        QCOMPARE(child<QLabel>(boss, "m11")->text(), QString());
        firstNames->showPopup();
        QCOMPARE(cues.size(), 1);
        QCOMPARE(cues.at(0).at(0).toString(), QStringLiteral("pick.wav"));
        firstNames->hidePopup();
    }

    void editViewRoundTripThenDeleteAsksFirst()
    {
        AdminWindow *boss = openAdministration();
        boss->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(boss));
        QTest::keyClick(child<QComboBox>(boss, "cOmBo1"), Qt::Key_Down);
        child<SkinButton>(boss, "chANge_but")->click();
        auto *surname = child<QLineEdit>(boss, "txt1");
        auto *firstName = child<QLineEdit>(boss, "txt2");
        auto *password = child<QLineEdit>(boss, "txt3");
        QVERIFY(surname->isVisible());
        QCOMPARE(surname->text(), QStringLiteral("Петров"));
        QCOMPARE(password->text(), QStringLiteral("1"));
        for (const char *name : {"cOmBo1", "cOmBo2", "cOmBo3"})
            QVERIFY(!child(boss, name)->isEnabled());
        for (const char *name :
             {"m4", "m10", "line1", "chANge_but", "DEL_but", "CleAR_but", "btnNET", "btnSETUP"})
            QVERIFY2(child(boss, name)->isHidden(), name);
        QCOMPARE(child<QLabel>(boss, "m18")->text(), Admin::PromptText);

        QSignalSpy cues(&m_app->cues, &CuePlayer::cueStarted);
        surname->setFocus();
        QTest::keyClick(surname, Qt::Key_Return);
        QVERIFY(firstName->hasFocus());
        QTest::keyClick(firstName, Qt::Key_Return);
        QTest::keyClick(password, Qt::Key_Return);
        QVERIFY(surname->hasFocus());
        QCOMPARE(cues.first().at(0).toString(), QStringLiteral("type.wav"));

        const QByteArray before = readBytes(m_base);
        surname->setText(QStringLiteral("Сидорова"));
        firstName->setText(QStringLiteral("Анна"));
        child<SkinButton>(boss, "butACCEPT")->click();
        QTRY_COMPARE(child<QLabel>(boss, "m18")->text(), Admin::NameTakenText);
        QVERIFY(surname->isVisible());
        QCOMPARE(readBytes(m_base), before);

        surname->setText("  Петрова ");
        firstName->setText(QStringLiteral("Инна"));
        password->setText(QStringLiteral("7"));
        child<SkinButton>(boss, "butACCEPT")->click();
        QTRY_VERIFY(surname->isHidden());
        QVERIFY(child(boss, "m18")->isHidden() && child(boss, "btnNET")->isVisible());
        QVERIFY(child(boss, "cOmBo1")->isEnabled());
        const UserRecord renamed = readBase().records.at(1);
        QCOMPARE((QStringList{renamed.surname, renamed.firstName, renamed.password}),
                 (QStringList{"Петрова", "Инна", "7"}));
        QCOMPARE(renamed.resultNumber(5), 5);
        QCOMPARE(child<QComboBox>(boss, "cOmBo1")->itemText(1), QStringLiteral("Петрова"));

        // Cancelling writes nothing; the administrator may change only his password.
        child<SkinButton>(boss, "chANge_but")->click();
        QVERIFY(!surname->isEnabled());
        QCOMPARE(surname->text(), QStringLiteral("vedok"));
        password->setText(QStringLiteral("new"));
        const QByteArray renamedBytes = readBytes(m_base);
        child<SkinButton>(boss, "butCANCEL")->click();
        QCOMPARE(readBytes(m_base), renamedBytes);
        QVERIFY(surname->isHidden() && surname->isEnabled());

        // A delete or a clear asks first; the administrator, selected now, is never deleted.
        auto *surnames = child<QComboBox>(boss, "cOmBo1");
        auto *del = child<SkinButton>(boss, "DEL_but");
        QCOMPARE(clickAnswering(del, "frmINFO", "cmd_EXIT"), Admin::DeleteAdministratorText);
        QCOMPARE(readBase().records.size(), 4);
        QTest::keyClick(surnames, Qt::Key_Down);
        QTest::keyClick(surnames, Qt::Key_Down);
        QCOMPARE(clickAnswering(del, "frmSURE", "cmd2"), Admin::DeleteConfirmText);
        QCOMPARE(readBase().records.size(), 4);
        QCOMPARE(clickAnswering(del, "frmSURE", "cmd1"), Admin::DeleteConfirmText);
        QTRY_COMPARE(surnames->count(), 2);
        const UserBase base = readBase();
        QCOMPARE(base.records.size(), 3);
        QCOMPARE(base.indexOf(QStringLiteral("Анна"), QStringLiteral("Сидорова")), -1);
        QCOMPARE(surnames->currentIndex(), 0);

        QCOMPARE(clickAnswering(child<SkinButton>(boss, "CleAR_but"), "frmSURE", "cmd1"),
                 Admin::ClearConfirmText);
        QTRY_COMPARE(surnames->count(), 1);
        QCOMPARE(readBase().records.size(), 2);
    }

    // A change waits for the base's lock away from the window thread: the window only shows
    // that it is busy and hears the answer later. A lock that is a folder is reported at once,
    // naming it. A rename held by another program costs the window thread a frame or two.
    void changesNeverHoldTheWindow()
    {
        AdminWindow *boss = openAdministration();
        QLockFile other(UserBase::lockFile(m_base));
        QVERIFY(other.lock());
        QTest::keyClick(child<QComboBox>(boss, "cOmBo1"), Qt::Key_Down);
        child<SkinButton>(boss, "chANge_but")->click();
        child<QLineEdit>(boss, "txt3")->setText(QStringLiteral("9"));
        auto *prompt = child<QLabel>(boss, "m18");
        QElapsedTimer clock;
        clock.start();
        child<SkinButton>(boss, "butACCEPT")->click();
        QVERIFY(clock.elapsed() < 200 && !prompt->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(prompt->text(),
                                  UserBase::messageFor(UserBase::Access::Locked, m_base), 6000);
        QVERIFY(prompt->isEnabled());
        other.unlock();

        QVERIFY(QDir().mkdir(UserBase::lockFile(m_base)));
        clock.restart();
        child<SkinButton>(boss, "butACCEPT")->click();
        QTRY_COMPARE(prompt->text(), UserBase::messageFor(UserBase::Access::LockDamaged, m_base));
        QVERIFY(clock.elapsed() < 1000);
        QVERIFY(prompt->text().contains(QStringLiteral("data/jpg/2_17.lock")));
        QCOMPARE(readBase().records.at(1).password, QStringLiteral("1"));

        const auto restore = qScopeGuard([] { textfile::setRenameStep({}); });
        textfile::setRenameStep(
            [](const QString &, const QString &) { return textfile::RenameOutcome::Busy; });
        clock.restart();
        QVERIFY(!textfile::replaceFile(m_base, "x") && clock.elapsed() < 200);
    }

    // The editor: a bank saved unchanged keeps its bytes, every edit is undone, text the bank
    // cannot hold is refused as typed, closing with changes asks, and a save keeps a backup.
    void editorEditsUndoesAndSavesABank()
    {
        AdminWindow *boss = openAdministration();
        child<QPushButton>(boss, "btnEDITOR")->click();
        auto *editor = m_app->windows.find<BankEditorWindow>();
        QVERIFY(editor && editor->isVisible());
        checkDescribed(editor, {"tblBanks", "tblQuestions", "txtTopic", "txtQuestion", "txtAnswer1",
                                "optRight5", "txtPicture", "cmdAdd", "cmdDelete", "cmdUndo",
                                "cmdSave", "cmdClose"});
        auto *banks = child<QTableWidget>(editor, "tblBanks");
        QVERIFY(banks->rowCount() > 5);
        // Tab goes from the bank list's buttons to the questions and the question's fields.
        QStringList tabbed;
        for (QWidget *w = child(editor, "cmdRemoveTest"); tabbed.size() < 3;) {
            w = w->nextInFocusChain();
            if (w->focusPolicy() & Qt::TabFocus)
                tabbed << w->objectName();
        }
        QCOMPARE(tabbed, (QStringList{"tblQuestions", "txtTopic", "txtQuestion"}));
        QVERIFY(banks->item(0, 3)->text().startsWith(QStringLiteral("есть замечания")));
        QVERIFY(!banks->findItems("T01_P01.jpg", Qt::MatchExactly).isEmpty());

        const QString path = m_app->session.jpgPath("T01_96.jpg");
        const QByteArray original = readBytes(path);
        QVERIFY(editor->openBank("T01_96.jpg") && editor->save());
        QCOMPARE(readBytes(path), original);
        QCOMPARE(readBytes(path + ".bak"), original);

        const BankQuestion first = editor->document().questions.first();
        auto *search = child<QLineEdit>(editor, "txtSearch");
        search->setText(editor->document().questions.at(2).question.mid(3, 20));
        QTest::keyClick(search, Qt::Key_Return);
        QCOMPARE(child<QTableWidget>(editor, "tblQuestions")->currentRow(), 2);
        child<QTableWidget>(editor, "tblQuestions")->setCurrentCell(0, 0);
        auto *topic = child<QLineEdit>(editor, "txtTopic");
        typeText(topic, " и ещё");
        QCOMPARE(editor->document().questions.first().topic, first.topic + " и ещё");
        QCOMPARE(editor->undoStack()->count(), 1);
        auto *status = child<QLabel>(editor, "sbStatusBar");
        typeText(child<QLineEdit>(editor, "txtAnswer2"), "→");
        QCOMPARE(editor->document().questions.first().answers, first.answers);
        QVERIFY2(status->text().contains("«→»"), qPrintable(status->text()));
        const int count = int(editor->document().questions.size());
        child<QPushButton>(editor, "cmdAdd")->click();
        QCOMPARE(editor->document().questions.size(), count + 1);
        QCOMPARE(editor->document().questions.at(1).question, QStringLiteral("Новый вопрос"));
        child<QPushButton>(editor, "cmdUndo")->click();
        child<QPushButton>(editor, "cmdUndo")->click();
        QCOMPARE(editor->document().questions.first().topic, first.topic);
        QCOMPARE(editor->document().questions.size(), count);
        child<QPushButton>(editor, "cmdRedo")->click();
        child<QRadioButton>(editor, "optRight5")->click();
        QCOMPARE(editor->document().questions.first().rightAnswer(), 5);
        QCOMPARE(editor->document().questions.first().good, QStringLiteral("5"));

        QVERIFY(
            !clickAnswering(child<QPushButton>(editor, "cmdClose"), "frmSURE", "cmd2").isEmpty());
        QVERIFY(editor->isVisible());
        // A pupil's program beside this one is taking the bank: it stays as it is.
        const SessionState &s = m_app->session;
        std::unique_ptr<QLockFile> running = lockRunningTest(s);
        QVERIFY(running);
        QVERIFY(writeResumeFile(s.dataPath(datafiles::ResumeFile),
                                {"Иван", "Петров", "t01_96.jpg", {0, 1}, 0, 0}));
        QVERIFY(writeSessionFile(s.dataPath(datafiles::SessionFile),
                                 {"Иван", "Петров", first.topic, 22, 1, 0, 0}, {}));
        QVERIFY(!editor->save());
        QCOMPARE(readBytes(path), original);
        QVERIFY2(status->text().contains("идёт тест"), qPrintable(status->text()));
        running.reset();
        QVERIFY(editor->save());
        QCOMPARE(readBytes(path + ".bak"), original);
        QRandomGenerator random(1);
        const PreparedTest saved = loadQuestionBank(path, random);
        QVERIFY2(saved.ok(), qPrintable(saved.error));
        QCOMPARE(saved.bank.records[0].topic, first.topic + " и ещё");
        QCOMPARE(saved.bank.records[0].correct, qint16(5));

        // The preview draws the question as the test window does on a pupil's screen of
        // 1024×768, its picture where the viewer opens beside it.
        QVERIFY(editor->openBank("T01_98.jpg"));
        const BankQuestion pictured = editor->document().questions.first();
        QVERIFY(!pictured.picture.isEmpty());
        bool previewed = false;
        answerWhenShown("dlgPreview", [&](QWidget *shown) {
            auto *preview = qobject_cast<QuestionPreview *>(shown);
            QVERIFY(preview && preview->isModal());
            QWidget *window = preview->testWindow();
            QCOMPARE(window->findChild<QLabel *>("QESTION")->text(), pictured.question);
            QCOMPARE(window->findChild<QAbstractButton *>("OTVET3")->text(),
                     pictured.answerText(2));
            QVERIFY(window->findChild<QAbstractButton *>("OTVET1")->isChecked());
            const QRect screen(QPoint(), QuestionPreview::PupilScreen);
            QVERIFY(window->width() >= 640 && screen.contains(window->geometry()));
            QWidget *viewer = preview->pictureViewer();
            QVERIFY(viewer && viewer->isVisible() && screen.contains(viewer->geometry()));
            QVERIFY(!viewer->geometry().intersects(window->geometry()));
            previewed = true;
            preview->reject();
        });
        child<QPushButton>(editor, "cmdPreview")->click();
        QVERIFY(previewed);
        editor->close();
        QVERIFY(!editor->isVisible());
    }

    // A school's own test: a free catalogue slot, cleared of the grades a former test left
    // there, a new bank, questions imported after their preview; taken out of the catalogue
    // again.
    void editorAddsASchoolTestAndImportsIntoIt()
    {
        QCOMPARE(UserBase::update(m_base,
                                  [](UserBase &base) {
                                      base.records[1].results[14] = textfile::printNumber(4);
                                      return true;
                                  }),
                 UserBase::Access::Done);
        m_app->session.user.results[14] = QStringLiteral("5");
        auto *editor = m_app->windows.open<BankEditorWindow>();
        answerWhenShown("dlgNewTest", [](QWidget *shown) {
            auto *dialog = qobject_cast<QDialog *>(shown);
            QVERIFY(dialog && dialog->isModal());
            dialog->findChild<QLineEdit *>("txtTestName")->setText("Переезды");
            dialog->findChild<QLineEdit *>("txtTestNote")->setText("Тест училища");
            dialog->accept();
        });
        child<QPushButton>(editor, "cmdNewTest")->click();
        SessionState &session = m_app->session;
        QVERIFY(readTestCatalogue(session, session.jpgPath(datafiles::TestCatalogueFile)));
        QCOMPARE(session.catalogue.names[14], QStringLiteral("Переезды"));
        QCOMPARE(session.catalogue.files[14], QStringLiteral("T01_N1.jpg"));
        QCOMPARE(catalogueDescription(session, "Переезды"), QStringLiteral("Тест училища."));
        QCOMPARE(catalogueDescription(session, "Светофоры"), testDescriptionForName("Светофоры"));
        QCOMPARE(editor->document().name, QStringLiteral("Переезды"));
        QVERIFY(readBase().records[1].results[14].isEmpty());
        QCOMPARE(readBase().records[1].resultNumber(5), 5);
        QVERIFY(session.user.results[14].isEmpty());

        const QString csv = session.jpgPath("q.csv");
        writeBytes(csv, "Переезды;Первый;а;б;в;г;д;2;\nПереезды;Второй;а;б;в;г;д;3;\n"
                        "Переезды;Без ответов;а;б;2;\n");
        QString preview;
        answerWhenShown("dlgImport", [&preview](QWidget *shown) {
            auto *dialog = qobject_cast<QDialog *>(shown);
            QVERIFY(dialog && dialog->isModal());
            preview = dialog->findChild<QPlainTextEdit *>("txtImportPreview")->toPlainText();
            dialog->accept();
        });
        editor->importFile(csv);
        QVERIFY2(preview.contains("строка 3: не будет взят: полей 6"), qPrintable(preview));
        QCOMPARE(editor->document().questions.size(), 2);
        QVERIFY(editor->save());
        QRandomGenerator random(1);
        const PreparedTest saved = loadQuestionBank(session.jpgPath("T01_N1.jpg"), random);
        QVERIFY2(saved.ok(), qPrintable(saved.error));
        QCOMPARE(saved.bank.questionCount(), 2);

        auto *banks = child<QTableWidget>(editor, "tblBanks");
        banks->setCurrentCell(banks->findItems("T01_N1.jpg", Qt::MatchExactly).first()->row(), 0);
        QVERIFY(!clickAnswering(child<QPushButton>(editor, "cmdRemoveTest"), "frmSURE", "cmd1")
                     .isEmpty());
        QVERIFY(readTestCatalogue(session, session.jpgPath(datafiles::TestCatalogueFile)));
        QVERIFY(session.catalogue.files[14].isEmpty());
        QVERIFY(banks->findItems("T01_N1.jpg", Qt::MatchExactly).isEmpty());
    }

    void leadsToSettingsAndBackToTheMenu()
    {
        AdminWindow *boss = openAdministration();
        QSignalSpy cues(&m_app->cues, &CuePlayer::cueStarted);
        child<SkinButton>(boss, "btnNET")->click();
        QWidget *monitor = loadedWindow(QStringLiteral("frmNET"));
        QVERIFY(monitor && monitor->isVisible() && boss->isHidden());
        monitor->close();
        QVERIFY(boss->isVisible());
        cues.clear();
        child<SkinButton>(boss, "btnSETUP")->click();
        QCOMPARE(cues.first().at(0).toString(), QStringLiteral("hihihih.wav"));
        auto *setup = m_app->windows.find<TestSettingsWindow>();
        QVERIFY(setup && setup->isVisible() && boss->isHidden());
        checkDescribed(setup,
                       {"MIN1", "MIN5", "UNLIM", "test1", "test3", "Комманда1", "Комманда2"});
        const QString answerTime = m_app->session.jpgPath(datafiles::AnswerTimeFile);
        QFile::remove(answerTime);
        setup->close();
        setup = m_app->windows.open<TestSettingsWindow>();
        auto *apply = child<QAbstractButton>(setup, "Комманда1");
        QVERIFY(child<QRadioButton>(setup, "MIN1")->isChecked());
        QTest::mouseClick(child(setup, "Метка7"), Qt::LeftButton);
        QVERIFY(child<QRadioButton>(setup, "UNLIM")->isChecked());
        child<QRadioButton>(setup, "test3")->click();
        apply->click();
        QCOMPARE(readBytes(answerTime), QByteArray(" 9 \r\n"));
        QCOMPARE(loadTestSettings(m_app->session).showErrors, 3);
        QVERIFY(child<QLabel>(setup, "labDELIVERY")
                    ->text()
                    .startsWith("Настройки записаны на этом компьютере."));
        // A screen reader's toggle chooses an option exactly as a click does.
        QAccessibleInterface *five = QAccessible::queryAccessibleInterface(child(setup, "MIN5"));
        QVERIFY(five && five->actionInterface());
        five->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        apply->click();
        QCOMPARE(readBytes(answerTime), QByteArray(" 5 \r\n"));
        // With a classroom the pupil computers are written off the window thread; the button
        // waits for them.
        TestProgramFolder pupil;
        QVERIFY(textfile::writeLines(m_app->session.dataPath(datafiles::NetConfigFile),
                                     {"number", " 1 ", " 1 ", pupil.path() + u'/'}));
        apply->click();
        QVERIFY(!apply->isEnabled());
        QTRY_VERIFY(apply->isEnabled());
        QCOMPARE(child<QLabel>(setup, "labDELIVERY")->text(),
                 QStringLiteral("Настройки записаны на этом компьютере. Сетевые компьютеры: "
                                "получили 1 из 1."));
        QCOMPARE(readBytes(pupil.jpg(datafiles::AnswerTimeFile)), QByteArray(" 5 \r\n"));
        QVERIFY(QFile::remove(m_app->session.dataPath(datafiles::NetConfigFile)));
        setup->close();
        QVERIFY(boss->isVisible());

        child<SkinButton>(boss, "btnRETURN")->click();
        QVERIFY(!loadedWindow(QStringLiteral("frmBOSS")));
        QWidget *menu = loadedWindow(QStringLiteral("frmMain"));
        QVERIFY(menu && menu->isVisible());
    }
};

QTEST_MAIN(AdminWindowTest)
#include "tst_adminwindow.moc"
