#include "network/monitorwindow.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/windowhub.h"
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

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {
constexpr int Columns = 7;
} // namespace

const QString MonitorWindow::NeedSetupText = QStringLiteral(
    " Программа не обнаружила настроек сетевой версии. Нажмите кнопку 'Настройка сети' и "
    "настройте сетевую версию. Для этого необходимо установить эту программу на все сетевые "
    "компьютеры и включить эти компьютеры.");

MonitorWindow::MonitorWindow(AppContext &context)
    : NetWindow(context, QStringLiteral("frmNET"), QStringLiteral("Сетевая версия")),
      m_pages(context.session), m_poller(new PupilPoller(context.session, this))
{
    buildControls();
    connect(m_poller, &PupilPoller::pollFinished, this, &MonitorWindow::pollFinished);
    connect(m_poller, &PupilPoller::computerRead, this, &MonitorWindow::computerRead);
    load();
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
    grid->addWidget(title, 0, 0, 1, Columns);
    const QStringList headings = {"Компьютер", "Пользователь", "Прогресс",       "Правильных",
                                  "Текущий",   "Оценка",       "Последний ответ"};
    for (int c = 0; c < headings.size(); ++c)
        grid->addWidget(addLabel(QStringLiteral("metHEAD%1").arg(c + 1), headings.at(c)), 1, c);
    buildRows(grid);

    m_needSetup = addLabel(QStringLiteral("metNEEDsetup"), NeedSetupText);
    m_needSetup->setStyleSheet(QStringLiteral("color: #ffd070;"));
    grid->addWidget(m_needSetup, 17, 0, 1, Columns);

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
    grid->addLayout(pageButtons, 18, 0, 1, Columns);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {m_alone, m_log, m_admin, setup, help, exit})
        buttons->addWidget(b);
    grid->addLayout(buttons, 19, 0, 1, Columns);
    grid->addWidget(addStatusBar(), 20, 0, 1, Columns);

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

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    connect(m_timer1, &QTimer::timeout, this, &MonitorWindow::tick);
}

void MonitorWindow::buildRows(QGridLayout *grid)
{
    for (int r = 0; r < MonitorPages::RowsPerPage; ++r) {
        const QString place = QStringLiteral(", строка ") + QString::number(r + 1);
        const auto cell = [&](const char *name, const QString &caption) {
            QLabel *label = addLabel(QString::fromLatin1(name), QString());
            label->setWordWrap(false);
            label->setAccessibleDescription(caption + place); // the name is the value shown
            return label;
        };
        Row row{cell("Met_USER", QStringLiteral("Компьютер")),
                cell("Met_NAME", QStringLiteral("Пользователь")),
                new QProgressBar(this),
                cell("Met_Prav", QStringLiteral("Правильных")),
                cell("Met_CURR", QStringLiteral("Текущий")),
                cell("Met_OCENKA", QStringLiteral("Оценка")),
                cell("Met_ANSWERED", QStringLiteral("Последний ответ"))};
        row.progress->setObjectName(QStringLiteral("ProgreSS1"));
        row.progress->setAccessibleName(QStringLiteral("Прогресс") + place);
        row.progress->setTextVisible(false);
        row.progress->setFixedHeight(14);
        row.progress->setRange(1, 100);
        row.progress->setValue(1);
        row.name->setMinimumWidth(160);
        const QList<QWidget *> cells = {row.user, row.name,   row.progress, row.prav,
                                        row.curr, row.ocenka, row.answered};
        for (int c = 0; c < cells.size(); ++c) {
            // The last page hides the rows past computer 50 without moving the others.
            QSizePolicy policy = cells.at(c)->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            cells.at(c)->setSizePolicy(policy);
            grid->addWidget(cells.at(c), r + 2, c);
        }
        m_rows.append(row);
    }
}

QString MonitorWindow::netIni() const
{
    return m_context.session.dataPath(datafiles::NetConfigFile);
}

void MonitorWindow::load()
{
    m_context.windows.hideMenu(WindowHub::Menu::Admin);
    if (!netconfig::isConfigured(netIni())) {
        showUnconfigured();
        return;
    }
    showConfigured();
    loadConfiguration();
    m_pages.reset();
    showPageButtons();
    // The computer numbers show at once; each pupil's row fills in as his files are read.
    drawPage();
    setPollInterval(1000);
}

void MonitorWindow::showUnconfigured()
{
    m_admin->setEnabled(false);
    m_alone->setEnabled(false);
    m_log->setEnabled(false);
    m_prev->hide();
    m_next->hide();
    for (const Row &row : std::as_const(m_rows))
        row.progress->hide();
    m_needSetup->show();
    stopPolling();
    forgetClassroom();
}

// Nothing of a classroom that is no longer configured may come back: reads under way are
// dropped and the computers and their last states are forgotten.
void MonitorWindow::forgetClassroom()
{
    SessionState &s = m_context.session;
    m_poller->forget();
    m_ticks.pollBusy = false;
    s.NetCount = 0;
    s.NetPath.fill(QString());
    s.Pupils.fill(PupilStatus());
}

void MonitorWindow::loadConfiguration()
{
    forgetClassroom();
    loadNetConfig(m_context.session, netIni());
}

void MonitorWindow::showConfigured()
{
    m_admin->setEnabled(true);
    m_alone->setEnabled(true);
    m_log->setEnabled(true);
    m_needSetup->hide();
    for (const Row &row : std::as_const(m_rows))
        row.progress->show();
}

void MonitorWindow::setPollInterval(int ms)
{
    m_timer1->start(ms);
}

void MonitorWindow::stopPolling()
{
    m_timer1->stop();
}

void MonitorWindow::tick()
{
    switch (m_ticks.decide()) {
    case MonitorTick::Reload:
        reload();
        break;
    case MonitorTick::Poll:
        m_poller->poll();
        setPollInterval(PollMs);
        break;
    case MonitorTick::Skip:
        break;
    }
}

void MonitorWindow::reload()
{
    if (!netconfig::isConfigured(netIni())) {
        showUnconfigured();
        drawPage();
        return;
    }
    showConfigured();
    loadConfiguration();
    m_pages.reset();
    showPageButtons();
    drawPage();
    setPollInterval(100);
}

void MonitorWindow::pollFinished()
{
    showPageButtons();
    drawPage();
    m_ticks.pollBusy = false;
}

void MonitorWindow::computerRead(int computer)
{
    const int row = computer - m_pages.computerInRow(0);
    if (row >= 0 && row < MonitorPages::RowsPerPage)
        drawRow(row);
}

void MonitorWindow::showPageButtons()
{
    m_next->setVisible(m_pages.nextVisible());
    m_prev->setVisible(m_pages.previousVisible());
}

void MonitorWindow::drawPage()
{
    for (int r = 0; r < MonitorPages::RowsPerPage; ++r)
        drawRow(r);
}

void MonitorWindow::drawRow(int r)
{
    const SessionState &s = m_context.session;
    const int computer = m_pages.computerInRow(r);
    const bool configured = computer <= s.NetCount && !s.NetPath.at(computer - 1).isEmpty();
    const pupilstatus::Row view =
        pupilstatus::row(computer, configured ? s.Pupils.at(computer - 1) : PupilStatus());
    const Row &row = m_rows.at(r);
    const bool used = m_pages.rowUsed(r);
    for (QWidget *cell : std::initializer_list<QWidget *>{row.user, row.name, row.prav, row.curr,
                                                          row.ocenka, row.answered})
        cell->setVisible(used);
    // Without a classroom the progress bars stay hidden.
    row.progress->setVisible(used && m_needSetup->isHidden());
    row.user->setText(view.user);
    row.name->setText(view.name);
    row.progress->setRange(view.minimum, view.maximum);
    row.progress->setValue(view.value);
    row.prav->setText(view.prav);
    row.curr->setText(view.curr);
    row.ocenka->setText(view.ocenka);
    row.answered->setText(
        configured ? m_poller->live(computer).text(s.Pupils.at(computer - 1), m_poller->now())
                   : QString());
}

void MonitorWindow::turnPage(bool forward)
{
    m_context.cues.play(Cue::Pick);
    if (forward)
        m_pages.next();
    else
        m_pages.previous();
    showPageButtons();
    setPollInterval(10);
    drawPage();
}

void MonitorWindow::configurationWritten()
{
    showConfigured();
    loadConfiguration();
    m_pages.reset();
    showPageButtons();
    setPollInterval(PollMs);
    tick();
}

void MonitorWindow::openSetup()
{
    m_context.cues.play(Cue::Hihihih);
    m_ticks.reloadRequested = true;
    if (netconfig::isConfigured(netIni()))
        m_context.windows.open<SetupChangeWindow>();
    else
        m_context.windows.open<SetupComputerCountStep>();
}

void MonitorWindow::openHelp()
{
    m_context.cues.play(Cue::EstProblemi);
    m_context.session.HelpFromNetwork = true;
    if (auto *help = m_context.windows.open<HelpWindow>())
        help->returnTo(this);
}

void MonitorWindow::closeEvent(QCloseEvent *event)
{
    stopPolling();
    if (QWidget *boss = m_context.windows.menu(WindowHub::Menu::Admin))
        boss->show();
    event->accept();
}
