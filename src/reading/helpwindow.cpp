#include "reading/helpwindow.h"

#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "reading/pageview.h"
#include "ui/cueplayer.h"
#include "ui/skinbutton.h"

#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

const QString HelpWindow::HistoryCaption = QStringLiteral("История сохраненных результатов тестов");

namespace {
const QString HistoryCopy = QStringLiteral("htm/history.txt");
} // namespace

HelpWindow::HelpWindow(AppContext &context)
    : SkinnedWindow(context, QStringLiteral("frmHELP"), QStringLiteral("Помощь"))
{
    m_return = addSkinButton(QStringLiteral("Комманда1"), QStringLiteral("help/return"),
                             QStringLiteral("Назад"), QStringLiteral("Закрыть и вернуться"));
    setEscapeButton(m_return);
    connect(m_return, &SkinButton::clicked, this, [this] {
        m_context.cues.play(Cue::Close);
        close();
    });
    m_view = PageView::create(QStringLiteral("WebBrowser2"), QStringLiteral("Страница помощи"),
                              m_context.session.dataPath(QString()), this);
    const QSize screen = this->screen() ? this->screen()->availableSize() : QSize(1024, 768);
    resize(qMin(860, screen.width()), qMin(680, screen.height()));
    showPage();
}

void HelpWindow::showPage()
{
    const SessionState &s = m_context.session;
    if (m_page == Page::NetworkGuide) {
        m_view->showFile(s.dataPath(QStringLiteral("htm/Помощь для сетевой версии.htm")));
    } else if (m_page == Page::History) {
        m_view->showTextFile(s.dataPath(HistoryCopy));
        setWindowTitle(HistoryCaption);
        setAccessibleName(HistoryCaption);
    } else {
        m_view->showFile(s.dataPath(QStringLiteral("htm/help.htm")));
    }
}

void HelpWindow::openFrom(QWidget *opener, Page page)
{
    m_opener = opener;
    m_page = page;
    showPage();
    if (page == Page::History)
        setWindowIcon(opener->windowIcon());
    opener->hide();
}

void HelpWindow::returnToOpener()
{
    if (m_opener)
        WindowHub::present(m_opener);
    else
        m_context.windows.openMenu(WindowHub::Menu::Main);
}

// The page fills the window but for 130 twips of margin and 1250 twips for the return button.
void HelpWindow::arrange()
{
    const auto px = [this](int twips) { return twipsToPixels(twips, this); };
    const int margin = px(65);
    if (height() - px(1050) > 0)
        m_view->setGeometry(margin, margin, width() - px(130), height() - px(1250));
    const QSize button = m_return->sizeHint();
    m_return->setGeometry(width() / 2 - button.width() / 2, height() - button.height() - px(500),
                          button.width(), button.height());
}

void HelpWindow::resizeEvent(QResizeEvent *event)
{
    SkinnedWindow::resizeEvent(event);
    arrange();
}

void HelpWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (m_page == Page::NetworkGuide) {
        returnToOpener();
    } else if (m_page == Page::History) {
        returnToOpener();
        QFile::remove(m_context.session.dataPath(HistoryCopy));
    } else {
        m_context.windows.openMenu(WindowHub::Menu::Main);
    }
}

AboutWindow::AboutWindow(AppContext &context)
    : SkinnedWindow(context, QStringLiteral("frmWebABOUT"),
                    QStringLiteral("О программе и создателях"))
{
    const SessionState &s = context.session;
    auto *returnButton = addSkinButton(QStringLiteral("Комманда1"), QStringLiteral("help/return"),
                                       QStringLiteral("Назад"),
                                       QStringLiteral("Закрыть и вернуться в главное меню"));
    connect(returnButton, &SkinButton::clicked, this, &AboutWindow::close);
    setEscapeButton(returnButton);
    PageView *program = PageView::create(QStringLiteral("brOUser2"), QStringLiteral("О программе"),
                                         m_context.session.dataPath(QString()), this);
    PageView *authors = PageView::create(QStringLiteral("brOUser3"), QStringLiteral("О создателях"),
                                         m_context.session.dataPath(QString()), this);
    program->showFile(s.dataPath(QStringLiteral("htm/about/about.htm")));
    authors->showFile(s.dataPath(QStringLiteral("htm/about/1/about.htm")));

    auto *pages = new QHBoxLayout;
    pages->addWidget(program, 1);
    pages->addWidget(authors, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addLayout(pages, 1);
    layout->addWidget(returnButton, 0, Qt::AlignHCenter);
    resize(820, 560);

    auto *timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("TIMer"));
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this] { m_context.cues.play(Cue::About); });
    timer->start(GreetingDelayMs);
}

void AboutWindow::closeEvent(QCloseEvent *event)
{
    m_context.cues.play(Cue::Close);
    event->accept();
    m_context.windows.openMenu(WindowHub::Menu::Main);
}
