#include "app/application.h"
#include "app/mainmenu.h"
#include "core/datafiles.h"
#include "reading/contentswindow.h"
#include "reading/helpwindow.h"
#include "reading/pageview.h"
#include "reading/pictureviewer.h"
#include "reading/questionsortest.h"
#include "reading/readerflow.h"
#include "reading/readerwindow.h"
#include "reading/readingorder.h"
#include "testsupport.h"
#include "ui/pictures.h"
#include "ui/skinbutton.h"
#include "users/loginwindow.h"
#include "windowsupport.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {
const QString Strelka = QStringLiteral("1.2.Стрелка (проверка зависимостей на станции)");
const QString Marshrut = QStringLiteral("1.3.Маршрут (проверка взаимозависимостей)");

void click(QWidget *window, const char *name)
{
    auto *button = window->findChild<QAbstractButton *>(QString::fromUtf8(name));
    QVERIFY2(button, name);
    QVERIFY2(button->isVisible() && button->isEnabled(), name);
    button->click();
}

QString shownFile(QWidget *window, const char *view)
{
    return window->findChild<PageView *>(QString::fromUtf8(view))->shownFile();
}
} // namespace

class ReadingWindowsTest : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<Application> m_app;
    MainMenu *m_menu = nullptr;
    QStringList m_cues;

    void start()
    {
        m_app = startApplication(*m_folder);
        connect(&m_app->cues, &CuePlayer::cueStarted, this,
                [this](const QString &cue) { m_cues << cue; });
        answerLogin("vedok", "vedok", "vedok");
        QVERIFY(m_app->login());
        m_menu = m_app->startMenu(-1);
        QVERIFY(m_menu->isVisible());
    }

    void stop()
    {
        deleteAllWindows();
        m_app.reset();
    }

    ContentsWindow *contents() const { return m_app->windows.find<ContentsWindow>(); }
    ReaderWindow *reader() const { return m_app->windows.find<ReaderWindow>(); }
    QString textPage(const QString &title) const
    {
        return m_app->session.dataPath("htm/" + title + ".htm");
    }
    QString questionPage(const QString &title) const
    {
        return m_app->session.dataPath("htm/qstn/" + title + ".htm");
    }

    // From the main menu's button to the reader on that paragraph.
    void openParagraph(const char *menuButton, const QString &title)
    {
        click(m_menu, menuButton);
        QVERIFY(contents() && contents()->isVisible());
        QVERIFY(!m_menu->isVisible());
        auto *tree = contents()->findChild<QTreeWidget *>("tv1");
        const QList<QTreeWidgetItem *> found =
            tree->findItems(title, Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(found.size(), 1);
        tree->setCurrentItem(found.first());
        click(contents(), "btnOpen");
        QVERIFY(reader() && reader()->isVisible());
        QVERIFY(!contents()->isVisible());
        QVERIFY(loadedWindow("frmChGlava"));
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>(TestProgramFolder::Content::DemoData);
        m_cues.clear();
        start();
    }
    void cleanup()
    {
        stop();
        m_folder.reset();
    }

    void contentsFromReaderAndCancelKeepThePage()
    {
        openParagraph("btREAD", Strelka);
        QTRY_COMPARE(shownFile(reader(), "WebBrowser1"), textPage(Strelka));
        QCOMPARE(reader()->windowTitle(), Strelka);
        QVERIFY(!reader()->findChild<SkinButton *>("btnTest")->isVisible());
        click(reader(), "btnNext");
        QCOMPARE(shownFile(reader(), "WebBrowser1"), textPage(Marshrut));
        QCOMPARE(m_cues.count(QStringLiteral("book.wav")), 2);

        click(reader(), "btnChGlava");
        QTRY_VERIFY(!reader());
        QVERIFY(contents()->isVisible());
        QVERIFY(!m_menu->isVisible());
        auto *tree = contents()->findChild<QTreeWidget *>("tv1");
        QCOMPARE(tree->currentItem()->text(0), Strelka);

        click(contents(), "btnCancel");
        QVERIFY(reader() && reader()->isVisible());
        QTRY_COMPARE(shownFile(reader(), "WebBrowser1"), textPage(Marshrut));
        QVERIFY(!m_menu->isVisible());
        QVERIFY(!contents()->isVisible());

        click(reader(), "btnExit");
        QTRY_VERIFY(m_menu->isVisible());
        QVERIFY(m_cues.contains(QStringLiteral("close.wav")));
        // Opened from the main menu this time: cancel goes back there. Without a bookmark the
        // contents offers none.
        click(m_menu, "btREAD");
        QVERIFY(contents()->isVisible());
        QVERIFY(!contents()->findChild<SkinButton *>("btnZaklad")->isVisible());
        click(contents(), "btnCancel");
        QTRY_VERIFY(!contents());
        QVERIFY(m_menu->isVisible());
        QCOMPARE(m_cues.last(), QStringLiteral("oou.wav"));

        // With the keyboard: Enter on a paragraph opens it.
        click(m_menu, "btREAD");
        tree = contents()->findChild<QTreeWidget *>("tv1");
        tree->setCurrentItem(
            tree->findItems(Marshrut, Qt::MatchExactly | Qt::MatchRecursive).at(0));
        QTest::keyClick(tree, Qt::Key_Return);
        QVERIFY(reader() && reader()->isVisible());
        QTRY_COMPARE(shownFile(reader(), "WebBrowser1"), textPage(Marshrut));

        // Page Down reads a long page to its end before it turns to the next paragraph, Page Up
        // turns back only from the page's start; Alt+arrows turn at once.
        reader()->resize(500, 260);
        QApplication::setActiveWindow(reader());
        auto *browser = reader()->findChild<QTextBrowser *>();
        QScrollBar *bar = browser->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0);
        int presses = 0;
        while (shownFile(reader(), "WebBrowser1") == textPage(Marshrut) && presses < 100) {
            const bool atEnd = bar->value() == bar->maximum();
            QTest::keyClick(browser, Qt::Key_PageDown);
            ++presses;
            QCOMPARE(shownFile(reader(), "WebBrowser1") != textPage(Marshrut), atEnd);
        }
        QVERIFY(presses > 1);
        const QString next = shownFile(reader(), "WebBrowser1");
        QTRY_COMPARE(bar->value(), 0);
        QTest::keyClick(browser, Qt::Key_PageUp);
        QTRY_COMPARE(shownFile(reader(), "WebBrowser1"), textPage(Marshrut));
        QTest::keyClick(reader(), Qt::Key_Right, Qt::AltModifier);
        QTRY_COMPARE(shownFile(reader(), "WebBrowser1"), next);
    }

    void bookmarkSurvivesANewLogin()
    {
        openParagraph("btREAD", Marshrut);
        QVERIFY(!reader()->findChild<SkinButton *>("btnZaklad2")->isEnabled());
        click(reader(), "btnZaklad1");
        QVERIFY(reader()->findChild<SkinButton *>("btnZaklad2")->isEnabled());
        const auto base = UserBase::load(m_folder->jpg(datafiles::UserBaseFile));
        QCOMPARE(base->records.at(base->indexOf("vedok", "vedok")).bookmark, Marshrut);
        // The hidden contents shows its bookmark button as soon as it comes back.
        click(reader(), "btnChGlava");
        QTRY_VERIFY(contents()->isVisible());
        QVERIFY(contents()->findChild<SkinButton *>("btnZaklad")->isVisible());

        stop();
        start();
        QCOMPARE(m_app->session.user.bookmark, Marshrut);
        click(m_menu, "btLEARN");
        click(contents(), "btnZaklad");
        QVERIFY(reader()->isVisible());
        QTRY_COMPARE(shownFile(reader(), "WebBrowser1"), textPage(Marshrut));
        click(reader(), "btnPrev");
        click(reader(), "btnZaklad2");
        QCOMPARE(shownFile(reader(), "WebBrowser1"), textPage(Marshrut));
    }

    // Every control is named and hinted; in learning mode the questions come first.
    void learningModeShowsQuestionsFirst()
    {
        openParagraph("btLEARN", Strelka);
        checkHoverHints(reader(), reader()->findChild<QLabel *>("labStatus"));
        QCOMPARE(reader()->findChild<QWidget *>("btnPrev")->toolTip(), "Предыдущий параграф");
        m_app->windows.load<PictureViewer>()->showFor("k_saut", nullptr);
        QuestionsOrTestWindow choice(m_app->context);
        QList<QWidget *> windows{contents(), reader(), loadedWindow("PICview"), &choice};
        for (QWidget *w : windows) {
            for (QAbstractButton *button : w->findChildren<QAbstractButton *>()) {
                QVERIFY2(!button->accessibleName().isEmpty(), qPrintable(button->objectName()));
                QVERIFY2(!button->accessibleDescription().isEmpty(),
                         qPrintable(button->objectName()));
            }
        }
        QVERIFY(!contents()->findChild<QWidget *>("tv1")->accessibleName().isEmpty());
        // The running caption is known by its whole text, not by a new name every tick.
        QCOMPARE(loadedWindow("PICview")->findChild<QLabel *>("labCaption")->accessibleName(),
                 CaptionTicker::Notice.trimmed());
        QCOMPARE(contents()->findChild<QLabel *>("labDown")->text(), ContentsWindow::DefaultHint);

        QVERIFY(reader()->findChild<SkinButton *>("btnTest")->isVisible());
        QTRY_COMPARE(shownFile(reader(), "WebBrowser1"), textPage(Strelka));
        click(reader(), "btnNext");
        QCOMPARE(shownFile(reader(), "WebBrowser1"), questionPage(Strelka));
        QVERIFY(reader()
                    ->findChild<PageView *>("WebBrowser1")
                    ->visibleText()
                    .contains(QStringLiteral("Контрольные вопросы")));
        click(reader(), "btnNext");
        QCOMPARE(shownFile(reader(), "WebBrowser1"), textPage(Marshrut));
        click(reader(), "btnTest");
        QCOMPARE(shownFile(reader(), "WebBrowser1"), questionPage(Marshrut));
        // The button says what it brings back.
        QCOMPARE(reader()->findChild<SkinButton *>("btnTest")->accessibleName(), "Текст");
        click(reader(), "btnTest");
        QCOMPARE(shownFile(reader(), "WebBrowser1"), textPage(Marshrut));
        QCOMPARE(reader()->findChild<SkinButton *>("btnTest")->accessibleName(), "Вопросы");

        m_app->session.user.bookmark = paragraphs::SingleLinePlan;
        reader()->flow().goToBookmark();
        QVERIFY(!reader()->findChild<SkinButton *>("btnTest")->isVisible());
    }

    void testChosenFromTheQuestionsHidesTheReader()
    {
        auto *introduction = new QWidget;
        m_app->windows.openTestIntro = [introduction](const TestRequest &request) {
            introduction->setWindowTitle(request.bank);
            introduction->show();
        };
        answerWhenShown("frmVopORTest", [](QWidget *choice) {
            QCOMPARE(choice->windowTitle(), QuestionsOrTestWindow::Caption);
            QVERIFY(choice->isModal());
            click(choice, "comTEST");
        });
        openParagraph("btCONTROL", paragraphs::First);
        QTRY_VERIFY(introduction->isVisible());
        QVERIFY(!reader()->isVisible());
        QCOMPARE(introduction->windowTitle(), QStringLiteral("T01_P01.jpg"));
        QCOMPARE(shownFile(reader(), "WebBrowser1"), questionPage(paragraphs::First));
        // The test windows bring the reader back when the test ends.
        reader()->showAgainAfterTest();
        QVERIFY(reader()->isVisible());
        QCOMPARE(shownFile(reader(), "WebBrowser1"), questionPage(paragraphs::First));
    }

    void choosingTheQuestionsKeepsThem()
    {
        bool chosen = false;
        answerWhenShown("frmVopORTest", [&chosen](QWidget *choice) {
            click(choice, "comVOPR");
            chosen = true;
        });
        openParagraph("btCONTROL", paragraphs::First);
        QTRY_VERIFY(chosen);
        QCOMPARE(shownFile(reader(), "WebBrowser1"), questionPage(paragraphs::First));
        QVERIFY(reader()->isVisible());
        // Forward in the check mode: the next paragraph's questions, without a test to offer.
        click(reader(), "btnNext");
        QCOMPARE(shownFile(reader(), "WebBrowser1"), questionPage(Strelka));
        QVERIFY(!topLevel("frmVopORTest"));
    }

    // An outline or a description the reader cannot use: it says so and the menu comes back.
    void unusableFileReturnsToTheMenu_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        const QString outline = datafiles::OutlineFile;
        QTest::addRow("missing") << outline << QByteArray() << ReaderFlow::OutlineMissingText;
        QTest::addRow("empty") << outline << QByteArray("") << ReaderFlow::OutlineEmptyText;
        QTest::addRow("title and headings only")
            << outline << textfile::joinLines({"Курс", "", "Раздел 1", "Глава 1"})
            << ReaderFlow::OutlineEmptyText;
        QTest::addRow("missing description")
            << "jpg/" + datafiles::TestDescriptionFile << QByteArray() << "14_13.jpg";
    }
    void unusableFileReturnsToTheMenu()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QFile::remove(m_folder->data(file));
        if (!content.isNull())
            writeBytes(m_folder->data(file), content);
        QString message;
        answerWhenShown(QStringLiteral("QMessageBox"), [&message](QWidget *shown) {
            auto *box = qobject_cast<QMessageBox *>(shown);
            QVERIFY(box && QApplication::activeModalWidget() == box);
            message = box->text();
            box->accept();
        });
        if (file == datafiles::OutlineFile)
            click(m_menu, "btREAD");
        else
            openParagraph("btCONTROL", Strelka);
        QTRY_VERIFY(!message.isEmpty());
        QVERIFY2(message.contains(expected), qPrintable(message));
        QTRY_VERIFY(file == datafiles::OutlineFile ? !contents() : !reader());
        QVERIFY(m_menu->isVisible());
    }

    void aboutHelpAndHistoryReturnToTheirOpener()
    {
        QWidget *about = m_app->windows.open<AboutWindow>();
        QCOMPARE(about->windowTitle(), QStringLiteral("О программе и создателях"));
        QVERIFY(shownFile(about, "brOUser2").endsWith("htm/about/about.htm"));
        QVERIFY(shownFile(about, "brOUser3").endsWith("htm/about/1/about.htm"));
        // The greeting waits about three seconds; running its timer out now stands in for them.
        auto *greeting = about->findChild<QTimer *>("TIMer");
        QVERIFY(greeting && greeting->isSingleShot() && greeting->remainingTime() > 2500);
        QVERIFY(!m_cues.contains(QStringLiteral("about.wav")));
        greeting->start(0);
        QTRY_COMPARE(m_cues.count(QStringLiteral("about.wav")), 1);
        click(about, "Комманда1");
        QCOMPARE(m_cues.last(), QStringLiteral("close.wav"));
        QTRY_VERIFY(m_menu->isVisible());

        click(m_menu, "btHELP");
        HelpWindow *help = m_app->windows.find<HelpWindow>();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->windowTitle(), QStringLiteral("Помощь"));
        QCOMPARE(shownFile(help, "WebBrowser2"), m_app->session.dataPath("htm/help.htm"));
        click(help, "Комманда1");
        QTRY_VERIFY(m_menu->isVisible());

        QWidget monitor;
        monitor.show();
        help = m_app->windows.open<HelpWindow>();
        help->openFrom(&monitor, HelpWindow::Page::NetworkGuide);
        QVERIFY(!monitor.isVisible());
        QVERIFY(shownFile(help, "WebBrowser2").endsWith("Помощь для сетевой версии.htm"));
        click(help, "Комманда1");
        QTRY_VERIFY(monitor.isVisible());

        // The history is a copy of its own that goes when the view closes.
        const QString copy = m_folder->data("htm/history.txt");
        textfile::writeLines(copy, {"Иванов Петр", "Тест по курсу", " 5 "});
        QWidget log;
        m_menu->hide();
        help = m_app->windows.open<HelpWindow>();
        help->openFrom(&log, HelpWindow::Page::History);
        QCOMPARE(help->windowTitle(), HelpWindow::HistoryCaption);
        const QString text = help->findChild<PageView *>("WebBrowser2")->visibleText();
        QVERIFY2(text.contains(QStringLiteral("Иванов Петр")), qPrintable(text));
        click(help, "Комманда1");
        QTRY_VERIFY(log.isVisible());
        QVERIFY(!QFile::exists(copy));
        QVERIFY(!m_menu->isVisible());
    }

    void pagesAndPictureViewerShowCyrillicPicturesAndMissingFiles()
    {
        QWidget holder;
        PageView *view =
            PageView::create("view", "Страница", m_app->session.dataPath(QString()), &holder);
        const QString page = m_app->session.dataPath("htm/10.1.Путевые устройства САУТ.htm");
        QVERIFY(readBytes(page).contains("windows-1251"));
        view->showFile(page);
        QVERIFY(view->visibleText().contains(QStringLiteral("Путевые устройства САУТ")));
        auto *browser = view->findChild<QTextBrowser *>();
        const QVariant picture =
            browser->loadResource(QTextDocument::ImageResource, QUrl("../jpg/k_saut.jpg"));
        QVERIFY(qvariant_cast<QImage>(picture).width() > pictures::broken().width());
        // The page's line spacing does not stretch the picture's line: its caption follows
        // right under it.
        holder.resize(600, 400);
        view->resize(600, 400);
        holder.show();
        QTextBlock pictureLine = browser->document()->begin();
        while (pictureLine.isValid() &&
               !pictureLine.text().contains(QChar::ObjectReplacementCharacter))
            pictureLine = pictureLine.next();
        QVERIFY(pictureLine.isValid());
        const QAbstractTextDocumentLayout *layout = browser->document()->documentLayout();
        QVERIFY(layout->blockBoundingRect(pictureLine.next()).top() -
                    layout->blockBoundingRect(pictureLine).bottom() <
                40);

        // What a page names outside the data folder, or through a link out of it, or that is
        // no regular file, is never read: the page shows the broken-picture mark in its place.
        // A picture wider than the largest side is scaled down.
        QTemporaryDir outside;
        const QString fifo = m_folder->data("htm/pipe.htm");
        QVERIFY(QFile::copy(m_app->session.jpgPath("k_saut.jpg"), outside.filePath("out.jpg")));
        QVERIFY(QFile::link(outside.filePath("out.jpg"), m_folder->jpg("link_out.jpg")));
        QVERIFY(QFile::link("/dev/zero", m_folder->jpg("zero.jpg")));
        QImage huge(5000, 4, QImage::Format_Mono);
        huge.fill(0);
        QVERIFY(huge.save(m_folder->jpg("huge.png")));
#ifdef Q_OS_UNIX
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
#endif
        const QStringList refused{"/dev/zero",
                                  "../jpg/zero.jpg",
                                  fifo,
                                  outside.filePath("out.jpg"),
                                  "../jpg/link_out.jpg",
                                  "../jpg/k_saut.jpg/../../../../etc/passwd"};
        QString hostile = "<p>" + QString(300, u'Ж') + "</p>";
        for (const QString &name : refused)
            hostile += "<img src=\"" + name + "\">";
        writeBytes(m_folder->data("htm/hostile.htm"),
                   "<html><head><meta charset=\"utf-8\"></head><body>" + hostile.toUtf8() +
                       "</body></html>");
        view->showFile(m_folder->data("htm/hostile.htm"));
        QVERIFY(view->visibleText().contains(QString(300, u'Ж'))); // read as UTF-8, as it says
        for (const QString &name : refused) {
            const QVariant shown = browser->loadResource(QTextDocument::ImageResource, QUrl(name));
            QCOMPARE(qvariant_cast<QImage>(shown), pictures::broken());
        }
        const QImage scaled = qvariant_cast<QImage>(
            browser->loadResource(QTextDocument::ImageResource, QUrl("../jpg/huge.png")));
        QCOMPARE(scaled.width(), pictures::MaxSide);
        // The long word is broken at the view's width.
        QVERIFY(browser->document()->idealWidth() <= browser->viewport()->width());
#ifdef Q_OS_UNIX
        // A page that is a pipe is not read; the view says why.
        view->showFile(fifo);
        QVERIFY(view->visibleText().contains(QStringLiteral("Страница не открыта")));
        QVERIFY(view->visibleText().contains(QStringLiteral("не обычный файл")));
#endif

        view->showFile(m_folder->data("htm/нет такой.htm"));
        QVERIFY(view->visibleText().contains(QStringLiteral("Страница не найдена")));
        QVERIFY(view->visibleText().contains(QStringLiteral("нет такой.htm")));

        // The picture viewer zooms and survives a missing picture.
        auto *viewer = m_app->windows.load<PictureViewer>();
        viewer->showFor("k_saut", nullptr);
        QCOMPARE(viewer->zoom().percent(), 50);
        auto *zoomOut = viewer->findChild<QPushButton *>("comm1");
        auto *zoomIn = viewer->findChild<QPushButton *>("comm2");
        zoomOut->click();
        zoomOut->click();
        QCOMPARE(viewer->zoom().percent(), 30);
        QVERIFY(!zoomOut->isEnabled());
        QCOMPARE(viewer->width(), twipsToPixels(viewer->layout().windowWidth, viewer));
        QWidget *image = viewer->findChild<QWidget *>("Image1");
        QTest::mouseDClick(image, Qt::LeftButton);
        QCOMPARE(viewer->zoom().percent(), 100);
        QVERIFY(zoomOut->isEnabled());
        QVERIFY(!zoomIn->isEnabled());
        QCOMPARE(image->width(), twipsToPixels(viewer->layout().pictureWidth, viewer));
        QTRY_VERIFY(viewer->windowTitle() != CaptionTicker::Notice);
        // Opened again for the next question: its picture, from the start size.
        QCOMPARE(m_app->windows.load<PictureViewer>(), viewer);
        viewer->showFor("k_rc", nullptr);
        QCOMPARE(viewer->zoom().percent(), 50);
        const QPixmap next(m_app->session.jpgPath("k_rc.jpg"));
        QCOMPARE(viewer->layout().pictureWidth, pixelsToTwips(next.width(), viewer) / 2);
        m_app->windows.close<PictureViewer>();
        QCOMPARE(m_cues.last(), QStringLiteral("pick.wav"));

        // No room beside the question at full size: the viewer stays clear of the question's
        // text and counters, and zooming out keeps its corner, so the next click hits it again.
        QWidget question;
        question.setGeometry(300, 100, 640, 520);
        auto *questionText = new QWidget(&question);
        questionText->setGeometry(0, 0, 640, 330);
        question.show();
        viewer = m_app->windows.load<PictureViewer>();
        viewer->showFor("k_rc", &question, questionText);
        QTest::mouseDClick(viewer->findChild<QWidget *>("Image1"), Qt::LeftButton);
        QCOMPARE(viewer->zoom().percent(), 100);
        QVERIFY(!viewer->geometry().intersects(
            QRect(questionText->mapToGlobal(QPoint()), questionText->size())));
        const QPoint corner = viewer->pos();
        viewer->findChild<QPushButton *>("comm1")->click();
        QCOMPARE(viewer->pos(), corner);
        m_app->windows.close<PictureViewer>();

        // A picture that is a device is not read: the viewer says it is missing, as it does for
        // one that is not there.
        for (const QString name : {"zero", "нет_рисунка"}) {
            viewer = m_app->windows.load<PictureViewer>();
            viewer->showFor(name, nullptr);
            QVERIFY(viewer->isVisible());
            QVERIFY(viewer->findChild<QLabel *>("Image1")->text().contains(name + ".jpg"));
            QVERIFY(!viewer->findChild<QPushButton *>("comm2")->isEnabled());
            m_app->windows.close<PictureViewer>();
        }
    }
};

QTEST_MAIN(ReadingWindowsTest)
#include "tst_readingwindows.moc"
