#include "users/loginwindow.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/skinbutton.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

const QString LoginWindow::TickText =
    QStringLiteral("Поставь здесь галочку, чтобы не вводить каждый раз ФИО и пароль.");
const QString LoginWindow::UntickText =
    QStringLiteral("Уберите галочку, чтобы не сохранять ФИО и пароль.");

LoginWindow::LoginWindow(AppContext &context)
    : SkinnedWindow(context, QStringLiteral("id_reader"),
                    QStringLiteral("Идентификация пользователя .")),
      m_flow(context.session, context.session.jpgPath(datafiles::UserBaseFile),
             context.session.jpgPath(datafiles::NewUserRecordFile))
{
    buildControls();
    m_message->setText(LoginFlow::PromptText);
    m_password->clear();
    applyRememberedLogin();
    m_message->setText(m_flow.openingMessage());
}

LoginWindow::~LoginWindow() = default;

void LoginWindow::buildControls()
{
    auto *header = addLabel(QStringLiteral("Метка5"), QStringLiteral("Идентификация"));
    QFont big = header->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    header->setFont(big);
    auto *picture = addLabel(QStringLiteral("Рисунок1"), QString());
    picture->setFixedHeight(4);
    picture->setStyleSheet(QStringLiteral("background: #c8a040;"));
    m_message = addLabel(QStringLiteral("Метка4"), QString());
    m_message->setMinimumHeight(64);
    m_message->setAccessibleDescription(QStringLiteral("Сообщение"));
    for (QWidget *handle : {static_cast<QWidget *>(header), static_cast<QWidget *>(picture),
                            static_cast<QWidget *>(m_message)})
        dragger()->addHandle(handle);

    const auto field = [this](const QString &name, const QString &caption,
                              const QString &labelName) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setAccessibleName(caption);
        auto *label = addLabel(labelName, caption);
        label->setBuddy(edit);
        edit->installEventFilter(this);
        return std::pair{edit, label};
    };
    auto [first, firstLabel] =
        field(QStringLiteral("Текст1"), QStringLiteral("Имя"), QStringLiteral("Метка1"));
    auto [second, secondLabel] =
        field(QStringLiteral("Текст2"), QStringLiteral("Фамилия"), QStringLiteral("Метка2"));
    auto [password, passwordLabel] =
        field(QStringLiteral("Текст3"), QStringLiteral("Пароль"), QStringLiteral("Метка3"));
    m_first = first;
    m_second = second;
    m_password = password;
    first->setAccessibleDescription(QStringLiteral("Введите имя"));
    second->setAccessibleDescription(QStringLiteral("Введите фамилию"));
    password->setAccessibleDescription(QStringLiteral("Введите пароль"));

    SkinButton *ok = addSkinButton(QStringLiteral("Комманда1"), QStringLiteral("ID/ok"),
                                   QStringLiteral("Войти"), QStringLiteral("Войти в программу"));
    SkinButton *cancelButton =
        addSkinButton(QStringLiteral("Комманда2"), QStringLiteral("ID/cancel"),
                      QStringLiteral("Отмена"), QStringLiteral("Отказаться от входа"));
    connect(ok, &SkinButton::clicked, this, &LoginWindow::pressOk);
    connect(cancelButton, &SkinButton::clicked, this, &LoginWindow::cancel);

    m_remember = new QCheckBox(this);
    m_remember->setObjectName(QStringLiteral("FIOremember"));
    m_remember->setAccessibleName(QStringLiteral("Запомнить ФИО и пароль"));
    m_rememberLabel = addLabel(QStringLiteral("remem_LAB"), QString());
    m_rememberLabel->setBuddy(m_remember);
    showRememberNote(TickText);
    // Toggled, not clicked: a screen reader's toggle action counts as a click.
    connect(m_remember, &QCheckBox::toggled, this, [this](bool ticked) {
        m_context.cues.play(Cue::Pick);
        const QSignalBlocker undoing(m_remember); // putting the box back writes nothing
        const QString refusal =
            RememberedLogin::refusal(m_first->text(), m_second->text(), m_password->text());
        if (ticked && !refusal.isEmpty()) {
            m_remember->setChecked(false);
            showRememberNote(refusal);
            return;
        }
        if (!saveRememberedLogin())
            m_remember->setChecked(!ticked); // the box keeps showing what the file holds
    });
    connect(m_password, &QLineEdit::textEdited, this, [this] {
        // The typed password is hidden again as soon as the wrong-password note is replaced.
        m_password->setEchoMode(m_echoBeforeMessage);
    });

    QPushButton *minimise =
        addTitleButton(QStringLiteral("btnSVER"), QStringLiteral("_"), QStringLiteral("Свернуть"));
    QPushButton *close =
        addTitleButton(QStringLiteral("btnUNLOAD"), QStringLiteral("X"), QStringLiteral("Закрыть"));
    connect(minimise, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Pick);
        showMinimized();
    });
    connect(close, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Close);
        cancel();
    });

    for (QLineEdit *field : {m_first, m_second, m_password})
        connect(field, &QLineEdit::textChanged, this, &LoginWindow::maskPassword);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(16, 8, 16, 12);
    auto *top = new QHBoxLayout;
    top->addWidget(header, 1);
    top->addWidget(minimise);
    top->addWidget(close);
    grid->addLayout(top, 0, 0, 1, 3);
    grid->addWidget(picture, 1, 0, 1, 3);
    grid->addWidget(firstLabel, 2, 0);
    grid->addWidget(first, 2, 1, 1, 2);
    grid->addWidget(secondLabel, 3, 0);
    grid->addWidget(second, 3, 1, 1, 2);
    grid->addWidget(passwordLabel, 4, 0);
    grid->addWidget(password, 4, 1, 1, 2);
    grid->addWidget(m_message, 5, 0, 1, 3);
    auto *remember = new QHBoxLayout;
    remember->addWidget(m_remember);
    remember->addWidget(m_rememberLabel, 1);
    grid->addLayout(remember, 6, 0, 1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancelButton);
    grid->addLayout(buttons, 7, 0, 1, 3);
    setMinimumWidth(460);
    setFirstFocus(m_first);
    setEscapeButton(cancelButton);
    const QList<QWidget *> tabOrder{m_first, m_second,     m_password, m_remember,
                                    ok,      cancelButton, minimise,   close};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

bool LoginWindow::exec()
{
    m_first->setFocus();
    execModal();
    return m_identified;
}

void LoginWindow::clearFields()
{
    m_first->clear();
    m_second->clear();
    m_password->clear();
}

void LoginWindow::changeUser()
{
    m_changingUser = true;
    clearFields();
    if (QWidget *menu = mainWindow())
        menu->hide();
}

void LoginWindow::applyRememberedLogin()
{
    const RememberedLogin login =
        RememberedLogin::read(m_context.session.jpgPath(datafiles::RememberedLoginFile));
    const QSignalBlocker reading(m_remember); // showing the file must not write it
    switch (login.box) {
    case RememberedLogin::Box::Missing:
        m_remember->setChecked(false);
        break;
    case RememberedLogin::Box::Unticked:
        m_remember->setChecked(false);
        showRememberNote(TickText);
        break;
    case RememberedLogin::Box::Ticked:
        m_remember->setChecked(true);
        showRememberNote(UntickText);
        break;
    case RememberedLogin::Box::Unknown:
        break;
    }
    if (!m_remember->isChecked())
        return;
    m_first->setText(login.firstName);
    m_second->setText(login.surname);
    m_password->setText(login.password);
    m_password->setEchoMode(QLineEdit::Password);
    m_maskFollowsName = false; // a remembered password stays hidden whoever it belongs to
}

bool LoginWindow::saveRememberedLogin()
{
    const QString path = m_context.session.jpgPath(datafiles::RememberedLoginFile);
    if (!RememberedLogin::write(path, m_remember->isChecked(), m_first->text(), m_second->text(),
                                m_password->text())) {
        showRememberNote(RememberedLogin::notWrittenText(path));
        return false;
    }
    showRememberNote(m_remember->isChecked() ? UntickText : TickText);
    return true;
}

// The box's description is the note beside it, so that it never tells to tick a ticked box.
void LoginWindow::showRememberNote(const QString &note)
{
    m_rememberLabel->setText(note);
    m_remember->setAccessibleDescription(note);
}

void LoginWindow::saveIfRemembered()
{
    if (!m_first->text().isEmpty() && m_remember->isChecked() &&
        RememberedLogin::refusal(m_first->text(), m_second->text(), m_password->text()).isEmpty())
        saveRememberedLogin();
}

void LoginWindow::maskPassword()
{
    if (!m_maskFollowsName)
        return;
    const bool administrator = isAdministratorName(m_first->text(), m_second->text());
    const bool mask = administrator && m_password->text() != LoginFlow::WrongPasswordText;
    m_password->setEchoMode(mask ? QLineEdit::Password : QLineEdit::Normal);
}

void LoginWindow::pressOk()
{
    const LoginFlow::Result result =
        m_flow.pressOk(m_first->text(), m_second->text(), m_password->text());
    if (result == LoginFlow::Result::WrongPassword) {
        if (m_password->text() != LoginFlow::WrongPasswordText)
            m_echoBeforeMessage = m_password->echoMode();
        m_password->setEchoMode(QLineEdit::Normal);
        m_password->setText(LoginFlow::WrongPasswordText);
    } else {
        m_message->setText(m_flow.message());
    }
    if (result == LoginFlow::Result::Identified || result == LoginFlow::Result::Registered)
        finish();
    m_context.cues.play(Cue::Pick);
}

void LoginWindow::finish()
{
    m_identified = true;
    if (m_changingUser) {
        if (QWidget *menu = mainWindow()) {
            menu->show();
            Q_EMIT userChanged();
        }
    }
    hide();
}

void LoginWindow::cancel()
{
    m_context.cues.play(Cue::Oou);
    if (m_changingUser) {
        if (QWidget *menu = mainWindow())
            menu->show();
        hide();
        return;
    }
    m_identified = false;
    hide();
}

QWidget *LoginWindow::mainWindow() const
{
    return m_context.windows.menu(WindowHub::Menu::Main);
}

bool LoginWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && m_changingUser) {
        if (QWidget *menu = mainWindow())
            menu->hide();
    } else if (event->type() == QEvent::WindowDeactivate) {
        saveIfRemembered();
        if (m_changingUser) {
            if (QWidget *menu = mainWindow())
                menu->show();
        }
    }
    return SkinnedWindow::event(event);
}

bool LoginWindow::eventFilter(QObject *watched, QEvent *event)
{
    const bool field = watched == m_first || watched == m_second || watched == m_password;
    if (field && event->type() == QEvent::KeyPress) {
        m_context.cues.play(Cue::Type);
        const auto *press = static_cast<QKeyEvent *>(event);
        const int key = press->key();
        // Typing over "Пароль не верен" starts a new password instead of appending to the note.
        if (watched == m_password && m_password->text() == LoginFlow::WrongPasswordText) {
            const bool erasing = key == Qt::Key_Backspace || key == Qt::Key_Delete;
            if (erasing || (!press->text().isEmpty() && press->text().at(0).isPrint()))
                m_password->clear();
            if (erasing)
                return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_first)
                m_second->setFocus();
            else if (watched == m_second)
                m_password->setFocus();
            else
                pressOk();
            return true;
        }
    }
    return SkinnedWindow::eventFilter(watched, event);
}

void LoginWindow::hideEvent(QHideEvent *event)
{
    // The window stays loaded after the login: hidden, it keeps no password that an
    // accessibility client could read. A ticked box has stored the login first.
    if (!event->spontaneous()) {
        saveIfRemembered();
        clearFields();
    }
    SkinnedWindow::hideEvent(event);
}

void LoginWindow::closeEvent(QCloseEvent *event)
{
    saveIfRemembered();
    event->accept();
    if (m_changingUser && !isHidden()) {
        if (QWidget *menu = mainWindow())
            menu->show();
    }
}
