#include "network/monitorwindow.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "network/classroom.h"
#include "network/monitormodel.h"
#include "network/netconfig.h"
#include "network/pupilpoller.h"
#include "network/pupilstatus.h"
#include "network/remoteadminwindow.h"
#include "network/resultswindows.h"
#include "network/setupwindows.h"
#include "network/watchwindows.h"
#include "reading/helpwindow.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"

#include "network/setupwizard.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>

namespace {
// Draws the model's progress range as a bar; a cell without a range stays empty.
class ProgressDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const QVariant maximum = index.data(MonitorModel::MaximumRole);
        if (!maximum.isValid())
            return;
        QStyleOptionProgressBar bar;
        bar.rect = option.rect.adjusted(3, 4, -3, -4);
        bar.state = option.state | QStyle::State_Horizontal;
        bar.minimum = index.data(MonitorModel::MinimumRole).toInt();
        bar.maximum = maximum.toInt();
        bar.progress = index.data(MonitorModel::ValueRole).toInt();
        bar.textVisible = false;
        const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ProgressBar, &bar, painter, option.widget);
    }
};
} // namespace

const QString MonitorWindow::NeedSetupText = QStringLiteral(
    " Программа не обнаружила настроек сетевой версии. Нажмите кнопку 'Настройка сети' и "
    "настройте сетевую версию. Для этого необходимо установить эту программу на все сетевые "
    "компьютеры и включить эти компьютеры.");

MonitorWindow::MonitorWindow(AppContext &context)
    : NetWindow(context, QStringLiteral("frmNET"), QStringLiteral("Сетевая версия")),
      m_poller(new PupilPoller(context.classroom, this)),
      m_model(new MonitorModel(context.classroom, *m_poller, this))
{
    buildControls();
    connect(m_poller, &PupilPoller::computerRead, m_model, &MonitorModel::computerRead);
    connect(m_poller, &PupilPoller::pollFinished, m_model, &MonitorModel::refresh);
    connect(&context.classroom, &Classroom::changed, this, &MonitorWindow::showClassroom);
    m_context.windows.hideMenu(WindowHub::Menu::Admin);
    reloadNetConfig(context.classroom, netIni());
}

void MonitorWindow::buildControls()
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(12, 10, 12, 8);
    auto *title = addLabel(QStringLiteral("metTITLE"), windowTitle());
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    title->setFont(big);
    dragger()->addHandle(title);
    grid->addWidget(title, 0, 0);
    buildTable();
    grid->addWidget(m_table, 1, 0);

    m_needSetup = addLabel(QStringLiteral("metNEEDsetup"), NeedSetupText);
    m_needSetup->setStyleSheet(QStringLiteral("color: #ffd070;"));
    grid->addWidget(m_needSetup, 2, 0);

    m_admin = addButton(QStringLiteral("btnNETadmin"), QStringLiteral("Достижения"),
                        QStringLiteral("Посмотреть 'Достижения' на сетевом компьютере."));
    m_prev = addButton(QStringLiteral("btnPREV15"), QStringLiteral("Предыдущие 15 человек"),
                       QStringLiteral("Показать статистику предыдущих 15 человек."));
    m_next = addButton(QStringLiteral("btnNEXT15"), QStringLiteral("Следующие 15 человек"),
                       QStringLiteral("Показать статистику следующих 15 человек."));
    m_alone = addButton(QStringLiteral("btnTestALONE"), QStringLiteral("Слежение"),
                        QStringLiteral("Ознакомиться с ответами одного пользователя."));
    QPushButton *help = addButton(QStringLiteral("btnHELP"), QStringLiteral("Помощь"),
                                  QStringLiteral("Помощь для сетевой версии."));
    m_log = addButton(QStringLiteral("btnLOG"), QStringLiteral("Результаты"),
                      QStringLiteral("Посмотреть результаты теста. Распечатка результатов теста."));
    QPushButton *setup = addButton(QStringLiteral("btnNETSetup"), QStringLiteral("Настройка сети"),
                                   QStringLiteral("Настроить сетевую версию. Внести изменения."));
    QPushButton *exit = addButton(QStringLiteral("btnEXIT"), QStringLiteral("Выход"),
                                  QStringLiteral("Вернуться в предыдущее меню."));
    setEscapeButton(exit);
    auto *pageButtons = new QHBoxLayout;
    pageButtons->addWidget(m_prev);
    pageButtons->addStretch();
    pageButtons->addWidget(m_next);
    grid->addLayout(pageButtons, 3, 0);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {m_alone, m_log, m_admin, setup, help, exit})
        buttons->addWidget(b);
    grid->addLayout(buttons, 4, 0);
    grid->addWidget(addStatusBar(), 5, 0);

    connect(m_next, &QPushButton::clicked, this, [this] { turnPage(true); });
    connect(m_prev, &QPushButton::clicked, this, [this] { turnPage(false); });
    connect(exit, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Close);
        close();
    });
    connect(help, &QPushButton::clicked, this, &MonitorWindow::openHelp);
    connect(m_log, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Hihihih);
        m_context.windows.open<ClassResultsWindow>();
    });
    connect(m_admin, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Hihihih);
        if (m_context.windows.open<RemoteAdminWindow>())
            hide();
    });
    connect(m_alone, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Hihihih);
        m_context.windows.open<WatchChoiceWindow>();
    });
    connect(setup, &QPushButton::clicked, this, &MonitorWindow::openSetup);

    m_pollTimer = new QTimer(this);
    m_pollTimer->setInterval(PollMs);
    connect(m_pollTimer, &QTimer::timeout, this, &MonitorWindow::poll);
}

void MonitorWindow::buildTable()
{
    m_table = addTable(QStringLiteral("metTABLE"), m_model, QStringLiteral("Компьютеры класса"),
                       QStringLiteral("Состояние теста на каждом компьютере этой страницы"));
    m_table->setItemDelegateForColumn(MonitorModel::Progress, new ProgressDelegate(m_table));
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QHeaderView *header = m_table->horizontalHeader();
    header->setSectionResizeMode(MonitorModel::Name, QHeaderView::Stretch);
    header->setSectionResizeMode(MonitorModel::Progress, QHeaderView::Fixed);
    header->resizeSection(MonitorModel::Progress, 120);
    header->setMinimumSectionSize(60);
    // A whole page of rows shows without scrolling; rows past computer 50 stay empty space.
    m_table->setMinimumSize(680, header->sizeHint().height() +
                                     MonitorPages::RowsPerPage *
                                         m_table->verticalHeader()->defaultSectionSize() +
                                     2 * m_table->frameWidth());
}

QString MonitorWindow::netIni() const
{
    return m_context.session.dataPath(datafiles::NetConfigFile);
}

// What was read of another classroom is forgotten: reads under way are dropped; the first page
// shows the computers at once and is filled as they are read.
void MonitorWindow::showClassroom()
{
    m_poller->forget();
    const bool configured = m_context.classroom.count() > 0;
    showConfigured(configured);
    m_model->showFirstPage();
    showPageButtons();
    if (!configured) {
        m_pollTimer->stop();
        return;
    }
    m_pollTimer->start();
    poll();
}

void MonitorWindow::showConfigured(bool configured)
{
    m_admin->setEnabled(configured);
    m_alone->setEnabled(configured);
    m_log->setEnabled(configured);
    m_needSetup->setVisible(!configured);
}

void MonitorWindow::poll()
{
    m_poller->poll();
}

void MonitorWindow::showPageButtons()
{
    m_next->setVisible(m_model->pages().nextVisible());
    m_prev->setVisible(m_model->pages().previousVisible());
}

void MonitorWindow::turnPage(bool forward)
{
    m_context.cues.play(Cue::Pick);
    m_model->turnPage(forward);
    showPageButtons();
    poll();
}

void MonitorWindow::openSetup()
{
    m_context.cues.play(Cue::Hihihih);
    if (netconfig::isConfigured(netIni()))
        m_context.windows.open<SetupChangeWindow>();
    else
        m_context.windows.open<SetupComputerCountStep>();
}

void MonitorWindow::openHelp()
{
    m_context.cues.play(Cue::EstProblemi);
    if (auto *help = m_context.windows.open<HelpWindow>())
        help->openFrom(this, HelpWindow::Page::NetworkGuide);
}

void MonitorWindow::closeEvent(QCloseEvent *event)
{
    m_pollTimer->stop();
    if (QWidget *boss = m_context.windows.menu(WindowHub::Menu::Admin))
        boss->show();
    event->accept();
}
