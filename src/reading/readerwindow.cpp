#include "reading/readerwindow.h"

#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "reading/contentswindow.h"
#include "reading/pageview.h"
#include "reading/questionsortest.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/skinbutton.h"

#include <QCloseEvent>
#include <QLabel>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>

ReaderWindow::ReaderWindow(AppContext &context)
    : SkinnedWindow(context, QStringLiteral("frmReadLearn"), QString()), m_flow(context.session)
{
    buildControls();
    m_flow.askTestChoice = [this] { return QuestionsOrTestWindow::ask(m_context); };
    m_flow.startTest = [this](const QString &bank) { return startTest(bank); };
    connect(&m_flow, &ReaderFlow::pageShown, this, &ReaderWindow::showPage);
    connect(&m_flow, &ReaderFlow::buttonsChanged, this, &ReaderWindow::applyButtons);
    connect(&m_flow, &ReaderFlow::pageTurned, this, [this] { m_context.cues.play(Cue::Book); });
    connect(&m_flow, &ReaderFlow::failed, this, &ReaderWindow::fail);

    if (QWidget *menu = m_context.windows.menu(WindowHub::Menu::Main))
        setWindowIcon(menu->windowIcon());
    m_context.windows.hide<ContentsWindow>();
    const QSize screen = this->screen() ? this->screen()->availableSize() : QSize(1024, 768);
    resize(qMin(1000, screen.width()), qMin(740, screen.height()));
}

void ReaderWindow::openAt(const QString &paragraph)
{
    m_flow.load(paragraph);
    setWindowTitle(paragraph);
    // A reader already on screen turns to the paragraph now; a new one does on its first show.
    if (m_opened)
        m_flow.openParagraph();
    WindowHub::present(this);
}

SkinButton *ReaderWindow::addReaderButton(const char *name, const char *skin, const char *caption,
                                          const char *toolTip, const char *hint)
{
    SkinButton *button = addSkinButton(QString::fromLatin1(name), QString::fromLatin1(skin),
                                       QString::fromUtf8(caption), QString::fromUtf8(hint));
    button->setToolTip(QString::fromUtf8(toolTip));
    button->setAutoFillBackground(true);
    m_buttons.append(button);
    return button;
}

void ReaderWindow::buildControls()
{
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(144, 152, 160));
    colours.setColor(QPalette::Button, QColor(144, 152, 160));
    colours.setColor(QPalette::WindowText, QColor(16, 16, 16));
    setPalette(colours);

    m_prev = addReaderButton("btnPrev", "read/prev", "Назад", "Предыдущий параграф",
                             "Нажми эту кнопку чтобы перейти к предыдущему параграфу.");
    m_next = addReaderButton("btnNext", "read/next", "Вперед", "Следующий параграф",
                             "Нажми эту кнопку чтобы перейти к следующему параграфу (или вопросам "
                             "в режиме'учиться').");
    m_bookmarkSet = addReaderButton("btnZaklad1", "read/zaklad1", "Положить закладку",
                                    "Положить закладку", "Нажми сюда, чтобы положить закладку.");
    m_bookmarkGo = addReaderButton("btnZaklad2", "read/zaklad2", "К закладке", "Перейти к закладке",
                                   "Перейти к параграфу на котором лежит закладка.");
    m_contents = addReaderButton("btnChGlava", "read/glava", "Содержание", "Выбрать другой раздел",
                                 "Нажми эту кнопку чтобы выбрать другой параграф из 'оглавления'.");
    m_test = addReaderButton("btnTest", "read/test", "Вопросы", "Контроль по этой теме",
                             "Показать/убрать вопросы по текущему материалу.");
    m_exit = addReaderButton("btnExit", "read/exit", "Выход", "Выход в главное меню",
                             "Нажми эту кнопку чтобы вернуться в главное меню.");
    m_test->hide();

    connect(m_prev, &SkinButton::clicked, &m_flow, &ReaderFlow::stepBack);
    connect(m_next, &SkinButton::clicked, &m_flow, &ReaderFlow::stepForward);
    connect(m_bookmarkSet, &SkinButton::clicked, this, &ReaderWindow::setBookmark);
    connect(m_bookmarkGo, &SkinButton::clicked, &m_flow, &ReaderFlow::goToBookmark);
    connect(m_contents, &SkinButton::clicked, this, &ReaderWindow::chooseAnotherParagraph);
    connect(m_test, &SkinButton::clicked, &m_flow, &ReaderFlow::toggleQuestions);
    connect(m_exit, &SkinButton::clicked, this, &ReaderWindow::close);
    setEscapeButton(m_exit);

    m_view = PageView::create(QStringLiteral("WebBrowser1"), QStringLiteral("Страница учебника"),
                              m_context.session.dataPath(QString()), this);
    setFirstFocus(m_view);
    // Alt+arrows turn paragraphs as the buttons do; Page Down / Page Up first read the page to
    // its end (or start), so that nothing on a long page, a safety warning included, is skipped.
    const auto turn = [this](const QKeySequence &key, SkinButton *button, int scroll) {
        auto *shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, button, [this, button, scroll] {
            if (scroll != 0 && m_view->scrollScreen(scroll > 0))
                return;
            if (button->isEnabled() && button->isVisible())
                button->click();
        });
    };
    turn(QKeySequence(Qt::ALT | Qt::Key_Right), m_next, 0);
    turn(QKeySequence(Qt::ALT | Qt::Key_Left), m_prev, 0);
    turn(QKeySequence(Qt::Key_PageDown), m_next, 1);
    turn(QKeySequence(Qt::Key_PageUp), m_prev, -1);
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("sbStatusBar"));
    m_statusBar->setAccessibleName(QStringLiteral("Строка подсказок"));
    m_status = plainLabel(QString(), m_statusBar);
    m_status->setWordWrap(false);
    m_status->setObjectName(QStringLiteral("labStatus"));
    m_status->setAccessibleName(QStringLiteral("Подсказка"));
    m_statusBar->addWidget(m_status, 1);
    hover()->setStatusLine(m_status, QString());
}

void ReaderWindow::applyButtons()
{
    m_prev->setEnabled(m_flow.previousEnabled());
    m_next->setEnabled(m_flow.nextEnabled());
    m_bookmarkGo->setEnabled(m_flow.goToBookmarkEnabled());
    m_test->setEnabled(m_flow.testEnabled());
    m_test->setVisible(m_flow.testVisible());
    showQuestionsButton();
    arrange();
}

// While the questions are shown, the button brings the text back and says so.
void ReaderWindow::showQuestionsButton()
{
    const bool questions = m_flow.questionsShown();
    const QString caption = questions ? QStringLiteral("Текст") : QStringLiteral("Вопросы");
    if (m_test->text() == caption)
        return;
    const QString skin = questions ? QStringLiteral("read/text") : QStringLiteral("read/test");
    m_test->setText(caption);
    m_test->setAccessibleName(caption);
    m_test->setSkin(m_context.session.skinPath(skin + QStringLiteral(".bmp")),
                    m_context.session.skinPath(skin + QStringLiteral("_move.bmp")));
}

void ReaderWindow::showPage(const QString &path)
{
    m_view->showFile(path);
    setWindowTitle(m_flow.paragraph());
}

void ReaderWindow::chooseAnotherParagraph()
{
    if (auto *contents = m_context.windows.open<ContentsWindow>())
        contents->openFromReader(m_flow.paragraph());
    closeQuietly();
}

void ReaderWindow::closeQuietly()
{
    m_closingQuietly = true;
    close();
}

void ReaderWindow::setBookmark()
{
    if (!m_flow.setBookmark())
        m_status->setText(m_flow.bookmarkProblem());
}

bool ReaderWindow::startTest(const QString &bank)
{
    if (!m_context.windows.openTestIntro)
        return false;
    hide();
    m_context.windows.openTestIntro({bank});
    return true;
}

void ReaderWindow::showAgainAfterTest()
{
    m_flow.showAgainAfterTest();
    show();
    raise();
    activateWindow();
}

void ReaderWindow::fail(const QString &message)
{
    warnPlainly(this, QStringLiteral("Учебник"), message);
    close();
}

void ReaderWindow::showEvent(QShowEvent *event)
{
    SkinnedWindow::showEvent(event);
    if (m_flow.hiddenForTest()) {
        QTimer::singleShot(0, this, &ReaderWindow::hide);
        return;
    }
    if (!m_opened) {
        // After the first show, so that a test chosen at once finds the reader to hide.
        m_opened = true;
        QTimer::singleShot(0, &m_flow, &ReaderFlow::openParagraph);
    }
}

void ReaderWindow::resizeEvent(QResizeEvent *event)
{
    if (m_flow.hiddenForTest())
        QTimer::singleShot(0, this, &ReaderWindow::hide);
    SkinnedWindow::resizeEvent(event);
    arrange();
}

// Buttons in a row above the page; the page keeps 130 twips of the width for its margins and
// leaves room for the status bar, the buttons and 450 twips.
void ReaderWindow::arrange()
{
    const int margin = twipsToPixels(65, this);
    const int gap = twipsToPixels(60, this);
    int left = margin;
    for (SkinButton *button : std::as_const(m_buttons)) {
        if (button->isHidden())
            continue;
        const QSize size = button->sizeHint();
        button->setGeometry(left, gap, size.width(), size.height());
        left += size.width() + gap;
    }
    const int statusHeight = m_statusBar->sizeHint().height();
    m_statusBar->setGeometry(0, height() - statusHeight, width(), statusHeight);
    const int buttonHeight = m_exit->sizeHint().height();
    const int browserHeight = pixelsToTwips(height() - statusHeight - buttonHeight, this) - 450;
    const int top = gap + buttonHeight + gap;
    m_view->setGeometry(margin, top, width() - 2 * margin,
                        browserHeight > 0 ? twipsToPixels(browserHeight, this) : m_view->height());
}

void ReaderWindow::closeEvent(QCloseEvent *event)
{
    m_context.cues.play(Cue::Close);
    event->accept();
    if (!m_closingQuietly)
        m_context.windows.openMenu(WindowHub::Menu::Main);
}
