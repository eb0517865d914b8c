#include "testing/topictestchoice.h"

#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "testing/catalogue.h"
#include "testing/results.h"
#include "testing/testnavigation.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/skinbutton.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {
const QString BackgroundHint = QStringLiteral("Выберите тест и нажмите кнопку 'Пройти тест'.");
}

TopicTestChoiceWindow::TopicTestChoiceWindow(AppContext &context)
    : SkinnedWindow(context, QStringLiteral("frmTestCh"), QStringLiteral("Выбор теста "))
{
    auto *title = addLabel(QStringLiteral("metTITLE"), QStringLiteral("Выбор теста"));
    dragger()->addHandle(title);
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("cOmBo1"));
    m_list->setAccessibleName(QStringLiteral("Название теста"));
    hover()->addHint(m_list, QStringLiteral("Выберайте название теста."));
    m_description = addLabel(QStringLiteral("metDESCRIBE"), QString());
    m_description->setMinimumSize(380, 110);
    m_description->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_description->setAccessibleName(QStringLiteral("Описание теста"));
    hover()->addHint(m_description, BackgroundHint);
    dragger()->addHandle(m_description);

    m_ok = addSkinButton(QStringLiteral("btnOK"), QStringLiteral("tests/ok"),
                         QStringLiteral("Пройти тест"),
                         QStringLiteral("Нажми для начала выбранного теста."));
    SkinButton *exit = addSkinButton(QStringLiteral("btnEXIT"), QStringLiteral("tests/return"),
                                     QStringLiteral("Назад"),
                                     QStringLiteral("Нажми чтобы вернуться в главное меню."));
    QPushButton *minimise =
        addTitleButton(QStringLiteral("btnSVER"), QStringLiteral("_"), QStringLiteral("Свернуть"));
    QPushButton *close =
        addTitleButton(QStringLiteral("btnUNLOAD"), QStringLiteral("X"), QStringLiteral("Закрыть"));
    setEscapeButton(close);
    auto *status = addLabel(QStringLiteral("sbStatusBar"), QString());
    status->setFrameShape(QFrame::StyledPanel);
    hover()->setStatusLine(status, BackgroundHint);

    auto *grid = new QGridLayout(this);
    grid->addWidget(title, 0, 0, 1, 2);
    grid->addWidget(minimise, 0, 2);
    grid->addWidget(close, 0, 3);
    grid->addWidget(m_list, 1, 0, 1, 4);
    grid->addWidget(m_description, 2, 0, 1, 4);
    grid->addWidget(m_ok, 3, 0);
    grid->addWidget(exit, 3, 1);
    grid->addWidget(status, 4, 0, 1, 4);

    connect(m_ok, &SkinButton::clicked, this, &TopicTestChoiceWindow::startTest);
    connect(exit, &SkinButton::clicked, this, &TopicTestChoiceWindow::leave);
    connect(close, &QPushButton::clicked, this, &TopicTestChoiceWindow::leave);
    connect(minimise, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Pick);
        showMinimized();
    });

    for (const QString &name : m_context.session.catalogue.names) {
        if (!name.isEmpty())
            m_list->addItem(name);
    }
    showTestDescription();
    connect(m_list, &QComboBox::activated, this, [this] {
        m_context.cues.play(Cue::Pick);
        showTestDescription();
    });
    adjustSize();
}

void TopicTestChoiceWindow::showTestDescription()
{
    const QString catalogueProblem = testCatalogueProblem(m_context.session);
    const bool playable = catalogueProblem.isEmpty() &&
                          !catalogueBankFor(m_context.session, m_list->currentText()).isEmpty();
    m_ok->setEnabled(playable);
    if (!catalogueProblem.isEmpty())
        m_description->setText(catalogueProblem);
    else if (!playable)
        m_description->setText(QStringLiteral("Для этого теста в каталоге тестов не указан файл "
                                              "вопросов, поэтому пройти его нельзя."));
    else
        m_description->setText(catalogueDescription(m_context.session, m_list->currentText()) +
                               pauseSentence());
}

void TopicTestChoiceWindow::startTest()
{
    SessionState &s = m_context.session;
    const QString name = m_list->currentText();
    const QString bank = catalogueBankFor(s, name);
    if (bank.isEmpty())
        return;
    m_context.cues.play(Cue::Hihihih);
    if (s.mode == SessionMode::CourseTest)
        s.mode = SessionMode::Reading;
    introduceTest(m_context, {bank, name, true});
    hide();
}

void TopicTestChoiceWindow::leave()
{
    m_context.cues.play(Cue::Close);
    close();
}

void TopicTestChoiceWindow::closeEvent(QCloseEvent *event)
{
    m_context.windows.openMenu(WindowHub::Menu::Main);
    event->accept();
}
