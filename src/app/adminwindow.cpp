#include "app/adminwindow.h"

#include "app/mainmenu.h"
#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "network/monitorwindow.h"
#include "testing/attemptviews.h"
#include "testing/bankeditorwindow.h"
#include "testing/testsettingswindow.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/skinbutton.h"
#include "users/useradminpanel.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

const QString AdminWindow::DefaultStatus =
    QStringLiteral("Это меню администратора. Здесь можно вносить изменения в базу.");

AdminWindow::AdminWindow(AppContext &context)
    : SkinnedWindow(context, QStringLiteral("frmBOSS"), QStringLiteral("Администрирование"))
{
    buildControls();
    m_panel->setBaseFile(m_context.session.jpgPath(datafiles::UserBaseFile));
    adjustSize();
}

void AdminWindow::buildControls()
{
    auto *header = addLabel(QStringLiteral("caption"), windowTitle());
    header->setAccessibleName(windowTitle());
    QFont big = header->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    header->setFont(big);
    dragger()->addHandle(header);

    QPushButton *minimise =
        addTitleButton(QStringLiteral("btnSVER"), QStringLiteral("_"), QStringLiteral("Свернуть"));
    QPushButton *closeButton =
        addTitleButton(QStringLiteral("btnUNLOAD"), QStringLiteral("X"), QStringLiteral("Закрыть"));
    connect(minimise, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Pick);
        showMinimized();
    });
    connect(closeButton, &QPushButton::clicked, this, &AdminWindow::close);
    setEscapeButton(closeButton);

    auto *status = addLabel(QStringLiteral("sbStatusBar"), QString());
    status->setFrameShape(QFrame::StyledPanel);
    status->setMinimumHeight(24);
    status->setAccessibleName(QStringLiteral("Строка состояния"));
    hover()->setStatusLine(status, DefaultStatus);

    m_panel = new UserAdminPanel(m_context, *hover(), UserAdminPanel::Options(), this);
    hover()->addBackground(m_panel);
    dragger()->addHandle(m_panel);
    m_net = addSkinButton(QStringLiteral("btnNET"), QStringLiteral("BOSS/net"),
                          QStringLiteral("Сетевая версия"),
                          QStringLiteral("Слежение за тестами в сети. Слежение за пользователем."));
    m_setup = addSkinButton(QStringLiteral("btnSETUP"), QStringLiteral("BOSS/setup"),
                            QStringLiteral("Дополнительные настройки"),
                            QStringLiteral("Дополнительные настройки."));
    SkinButton *back = addSkinButton(QStringLiteral("btnRETURN"), QStringLiteral("BOSS/return"),
                                     QStringLiteral("Вернуться в главное меню"),
                                     QStringLiteral("Нажми, чтобы вернуться в главное меню."));
    connect(m_net, &SkinButton::clicked, this, [this] { openFromHere<MonitorWindow>(); });
    connect(m_setup, &SkinButton::clicked, this, [this] { openFromHere<TestSettingsWindow>(); });
    m_editor = new QPushButton(QStringLiteral("Редактор тестов"), this);
    m_editor->setObjectName(QStringLiteral("btnEDITOR"));
    m_editor->setAccessibleName(m_editor->text());
    hover()->addHint(m_editor, QStringLiteral("Написать и проверить вопросы тестов, перенести их "
                                              "из таблицы или текста"));
    connect(m_editor, &QPushButton::clicked, this, [this] { openFromHere<BankEditorWindow>(); });
    connect(back, &SkinButton::clicked, this, [this] {
        m_context.cues.play(Cue::Pick);
        close();
    });
    connect(m_panel, &UserAdminPanel::editingChanged, this, [this](bool editing) {
        m_net->setVisible(!editing);
        m_setup->setVisible(!editing);
        m_editor->setVisible(!editing);
    });

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(14, 8, 14, 8);
    auto *top = new QHBoxLayout;
    top->addWidget(header, 1);
    top->addWidget(minimise);
    top->addWidget(closeButton);
    column->addLayout(top);
    column->addWidget(m_panel, 1);
    column->addLayout(buildJournal());
    auto *row = new QHBoxLayout;
    row->addWidget(m_net);
    row->addWidget(m_setup);
    row->addWidget(m_editor);
    row->addStretch();
    row->addWidget(back);
    column->addLayout(row);
    column->addWidget(status);
    setMinimumWidth(640);
    // Tab goes down the window: the journal above the buttons, then the buttons left to right.
    setTabOrder(m_journal, m_net);
    setTabOrder(m_net, m_setup);
    setTabOrder(m_setup, m_editor);
    setTabOrder(m_editor, back);
}

QLayout *AdminWindow::buildJournal()
{
    auto *label = addLabel(QStringLiteral("lblJournal"), QStringLiteral("Журнал попыток:"));
    m_journalUser = new QComboBox(this);
    m_journalUser->setObjectName(QStringLiteral("cmbJournalUser"));
    m_journalUser->setAccessibleName(QStringLiteral("Пользователь журнала"));
    const QString hint = QStringLiteral("Выберите пользователя, чтобы увидеть его попытки");
    m_journalUser->setAccessibleDescription(hint);
    hover()->addHint(m_journalUser, hint);
    label->setBuddy(m_journalUser);
    m_journal = attemptviews::newTable(this, QStringLiteral("tblJournal"));
    m_journal->setFixedHeight(120);
    hover()->addHint(m_journal, m_journal->accessibleDescription());
    m_attempts = journal::read(m_context.session.dataPath(datafiles::JournalFile));
    const QList<journal::Attempt> people = journal::users(m_attempts);
    for (const journal::Attempt &person : people)
        m_journalUser->addItem(journal::userName(person),
                               QStringList{person.firstName, person.surname});
    if (people.isEmpty())
        m_journalUser->addItem(QStringLiteral("(журнал пуст)"));
    connect(m_journalUser, &QComboBox::currentIndexChanged, this, &AdminWindow::showJournal);
    showJournal();

    auto *layout = new QGridLayout;
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_journalUser, 0, 1);
    layout->setColumnStretch(1, 1);
    layout->addWidget(m_journal, 1, 0, 1, 2);
    return layout;
}

void AdminWindow::showJournal()
{
    const QStringList user = m_journalUser->currentData().toStringList();
    attemptviews::fillTable(m_journal, user.size() == 2
                                           ? journal::ofUser(m_attempts, user[0], user[1])
                                           : QList<journal::Attempt>());
}

template <class Window> void AdminWindow::openFromHere()
{
    m_context.cues.play(Cue::Hihihih);
    m_context.windows.open<Window>();
}

void AdminWindow::closeEvent(QCloseEvent *event)
{
    m_context.cues.play(Cue::Close);
    event->accept();
    // A hidden window is closed by the program (at its end), not by the administrator.
    if (isVisible())
        m_context.windows.open<MainMenu>();
}
