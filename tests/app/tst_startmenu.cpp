#include "app/application.h"
#include "app/mainmenu.h"
#include "app/splash.h"
#include "testing/testintro.h"
#include "testing/testrun.h"
#include "testsupport.h"
#include "ui/skinbutton.h"
#include "users/loginwindow.h"
#include "windowsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

class StartMenuTest : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<Application> m_app;
    int m_ended = 0;

    MainMenu *startAs(const QString &first, const QString &second, const QString &password)
    {
        m_app = std::make_unique<Application>(m_folder->path(), false);
        m_app->windows.endAction = [this] { ++m_ended; };
        answerLogin(first, second, password);
        if (!m_app->login())
            return nullptr;
        return m_app->startMenu(-1);
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>(TestProgramFolder::Content::DemoData);
        m_ended = 0;
    }
    void cleanup()
    {
        deleteAllWindows();
        m_app.reset();
        m_folder.reset();
    }

    void administratorReachesMenuChangesUserAndPointsAtButtons()
    {
        const QStringList leftFiles{m_folder->data("curr_test.ini"), m_folder->data("temp1.ini")};
        for (const QString &file : leftFiles)
            writeBytes(file, "first\r\nold\r\n");
        MainMenu *menu = startAs("vedok", "vedok", "vedok");
        QVERIFY(menu && menu->isVisible());
        QCOMPARE(menu->windowTitle(), QStringLiteral("\"Тарвел\""));
        for (const QString &file : leftFiles)
            QVERIFY2(!QFile::exists(file), qPrintable(file));
        QVERIFY(menu->findChild<SkinButton *>(QStringLiteral("btnBOSS"))->isVisible());
        QVERIFY(menu->findChild<QLabel *>(QStringLiteral("lblUser"))->text().contains("vedok"));
        auto *status = menu->findChild<QLabel *>(QStringLiteral("sbStatusBar"));
        QCOMPARE(status->text(), MainMenu::DefaultStatus);
        QCOMPARE(m_app->session.catalogue.names[13], QStringLiteral("Тест по всему курсу"));

        // A change of user offers an empty login window.
        menu->findChild<SkinButton *>(QStringLiteral("btNEW"))->click();
        auto *login = m_app->windows.find<LoginWindow>();
        QVERIFY(login && login->isVisible() && !menu->isVisible());
        QVERIFY(login->findChild<QLineEdit *>(QStringLiteral("Текст1"))->text().isEmpty());
        // Cancel returns to the menu with the administrator still current; the login window
        // stays loaded behind it, holding no typed password for a screen reader to read.
        auto *password = login->findChild<QLineEdit *>(QStringLiteral("Текст3"));
        password->setText(QStringLiteral("тайна"));
        login->findChild<SkinButton *>(QStringLiteral("Комманда2"))->click();
        QVERIFY(menu->isVisible());
        QVERIFY(m_app->windows.find<LoginWindow>() == login && !login->isVisible());
        QVERIFY(password->text().isEmpty());
        QCOMPARE(m_app->session.user.firstName, QStringLiteral("vedok"));
        QCOMPARE(m_ended, 0);

        // Under the mouse a button shows its description and is the only one lit.
        auto *tests = menu->findChild<SkinButton *>(QStringLiteral("btTESTS"));
        checkHoverHints(menu, status);
        hoverOver(tests);
        QVERIFY(tests->isLit());
        int lit = 0;
        for (SkinButton *button : menu->findChildren<SkinButton *>())
            lit += button->isLit();
        QCOMPARE(lit, 1);
        hoverOver(menu->findChild<QLabel *>(QStringLiteral("p_BOX")));
        QVERIFY(!tests->isLit());
        QCOMPARE(status->text(), MainMenu::DefaultStatus);
        // A window shown again has no button lit from before it was hidden.
        hoverOver(tests);
        menu->hide();
        menu->show();
        QVERIFY(!tests->isLit());

        // Every control of the menu and the login window is named and described.
        m_app->windows.open<LoginWindow>();
        for (QWidget *window : {static_cast<QWidget *>(menu), loadedWindow("id_reader")}) {
            for (QWidget *control : window->findChildren<QWidget *>()) {
                if (qobject_cast<QAbstractButton *>(control) || qobject_cast<QLineEdit *>(control))
                    QVERIFY2(!control->accessibleName().isEmpty() &&
                                 !control->accessibleDescription().isEmpty(),
                             qPrintable(control->objectName()));
            }
        }
    }

    void newPupilRegistersAndSeesNoBossButton()
    {
        const QString base = m_folder->jpg(QStringLiteral("2_17.jpg"));
        const qsizetype before = UserBase::load(base)->records.size();
        m_app = std::make_unique<Application>(m_folder->path(), false);
        // First press: not found; second press with the same names registers.
        answerWhenShown(QStringLiteral("id_reader"), [](QWidget *w) {
            w->findChild<QLineEdit *>(QStringLiteral("Текст1"))->setText("vedok");
            w->findChild<QLineEdit *>(QStringLiteral("Текст2"))->setText("Сидоров");
            w->findChild<QLineEdit *>(QStringLiteral("Текст3"))->setText("1");
            auto *ok = w->findChild<SkinButton *>(QStringLiteral("Комманда1"));
            ok->click();
            QVERIFY(w->isVisible());
            QVERIFY(w->findChild<QLabel *>("Метка4")->text().startsWith("Вас   нет"));
            ok->click();
        });
        QVERIFY(m_app->login());
        MainMenu *menu = m_app->startMenu(-1);
        QVERIFY(!menu->findChild<SkinButton *>(QStringLiteral("btnBOSS"))->isVisible());
        QCOMPARE(UserBase::load(base)->records.size(), before + 1);
    }

    // A damaged base admits nobody; the administrator's password is never remembered and
    // stays hidden after a wrong try.
    void loginGuardsTheBaseAndTheAdministrator()
    {
        const QString base = m_folder->jpg(QStringLiteral("2_17.jpg"));
        const QByteArray good = readBytes(base);
        writeBytes(base, QByteArray());
        m_app = std::make_unique<Application>(m_folder->path(), false);
        answerWhenShown(QStringLiteral("id_reader"), [](QWidget *shown) {
            auto *login = qobject_cast<LoginWindow *>(shown);
            QVERIFY(login && QApplication::activeModalWidget() == login);
            auto *message = login->findChild<QLabel *>(QStringLiteral("Метка4"));
            QVERIFY(message->text().contains(QStringLiteral("поврежден")));
            QVERIFY(message->text().contains(QStringLiteral("data/jpg/2_17.jpg")));
            login->findChild<QLineEdit *>(QStringLiteral("Текст1"))->setText("vedok");
            login->findChild<QLineEdit *>(QStringLiteral("Текст2"))->setText("vedok");
            login->findChild<QLineEdit *>(QStringLiteral("Текст3"))->setText("mine");
            auto *ok = login->findChild<SkinButton *>(QStringLiteral("Комманда1"));
            ok->click();
            ok->click();
            QVERIFY(login->isVisible() && message->text().contains(QStringLiteral("поврежден")));
            login->findChild<SkinButton *>(QStringLiteral("Комманда2"))->click();
        });
        QVERIFY(!m_app->login());
        QCOMPARE(readBytes(base), QByteArray());

        writeBytes(base, good);
        const QString remembered = m_folder->jpg(QStringLiteral("sv11.jpg"));
        writeBytes(remembered, " 1 \r\nvedok\r\nvedok\r\nvedok\r\n");
        m_app = std::make_unique<Application>(m_folder->path(), false);
        answerWhenShown(QStringLiteral("id_reader"), [remembered](QWidget *shown) {
            auto *login = qobject_cast<LoginWindow *>(shown);
            QVERIFY(login && QApplication::activeModalWidget() == login);
            auto *box = login->findChild<QCheckBox *>(QStringLiteral("FIOremember"));
            auto *password = login->findChild<QLineEdit *>(QStringLiteral("Текст3"));
            QVERIFY(!box->isChecked() && password->text().isEmpty());
            login->findChild<QLineEdit *>(QStringLiteral("Текст1"))->setText("vedok");
            login->findChild<QLineEdit *>(QStringLiteral("Текст2"))->setText("Vedok ");
            password->setText("wrong");
            box->click();
            QVERIFY(!box->isChecked());
            QCOMPARE(login->findChild<QLabel *>("remem_LAB")->text(),
                     RememberedLogin::AdministratorRefusedText);
            QVERIFY(readBytes(remembered).startsWith(" 1 \r\nvedok"));
            QTRY_COMPARE(password->echoMode(), QLineEdit::Password);
            login->findChild<SkinButton *>(QStringLiteral("Комманда1"))->click();
            QCOMPARE(password->text(), LoginFlow::WrongPasswordText);
            QTest::keyClicks(password, "ve");
            QCOMPARE(password->text(), QStringLiteral("ve"));
            QCOMPARE(password->echoMode(), QLineEdit::Password);
            // Tab goes on from the password to the box below it, not back to "Имя".
            QCOMPARE(password->nextInFocusChain(), box);
            // A login the file cannot hold never replaces the one remembered.
            auto *first = login->findChild<QLineEdit *>(QStringLiteral("Текст1"));
            first->setText("Иван");
            login->findChild<QLineEdit *>(QStringLiteral("Текст2"))->setText("Петров");
            password->setText("п");
            box->click();
            QVERIFY(box->isChecked());
            QCOMPARE(box->accessibleDescription(), LoginWindow::UntickText);
            first->setText("Иван☺");
            QTest::keyClick(first, Qt::Key_Escape); // "Отмена"
        });
        QVERIFY(!m_app->login());
        QCOMPARE(RememberedLogin::read(remembered).firstName, QStringLiteral("Иван"));
    }

    void soundSwitchIsSilentAndModeButtonsPlayTheirCue()
    {
        MainMenu *menu = startAs("vedok", "vedok", "vedok");
        QSignalSpy cues(&m_app->cues, &CuePlayer::cueStarted);
        auto *sound = menu->findChild<QCheckBox *>(QStringLiteral("SOUNDchek"));
        sound->click();
        QVERIFY(!m_app->session.soundOn);
        menu->findChild<SkinButton *>(QStringLiteral("btTESTS"))->click();
        sound->click();
        QVERIFY(m_app->session.soundOn);
        QCOMPARE(cues.count(), 0);

        // Each mode button sets its mode and plays its cue.
        SessionState &s = m_app->session;
        const auto click = [menu](const char *name) {
            menu->findChild<SkinButton *>(QString::fromLatin1(name))->click();
        };
        for (const auto &[button, mode] : {std::pair{"btREAD", SessionMode::Reading},
                                           {"btLEARN", SessionMode::Learning},
                                           {"btCONTROL", SessionMode::Control},
                                           {"btKURS", SessionMode::CourseTest}}) {
            click(button);
            QCOMPARE(s.mode, mode);
        }
        QCOMPARE(m_app->windows.find<TestIntroWindow>()->run()->bank(), QStringLiteral("sv9.jpg"));
        click("btREAD");
        QCOMPARE(s.mode, SessionMode::Reading);
        QVERIFY(cues.count() >= 5);
        QCOMPARE(cues.first().first().toString(), QStringLiteral("hihihih.wav"));
        click("btEXIT");
        QCOMPARE(cues.last().first().toString(), QStringLiteral("vsem_spat.wav"));
        QCOMPARE(m_ended, 1);
    }

    // Giving up the login ends before the splash; the splash shows the menu when it closes.
    void givingUpEndsBeforeTheSplashWhichLeadsToTheMenu()
    {
        m_app = std::make_unique<Application>(m_folder->path(), false);
        QSignalSpy cues(&m_app->cues, &CuePlayer::cueStarted);
        pressWhenShown(QStringLiteral("id_reader"), QStringLiteral("Комманда2"));
        QVERIFY(!m_app->login());
        QCOMPARE(cues.last().first().toString(), QStringLiteral("oou.wav"));
        QVERIFY(!loadedWindow(QStringLiteral("frmSplash")));

        cues.clear();
        m_app->session.soundOn = false;
        MainMenu *menu = m_app->startMenu(100);
        auto *splash = m_app->windows.find<SplashWindow>();
        QVERIFY(splash && splash->isVisible() && !menu->isVisible());
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(cues.count(), 1);
        QCOMPARE(cues.first().first().toString(), QStringLiteral("thenx.wav"));
    }
};

QTEST_MAIN(StartMenuTest)
#include "tst_startmenu.moc"
