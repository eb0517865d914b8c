#include "testing/errorwindow.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "reading/contentswindow.h"
#include "reading/outline.h"
#include "reading/pictureviewer.h"
#include "reading/readerwindow.h"
#include "testing/errorreview.h"
#include "testing/resultwindow.h"
#include "testing/testnavigation.h"
#include "testing/testrun.h"
#include "testing/topictestchoice.h"
#include "ui/answerbutton.h"
#include "ui/answergroup.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/textcolours.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// Opens the reader anew on the paragraph in the reading mode, over whatever window is shown;
// closing it leads to the main menu.
void openReaderAt(AppContext &context, const QString &paragraph)
{
    SessionState &s = context.session;
    if (auto *reader = context.windows.find<ReaderWindow>())
        reader->closeQuietly();
    s.mode = SessionMode::Reading;
    auto *reader = context.windows.load<ReaderWindow>();
    if (!reader)
        return;
    reader->openAt(paragraph);
    context.windows.hideMenu(WindowHub::Menu::Main);
    context.windows.hide<TopicTestChoiceWindow>();
    context.windows.hide<ContentsWindow>();
}

const QColor UserColour(128, 0, 0);
const QColor CorrectColour(0, 128, 0);
} // namespace

ErrorReviewWindow::ErrorReviewWindow(AppContext &context)
    : SkinnedWindow(context, QStringLiteral("frmWRONG"), QStringLiteral("Просмотр ошибок в тесте"))
{
    auto *note =
        addLabel(QStringLiteral("lblNote"),
                 QStringLiteral("Красным цветом выделен данный вами ответ, зеленым - верный."));
    m_topic = addLabel(QStringLiteral("lbTema"), QStringLiteral("Тема:"));
    m_errorFrame = new QGroupBox(this);
    m_errorFrame->setObjectName(QStringLiteral("Frame2"));
    m_question = addLabel(QStringLiteral("QESTION"), QString());
    m_question->setAccessibleName(QStringLiteral("Вопрос"));
    (new QVBoxLayout(m_errorFrame))->addWidget(m_question);
    m_answers = new AnswerGroup(AnswerGroup::Use::Showing, this);
    const auto button = [this](const char *name, const QString &caption, const QString &hint) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAccessibleName(caption);
        hover()->addHint(b, hint);
        return b;
    };
    m_previous =
        button("btnPREV", QStringLiteral("Предыдущая"), QStringLiteral("Предыдущая ошибка"));
    m_next = button("btnNEXT", QStringLiteral("Следующая"), QStringLiteral("Следующая ошибка"));
    m_picture =
        button("btnRIS", QStringLiteral("Рисунок"), QStringLiteral("Показать рисунок к вопросу"));
    m_repeatSection =
        button("btnSECTION", QStringLiteral("Повторить раздел"),
               QStringLiteral("Открыть учебник в начале раздела, который проверял этот тест"));
    QPushButton *exit = button("picEXit", QStringLiteral("Закрыть"),
                               QStringLiteral("Вернуться к результату теста"));
    setEscapeButton(exit);
    for (QWidget *handle : {static_cast<QWidget *>(note), static_cast<QWidget *>(m_topic)})
        dragger()->addHandle(handle);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {m_previous, m_next, m_picture, m_repeatSection, exit})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(m_topic);
    layout->addWidget(m_errorFrame);
    layout->addWidget(m_answers);
    layout->addLayout(buttons);

    connect(m_next, &QPushButton::clicked, this, [this] { step(1); });
    connect(m_previous, &QPushButton::clicked, this, [this] { step(-1); });
    connect(m_picture, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Pick);
        if (auto *viewer = m_context.windows.load<PictureViewer>())
            viewer->showFor(m_records[m_position - 1].picture, this);
    });
    connect(m_repeatSection, &QPushButton::clicked, this, &ErrorReviewWindow::repeatSection);
    connect(exit, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Pick);
        close();
    });
    resize(600, 460);
}

void ErrorReviewWindow::review(const TestRun &run)
{
    m_records = answeredRecords(m_context);
    compactWrongAnswers(m_records);
    m_position = 1;
    if (const std::optional<Outline> outline =
            Outline::load(m_context.session.dataPath(datafiles::OutlineFile)))
        m_section = sectionToRepeat(m_context.session, run.bank(), *outline);
    m_repeatSection->setVisible(!m_section.isEmpty());
    showWrongQuestion();
    WindowHub::present(this);
}

void ErrorReviewWindow::showWrongQuestion()
{
    const WrongQuestionView view = ::showWrongQuestion(m_records, m_position);
    m_previous->setVisible(view.previousVisible);
    m_next->setVisible(view.nextVisible);
    m_errorFrame->setTitle(view.caption);
    m_topic->setText(view.topic);
    m_question->setText(view.question);
    m_answers->setAnswers(view.answers);
    m_answers->mark(view.userAnswer, UserColour);
    for (int k = 1; k <= 5; ++k) {
        AnswerButton *answer = m_answers->button(k);
        if (k == view.correctAnswer)
            textcolours::setTextColour(answer, CorrectColour);
        answer->setAccessibleDescription(k == view.correctAnswer ? QStringLiteral("верный ответ")
                                         : k == view.userAnswer ? QStringLiteral("ваш ответ")
                                                                : QString());
    }
    m_picture->setVisible(!view.picture.isEmpty());
    fitContents();
}

void ErrorReviewWindow::step(int by)
{
    m_context.cues.play(Cue::Pick);
    closePictureViewer(m_context);
    m_position = qBound(1, m_position + by, SessionSlots);
    showWrongQuestion();
}

void ErrorReviewWindow::repeatSection()
{
    m_context.cues.play(Cue::Pick);
    m_leaving = true;
    const QString paragraph = m_section;
    AppContext &context = m_context;
    close();
    // The result window's close stores the grade and closes the test windows.
    context.windows.close<ResultWindow>();
    openReaderAt(context, paragraph);
}

void ErrorReviewWindow::closeEvent(QCloseEvent *event)
{
    closePictureViewer(m_context);
    if (!m_leaving)
        m_context.windows.open<ResultWindow>();
    event->accept();
}
