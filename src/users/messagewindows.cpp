#include "users/messagewindows.h"

#include "core/sessionstate.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/skinbutton.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <memory>

ModalMessageWindow::ModalMessageWindow(AppContext &context, const QString &objectName,
                                       const QString &caption, const QString &messageName)
    : SkinnedWindow(context, objectName, caption), m_message(addLabel(messageName, QString()))
{
    // A lighter face sets the small window apart from the one it covers.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(84, 104, 132));
    setPalette(colours);
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setMinimumSize(320, 70);
    m_message->setAccessibleDescription(QStringLiteral("Сообщение"));
    dragger()->addHandle(m_message);
}

ModalMessageWindow::~ModalMessageWindow() = default;

void ModalMessageWindow::setMessage(const QString &text)
{
    m_message->setText(text);
    m_message->setAccessibleDescription(text);
}

QString ModalMessageWindow::message() const
{
    return m_message->text();
}

void ModalMessageWindow::layOut(const QList<SkinButton *> &buttons)
{
    auto *title = addLabel(QStringLiteral("caption"), windowTitle().trimmed());
    title->setAccessibleName(title->text());
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    dragger()->addHandle(title);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(16, 10, 16, 12);
    column->addWidget(title);
    column->addWidget(m_message, 1);
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (SkinButton *button : buttons)
        row->addWidget(button);
    row->addStretch();
    column->addLayout(row);
}

void ModalMessageWindow::exec()
{
    adjustSize();
    execModal();
}

ConfirmWindow::ConfirmWindow(AppContext &context)
    : ModalMessageWindow(context, QStringLiteral("frmSURE"),
                         QStringLiteral("     У нас к вам вопросик появился..."),
                         QStringLiteral("m1"))
{
    SkinButton *yes = addSkinButton(QStringLiteral("cmd1"), QStringLiteral("SURE/del"),
                                    QStringLiteral("Да"), QStringLiteral("Да, выполнить"));
    SkinButton *no = addSkinButton(QStringLiteral("cmd2"), QStringLiteral("SURE/cancel"),
                                   QStringLiteral("Нет"), QStringLiteral("Нет, отказаться"));
    connect(yes, &SkinButton::clicked, this, [this] { answer(true); });
    connect(no, &SkinButton::clicked, this, [this] { answer(false); });
    setEscapeButton(no);
    layOut({yes, no});
    no->setFocus();
}

void ConfirmWindow::answer(bool confirmed)
{
    m_context.cues.play(confirmed ? Cue::Aaa : Cue::Oou);
    m_confirmed = confirmed;
    close();
}

bool ConfirmWindow::ask(AppContext &context, const QString &question)
{
    ConfirmWindow window(context);
    window.setMessage(question);
    window.exec();
    return window.m_confirmed;
}

InfoWindow::InfoWindow(AppContext &context)
    : ModalMessageWindow(context, QStringLiteral("frmINFO"), QStringLiteral("     Внимание!"),
                         QStringLiteral("lab_info"))
{
    SkinButton *exit = addSkinButton(QStringLiteral("cmd_EXIT"), QStringLiteral("Testend/return"),
                                     QStringLiteral("Закрыть"), QStringLiteral("Закрыть окно"));
    connect(exit, &SkinButton::clicked, this, &InfoWindow::close);
    setEscapeButton(exit);
    layOut({exit});
}

void InfoWindow::tell(AppContext &context, const QString &notice)
{
    const std::unique_ptr<InfoWindow> window = std::make_unique<InfoWindow>(context);
    window->setMessage(notice);
    window->exec();
}
