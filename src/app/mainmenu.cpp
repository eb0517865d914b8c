#include "app/mainmenu.h"

#include "app/adminwindow.h"
#include "app/startup.h"
#include "app/viewers.h"
#include "core/administrator.h"
#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "reading/contentswindow.h"
#include "reading/helpwindow.h"
#include "testing/achievements.h"
#include "testing/catalogue.h"
#include "testing/testnavigation.h"
#include "testing/topictestchoice.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/pictures.h"
#include "ui/skinbutton.h"
#include "users/loginwindow.h"
#include "users/messagewindows.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>

const QString MainMenu::DefaultStatus =
    QStringLiteral("Выбери режим работы, нажав на одну из кнопок слева.");

namespace {
struct ModeButton
{
    const char *name;
    const char *skin;
    const char *caption;
    const char *hint;
};

const ModeButton modeButtons[] = {
    {"btREAD", "main/read", "Читать", "Изучение материала с проверкой знаний по желанию"},
    {"btLEARN", "main/learn", "Изучать", "Изучение материала с проверкой знаний"},
    {"btCONTROL", "main/kontrol", "Контроль по темам", "Проверка знаний по выбранным темам"},
    {"btTESTS", "main/tests", "Выбрать тест", "Выбрать тест для проверки знаний"},
    {"btKURS", "main/test", "Тест по курсу", "Проверка знаний по всему курсу"},
    {"btZAL", "main/dostig", "Мои результаты", "Посмотреть результаты тестов"},
    {"btnBOSS", "main/admin", "Администрирование", "Администрирование"},
    {"btNEW", "main/new", "Новый пользователь", "Вход нового пользователя"},
    {"btHELP", "main/help", "Помощь", "Здесь вас научат как пользоваться программой"},
    {"btEXIT", "main/exit", "Выход", "Всё, с меня достаточно! Я ухожу!"},
};
} // namespace

MainMenu::MainMenu(AppContext &context)
    : SkinnedWindow(context, QStringLiteral("frmMain"), QStringLiteral("\"Тарвел\""))
{
    buildControls();
    load();
}

void MainMenu::buildControls()
{
    auto *header = addLabel(QStringLiteral("metVERH"), QStringLiteral("Тарвел"));
    QFont big = header->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    header->setFont(big);
    auto *picture1 = addLabel(QStringLiteral("Picture1"), QString());
    picture1->setFixedHeight(4);
    picture1->setStyleSheet(QStringLiteral("background: #c8a040;"));

    m_about = addLabel(QStringLiteral("aboUT"), QString());
    m_about->setFixedSize(18, 18);
    m_about->setCursor(Qt::WhatsThisCursor);
    m_about->setAccessibleName(QStringLiteral("О программе"));
    m_about->setAccessibleDescription(
        QStringLiteral("Двойной щелчок открывает сведения о программе"));
    m_about->installEventFilter(this);

    auto *sound = new QCheckBox(this);
    m_sound = sound;
    sound->setObjectName(QStringLiteral("SOUNDchek"));
    sound->setChecked(m_context.session.soundOn);
    sound->setAccessibleName(QStringLiteral("звук"));
    auto *soundLabel = addLabel(QStringLiteral("Метка1"), QStringLiteral("звук"));
    soundLabel->setBuddy(sound);
    hover()->addHint(sound, QStringLiteral("Включение/отключение звука"));
    hover()->addHint(soundLabel, QStringLiteral("Включение/отключение звука"));
    // Toggled, not clicked: a screen reader's toggle action switches the sound as a click does.
    connect(sound, &QCheckBox::toggled, this, [this](bool on) { m_context.session.soundOn = on; });

    QPushButton *minimise =
        addTitleButton(QStringLiteral("btnSVER"), QStringLiteral("_"), QStringLiteral("Свернуть"));
    QPushButton *close = addTitleButton(QStringLiteral("btnUNLOAD"), QStringLiteral("X"),
                                        QStringLiteral("Закрыть программу"));
    connect(minimise, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Pick);
        showMinimized();
    });
    connect(close, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Close);
        m_context.windows.endProgram();
    });

    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(4);
    for (const ModeButton &mode : modeButtons) {
        SkinButton *button =
            addSkinButton(QString::fromLatin1(mode.name), QString::fromLatin1(mode.skin),
                          QString::fromUtf8(mode.caption), QString::fromUtf8(mode.hint));
        buttons->addWidget(button);
        if (button->objectName() == QLatin1String("btnBOSS"))
            m_boss = button;
    }
    SessionState &s = m_context.session;
    const auto button = [this](const char *name) {
        return findChild<SkinButton *>(QString::fromLatin1(name));
    };
    setFirstFocus(button("btREAD"));
    connect(button("btREAD"), &SkinButton::clicked, this, [this, &s] {
        s.mode = SessionMode::Reading;
        openMode<ContentsWindow>();
    });
    connect(button("btLEARN"), &SkinButton::clicked, this, [this, &s] {
        s.mode = SessionMode::Learning;
        openMode<ContentsWindow>();
    });
    connect(button("btCONTROL"), &SkinButton::clicked, this, [this, &s] {
        s.mode = SessionMode::Control;
        openMode<ContentsWindow>();
    });
    connect(button("btTESTS"), &SkinButton::clicked, this,
            [this] { openMode<TopicTestChoiceWindow>(); });
    connect(button("btKURS"), &SkinButton::clicked, this, [this, &s] {
        s.mode = SessionMode::CourseTest;
        m_context.cues.play(Cue::Hihihih);
        introduceTest(m_context, {datafiles::CourseBankFile});
        hide();
    });
    connect(button("btZAL"), &SkinButton::clicked, this,
            [this] { openMode<AchievementsWindow>(); });
    connect(button("btnBOSS"), &SkinButton::clicked, this, [this] { openMode<AdminWindow>(); });
    connect(button("btNEW"), &SkinButton::clicked, this, [this] {
        m_context.cues.play(Cue::Hihihih);
        m_context.windows.close<LoginWindow>();
        if (auto *login = m_context.windows.open<LoginWindow>()) {
            login->changeUser();
            connect(login, &LoginWindow::userChanged, this, &MainMenu::showUser);
        }
    });
    connect(button("btHELP"), &SkinButton::clicked, this, [this] {
        m_context.cues.play(Cue::EstProblemi);
        if (m_context.windows.open<HelpWindow>())
            hide();
    });
    connect(button("btEXIT"), &SkinButton::clicked, this, [this] {
        m_context.cues.play(Cue::VsemSpat);
        m_context.windows.endProgram();
    });

    auto *picture = addLabel(QStringLiteral("p_BOX"), QString());
    picture->setPixmap(QPixmap::fromImage(
        pictures::load(s.dataPath(QString()), s.dataPath(QStringLiteral("jpg/main/3_1.jpg")))));
    picture->setAlignment(Qt::AlignCenter);
    picture->setMinimumSize(300, 260);
    picture->setAccessibleName(QStringLiteral("Рисунок главного меню"));
    hover()->addBackground(picture);
    picture->setAccessibleDescription(
        QStringLiteral("Выбери режим работы, нажав на одну из кнопок слева"));
    dragger()->addHandle(picture);
    dragger()->addHandle(picture1);
    dragger()->addHandle(header);

    m_user = addLabel(QStringLiteral("lblUser"), QString());
    m_user->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    dragger()->addHandle(m_user);

    auto *status = addLabel(QStringLiteral("sbStatusBar"), QString());
    status->setFrameShape(QFrame::StyledPanel);
    status->setMinimumHeight(24);
    hover()->setStatusLine(status, DefaultStatus);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(12, 8, 12, 8);
    auto *top = new QHBoxLayout;
    top->addWidget(m_about);
    top->addWidget(header);
    top->addWidget(m_user, 1);
    top->addWidget(sound);
    top->addWidget(soundLabel);
    top->addSpacing(12);
    top->addWidget(minimise);
    top->addWidget(close);
    grid->addLayout(top, 0, 0, 1, 2);
    grid->addWidget(picture1, 1, 0, 1, 2);
    grid->addLayout(buttons, 2, 0);
    grid->addWidget(picture, 2, 1);
    grid->addWidget(status, 3, 0, 1, 2);
}

void MainMenu::load()
{
    SessionState &s = m_context.session;
    // A viewer folder the user may not write is told once, beside the menu, never in its way.
    if (const QString notice = installViewers(s); !notice.isEmpty())
        QTimer::singleShot(0, this, [this, notice] { showNotice(notice); });
    readTestCatalogue(s, s.jpgPath(datafiles::TestCatalogueFile));
    showUser();
    adjustSize();
    centreOnScreen();
}

void MainMenu::showNotice(const QString &notice)
{
    auto *info = new InfoWindow(m_context);
    info->setAttribute(Qt::WA_DeleteOnClose);
    info->setMessage(notice);
    info->adjustSize();
    info->show();
}

void MainMenu::showUser()
{
    const SessionState &s = m_context.session;
    m_user->setText(QStringLiteral("Пользователь: ") + s.user.surname + u' ' + s.user.firstName);
    m_boss->setVisible(administrator::hasNames(s.user.firstName, s.user.surname));
}

template <class Window> void MainMenu::openMode()
{
    m_context.cues.play(Cue::Hihihih);
    if (m_context.windows.open<Window>())
        hide();
}

void MainMenu::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        showUser();
    SkinnedWindow::changeEvent(event);
}

bool MainMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_about && event->type() == QEvent::MouseButtonDblClick) {
        m_context.cues.play(Cue::Hujeotet);
        if (m_context.windows.open<AboutWindow>())
            hide();
        return true;
    }
    return SkinnedWindow::eventFilter(watched, event);
}

void MainMenu::closeEvent(QCloseEvent *event)
{
    m_context.windows.closeAllExcept(this);
    storePosition();
    m_context.cues.play(Cue::Close);
    event->accept();
    m_context.windows.endProgram();
}

void MainMenu::storePosition()
{
    if (isMinimized())
        return;
    QSettings settings;
    settings.beginGroup(QStringLiteral("Settings"));
    settings.setValue(QStringLiteral("MainLeft"), QString::number(x()));
    settings.setValue(QStringLiteral("MainTop"), QString::number(y()));
    settings.setValue(QStringLiteral("MainWidth"), QString::number(width()));
    settings.setValue(QStringLiteral("MainHeight"), QString::number(height()));
}
