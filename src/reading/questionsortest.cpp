#include "reading/questionsortest.h"

#include "core/sessionstate.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/skinbutton.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

const QString QuestionsOrTestWindow::Caption =
    QStringLiteral("                тип контроля знаний");

QuestionsOrTestWindow::QuestionsOrTestWindow(AppContext &context, QWidget *parent)
    : SkinnedWindow(context, QStringLiteral("frmVopORTest"), Caption, parent)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto *title = addLabel(QStringLiteral("labTitle"), Caption.trimmed());
    title->setAlignment(Qt::AlignCenter);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    dragger()->addHandle(title);
    QPushButton *close = addTitleButton(QStringLiteral("btnUNLOAD"), QStringLiteral("X"),
                                        QStringLiteral("Закрыть без выбора"));
    connect(close, &QPushButton::clicked, this, &QuestionsOrTestWindow::close);
    setEscapeButton(close);

    // Both spellings of the skin folder reach the same files: paths are matched without case.
    m_questions = addSkinButton(QStringLiteral("comVOPR"), QStringLiteral("VOPorTEST/vopros"),
                                QStringLiteral("Вопросы"),
                                QStringLiteral("Остаться на странице контрольных вопросов"));
    m_test = addSkinButton(QStringLiteral("comTEST"), QStringLiteral("VOPorTEST/test"),
                           QStringLiteral("Тест"), QStringLiteral("Пройти тест по этой теме"));
    connect(m_questions, &SkinButton::clicked, this, [this] { choose(TestChoice::Questions); });
    connect(m_test, &SkinButton::clicked, this, [this] { choose(TestChoice::Test); });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_questions);
    buttons->addWidget(m_test);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 10, 16, 14);
    auto *top = new QHBoxLayout;
    top->addWidget(title, 1);
    top->addWidget(close);
    layout->addLayout(top);
    layout->addLayout(buttons);
    adjustSize();
}

TestChoice QuestionsOrTestWindow::ask(AppContext &context)
{
    QuestionsOrTestWindow window(context);
    window.execModal();
    return window.m_choice;
}

void QuestionsOrTestWindow::loadSkins()
{
    m_questions->setSkin(m_context.session.skinPath(QStringLiteral("voportest/vopros.bmp")),
                         m_context.session.skinPath(QStringLiteral("VOPorTEST/vopros_move.bmp")));
    m_test->setSkin(m_context.session.skinPath(QStringLiteral("voportest/test.bmp")),
                    m_context.session.skinPath(QStringLiteral("VOPorTEST/test_move.bmp")));
}

void QuestionsOrTestWindow::choose(TestChoice choice)
{
    m_context.cues.play(Cue::Pick);
    m_choice = choice;
    close();
}

void QuestionsOrTestWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        loadSkins();
    SkinnedWindow::changeEvent(event);
}

void QuestionsOrTestWindow::closeEvent(QCloseEvent *event)
{
    m_context.cues.play(Cue::Close);
    event->accept();
}
