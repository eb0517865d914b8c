#include "reading/contentswindow.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "reading/readerflow.h"
#include "reading/readerwindow.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/skinbutton.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

const QString ContentsWindow::DefaultHint = QStringLiteral(
    "Выберите двойным щелчком мыши раздел, главу или параграф и нажмите кнопку \"выбрать\".");

namespace {
constexpr int KeyRole = Qt::UserRole;
}

ContentsWindow::ContentsWindow(AppContext &context)
    : SkinnedWindow(context, QStringLiteral("frmChGlava"), QStringLiteral("Содержание"))
{
    buildControls();
    m_context.windows.hideMenu(WindowHub::Menu::Main);
    loadContents();
    updateBookmarkButton();
    buildTree();
    resize(620, 600);
}

void ContentsWindow::buildControls()
{
    auto *title = addLabel(QStringLiteral("Метка1"), QStringLiteral("Содержание"));
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    title->setFont(big);
    auto *picture = addLabel(QStringLiteral("Рисунок1"), QString());
    picture->setFixedHeight(4);
    picture->setStyleSheet(QStringLiteral("background: #c8a040;"));
    picture->setAccessibleName(QStringLiteral("Полоса заголовка"));
    dragger()->addHandle(title);
    dragger()->addHandle(picture);

    QPushButton *minimise =
        addTitleButton(QStringLiteral("btnSVER"), QStringLiteral("_"), QStringLiteral("Свернуть"));
    QPushButton *close = addTitleButton(QStringLiteral("btnUNLOAD"), QStringLiteral("X"),
                                        QStringLiteral("Закрыть содержание"));
    connect(minimise, &QPushButton::clicked, this, &ContentsWindow::showMinimized);
    connect(close, &QPushButton::clicked, this, &ContentsWindow::close);
    setEscapeButton(close);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("tv1"));
    m_tree->setAccessibleName(QStringLiteral("Содержание курса"));
    m_tree->setAccessibleDescription(DefaultHint);
    m_tree->setHeaderHidden(true);
    setFirstFocus(m_tree);
    m_tree->setColumnCount(1);
    m_tree->header()->setStretchLastSection(true);

    m_open =
        addSkinButton(QStringLiteral("btnOpen"), QStringLiteral("soderj/select"),
                      QStringLiteral("Выбрать"), QStringLiteral("Нажми чтобы перейти к чтению"));
    m_bookmark = addSkinButton(QStringLiteral("btnZaklad"), QStringLiteral("soderj/zak"),
                               QStringLiteral("К закладке"),
                               QStringLiteral("Нажми чтобы читать параграф на котором закладка"));
    m_cancel = addSkinButton(QStringLiteral("btnCancel"), QStringLiteral("soderj/cancel"),
                             QStringLiteral("Отмена"),
                             QStringLiteral("Нажми чтобы вернуться в предыдушее меню"));
    connect(m_open, &SkinButton::clicked, this, &ContentsWindow::openSelected);
    // Enter or a double-click on a paragraph opens it, as "Выбрать" does; a section opens and
    // closes as a tree's branch does.
    connect(m_tree, &QTreeWidget::itemActivated, this, [this](const QTreeWidgetItem *item) {
        if (item->childCount() == 0)
            openSelected();
    });
    connect(m_bookmark, &SkinButton::clicked, this, &ContentsWindow::openBookmark);
    connect(m_cancel, &SkinButton::clicked, this, &ContentsWindow::cancel);

    auto *hint = addLabel(QStringLiteral("labDown"), QString());
    hint->setMinimumHeight(36);
    hint->setAccessibleName(QStringLiteral("Подсказка"));
    hover()->setStatusLine(hint, DefaultHint);

    auto *top = new QHBoxLayout;
    top->addWidget(title, 1);
    top->addWidget(minimise);
    top->addWidget(close);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_open);
    buttons->addWidget(m_bookmark);
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->addLayout(top);
    layout->addWidget(picture);
    layout->addWidget(m_tree, 1);
    layout->addLayout(buttons);
    layout->addWidget(hint);
}

void ContentsWindow::loadContents()
{
    const std::optional<Outline> outline =
        Outline::load(m_context.session.dataPath(datafiles::OutlineFile));
    m_outline = outline.value_or(Outline());
    if (!outline)
        m_outlineProblem = ReaderFlow::OutlineMissingText;
    else if (m_outline.hasNoParagraph())
        m_outlineProblem = ReaderFlow::OutlineEmptyText;
}

void ContentsWindow::buildTree()
{
    m_tree->clear();
    auto *root = new QTreeWidgetItem(m_tree, {m_outline.courseTitle});
    root->setData(0, KeyRole, Outline::rootKey());
    for (qsizetype k = 0; k < m_outline.rootItems.size(); ++k) {
        auto *item = new QTreeWidgetItem(root, {m_outline.rootItems.at(k)});
        item->setData(0, KeyRole, Outline::itemKey(0, int(k + 1)));
    }
    for (qsizetype n = 0; n < m_outline.sections.size(); ++n) {
        const Outline::Section &section = m_outline.sections.at(n);
        auto *sectionNode = new QTreeWidgetItem(root, {section.title});
        sectionNode->setData(0, KeyRole, Outline::sectionKey(int(n + 1)));
        for (qsizetype k = 0; k < section.items.size(); ++k) {
            auto *item = new QTreeWidgetItem(sectionNode, {section.items.at(k)});
            item->setData(0, KeyRole, Outline::itemKey(int(n + 1), int(k + 1)));
        }
    }
    root->setExpanded(true);
    m_tree->setCurrentItem(root);
}

void ContentsWindow::loadSkins()
{
    const SessionState &s = m_context.session;
    m_open->setSkin(s.skinPath(QStringLiteral("soderj/select.bmp")),
                    s.skinPath(QStringLiteral("soderj/select_move.bmp")));
    m_bookmark->setSkin(s.skinPath(QStringLiteral("soderj/zak.bmp")),
                        s.skinPath(QStringLiteral("soderj/zak_move.bmp")));
    m_cancel->setSkin(s.skinPath(QStringLiteral("soderj/cancel.bmp")),
                      s.skinPath(QStringLiteral("soderj/cancel_move.bmp")));
}

void ContentsWindow::updateBookmarkButton()
{
    m_bookmark->setVisible(!m_context.session.user.bookmark.isEmpty());
}

void ContentsWindow::openSelected()
{
    m_context.cues.play(Cue::Pick);
    const QTreeWidgetItem *selected = m_tree->currentItem();
    const QString key = selected ? selected->data(0, KeyRole).toString() : Outline::rootKey();
    const QString paragraph = m_outline.resolve(key);
    if (paragraph.isEmpty())
        return;
    openReader(paragraph);
}

void ContentsWindow::openBookmark()
{
    m_context.cues.play(Cue::Pick);
    openReader(m_context.session.user.bookmark);
}

void ContentsWindow::openReader(const QString &paragraph)
{
    if (auto *reader = m_context.windows.load<ReaderWindow>())
        reader->openAt(paragraph);
    hide();
}

void ContentsWindow::cancel()
{
    // A copy: the reader hides this window as it opens, and the hiding forgets the paragraph.
    if (const std::optional<QString> paragraph = m_readerParagraph)
        openReader(*paragraph);
    else
        close();
    m_context.cues.play(Cue::Oou);
}

void ContentsWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        loadSkins();
        updateBookmarkButton();
    }
    SkinnedWindow::changeEvent(event);
}

void ContentsWindow::showEvent(QShowEvent *event)
{
    // Shown again by the main menu or the reader: the bookmark may have changed meanwhile.
    updateBookmarkButton();
    if (!m_outlineProblem.isEmpty())
        QTimer::singleShot(0, this, &ContentsWindow::reportOutlineProblem);
    SkinnedWindow::showEvent(event);
}

void ContentsWindow::reportOutlineProblem()
{
    if (!isVisible())
        return;
    warnPlainly(this, QStringLiteral("Содержание"), m_outlineProblem);
    close();
}

void ContentsWindow::openFromReader(const QString &paragraph)
{
    m_readerParagraph = paragraph;
}

// Whoever hides the window ends the reader's visit; a minimised window is still on it.
void ContentsWindow::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous())
        m_readerParagraph.reset();
    SkinnedWindow::hideEvent(event);
}

void ContentsWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    m_context.windows.openMenu(WindowHub::Menu::Main);
}
