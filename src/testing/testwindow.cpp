#include "testing/testwindow.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "reading/pictureviewer.h"
#include "testing/pausewindow.h"
#include "testing/resultwindow.h"
#include "testing/resume.h"
#include "testing/testintro.h"
#include "testing/testnavigation.h"
#include "testing/testrun.h"
#include "testing/testsession.h"
#include "ui/answerbutton.h"
#include "ui/answergroup.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QColor SelectedColour(128, 0, 0);

// The practice of missed questions keeps only its answers: no grade, no attempt, nothing to go
// on with after a restart, and no state files, whose grade the teacher's results would take for
// a test's.
TestSession::Files testFiles(const SessionState &s, const TestRun &run)
{
    TestSession::Files files{
        s.dataPath(datafiles::ProgressFile),     s.dataPath(datafiles::SessionFile),
        s.jpgPath(datafiles::AnswerTimeFile),    s.jpgPath(datafiles::UserBaseFile),
        s.dataPath(datafiles::ResumeFile),       s.dataPath(datafiles::JournalFile),
        s.dataPath(datafiles::AnswerJournalFile)};
    if (run.isPractice())
        files.progress = files.session = files.userBase = files.resume = files.journal = QString();
    return files;
}
} // namespace

TestWindow::TestWindow(AppContext &context)
    : SkinnedWindow(context, QStringLiteral("fullTST"), QString())
{
    m_clock = new QTimer(this);
    m_clock->setObjectName(QStringLiteral("Timer2"));
    m_clock->setInterval(1000);
    buildControls();
    resize(640, 520);
}

void TestWindow::start(std::shared_ptr<TestRun> run)
{
    SessionState &s = m_context.session;
    m_run = std::move(run);
    m_running = lockRunningTest(s);
    m_session = new TestSession(s, m_run, testFiles(s, *m_run), this);
    connectSession();
    m_time->setText(
        m_session->clock().startText().replace(QStringLiteral(":60"), QStringLiteral(":00")));
    showClock();
    WindowHub::present(this);
    QTimer::singleShot(0, this, [this] { m_session->begin(); });
}

void TestWindow::buildControls()
{
    m_instructions = new QGroupBox(QStringLiteral("Выберите ответ"), this);
    m_instructions->setObjectName(QStringLiteral("Frame1"));
    auto *instructionText = addLabel(
        QStringLiteral("lblInstruction"),
        QStringLiteral("Выберите ответ и нажмите кнопку 'Ответить' (или дважды щёлкните ответ),"));
    m_timeNote = addLabel(QStringLiteral("Метка1"),
                          QStringLiteral("или у Вас просто кончится время для ответа на вопрос"));
    m_time = addTickingLabel(QStringLiteral("lblTime"), QStringLiteral("Оставшееся время"));
    QFont big = m_time->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    m_time->setFont(big);
    auto *instructionsLayout = new QGridLayout(m_instructions);
    instructionsLayout->addWidget(instructionText, 0, 0);
    instructionsLayout->addWidget(m_timeNote, 1, 0);
    instructionsLayout->addWidget(m_time, 0, 1, 2, 1);

    m_topic = addLabel(QStringLiteral("lblTitle1"), QString());
    m_number = addLabel(QStringLiteral("lblNumber"), QString());
    m_number->setWordWrap(false);
    m_pausesLeft = addLabel(QStringLiteral("lblPausesLeft"), QString());
    m_pausesLeft->setWordWrap(false);
    m_writeProblems = addLabel(QStringLiteral("labWriteProblem"), QString());
    m_writeProblems->setAccessibleName(QStringLiteral("Запись файлов теста"));
    m_writeProblems->setTextFormat(Qt::PlainText);
    m_writeProblems->setStyleSheet(QStringLiteral("color: #ffc860;"));
    m_writeProblems->hide();
    m_questionFrame = new QGroupBox(this);
    m_questionFrame->setObjectName(QStringLiteral("Frame2"));
    m_question = addLabel(QStringLiteral("QESTION"), QString());
    m_question->setAccessibleName(QStringLiteral("Вопрос"));
    // A new question takes the focus, so that a screen reader reads it before the answers.
    m_question->setFocusPolicy(Qt::StrongFocus);
    auto *questionLayout = new QVBoxLayout(m_questionFrame);
    questionLayout->addWidget(m_question);

    m_answers = new AnswerGroup(AnswerGroup::Use::Choosing, this);
    for (int k = 1; k <= 5; ++k)
        hover()->addHint(m_answers->button(k),
                         QStringLiteral("Двойной щелчок отвечает этим ответом"));
    m_submit = new QPushButton(QStringLiteral("Ответить"), this);
    m_submit->setObjectName(QStringLiteral("OKKEY"));
    m_submit->setAccessibleName(m_submit->text());
    hover()->addHint(m_submit, QStringLiteral("Ответить выбранным ответом"));
    m_pause = new QPushButton(QStringLiteral("Пауза"), this);
    m_pause->setObjectName(QStringLiteral("btnPAUSE"));
    m_pause->setAccessibleName(m_pause->text());
    hover()->addHint(m_pause, QStringLiteral("Пауза начнётся после ответа на вопрос"));
    // Closing leaves the test unfinished; the introduction window then says so.
    QPushButton *close = addTitleButton(QStringLiteral("btnUNLOAD"), QStringLiteral("X"),
                                        QStringLiteral("Прервать тест"));
    setEscapeButton(close);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    for (QWidget *handle : {static_cast<QWidget *>(m_topic), static_cast<QWidget *>(m_question)})
        dragger()->addHandle(handle);

    setFirstFocus(m_question);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_submit);
    buttons->addStretch();
    buttons->addWidget(m_pause);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_instructions);
    auto *progress = new QHBoxLayout;
    progress->addWidget(m_topic, 1);
    progress->addWidget(m_number);
    progress->addSpacing(16);
    progress->addWidget(m_pausesLeft);
    progress->addSpacing(16);
    progress->addWidget(close);
    layout->addLayout(progress);
    layout->addWidget(m_writeProblems);
    layout->addWidget(m_questionFrame);
    layout->addWidget(m_answers, 1);
    layout->addLayout(buttons);
}

void TestWindow::connectSession()
{
    connect(m_answers, &AnswerGroup::chosen, m_session, &TestSession::select);
    connect(m_answers, &AnswerGroup::doubleClicked, m_session, [this](int k) {
        m_session->select(k);
        m_session->submit();
    });
    connect(m_submit, &QPushButton::clicked, m_session, &TestSession::submit);
    connect(m_pause, &QPushButton::clicked, m_session, &TestSession::requestPause);
    connect(m_clock, &QTimer::timeout, m_session, &TestSession::tick);
    connect(m_run.get(), &TestRun::questionAsked, this, &TestWindow::showProgress);
    connect(m_run.get(), &TestRun::pauseChanged, this, &TestWindow::showProgress);
    connect(m_session, &TestSession::questionShown, this, &TestWindow::showQuestion);
    connect(m_session, &TestSession::selectionChanged, this,
            [this](int answer) { m_answers->mark(answer, SelectedColour); });
    connect(m_session, &TestSession::clockChanged, this, &TestWindow::showClock);
    connect(m_session, &TestSession::pauseStateChanged, this, &TestWindow::showPauseState);
    connect(m_session, &TestSession::pauseStarted, this, &TestWindow::takePause);
    connect(m_session, &TestSession::answerTaken, this, &TestWindow::answerTaken);
    connect(m_session, &TestSession::finished, this, &TestWindow::finish);
    connect(m_session, &TestSession::writeProblemsChanged, this, &TestWindow::showWriteProblems);
    connect(m_session, &TestSession::clockWarning, this,
            [this] { m_context.cues.play(Cue::TukTuk); });
    connect(m_session, &TestSession::timeUp, this, [] { QApplication::beep(); });
}

void TestWindow::showQuestion()
{
    const BankRecord &record = m_session->question();
    m_question->setText(record.question);
    m_answers->setAnswers(record.answers);
    m_topic->setText(QStringLiteral(" Тема: ") + record.topic);
    m_questionFrame->setTitle(m_session->frameCaption());
    m_question->setFocus(Qt::OtherFocusReason);
    show();
    fitContents();
    m_clock->start();
    if (!record.picture.isEmpty()) {
        m_context.session.PictureToShow = record.picture;
        if (auto *viewer = m_context.windows.load<PictureViewer>())
            viewer->showFor(this, m_questionFrame);
    }
}

void TestWindow::showClock()
{
    const AnswerClock &clock = m_session->clock();
    m_time->setVisible(clock.visible());
    m_timeNote->setVisible(clock.visible());
    if (m_session->state() == TestSession::State::Answering)
        m_time->setText(clock.text());
    m_time->setAccessibleDescription(m_time->text());
}

void TestWindow::showPauseState()
{
    m_pause->setEnabled(m_session->pauseAvailable());
    setWindowTitle(m_session->windowCaption());
    setAccessibleName(windowTitle());
}

void TestWindow::showProgress()
{
    m_number->setText(
        QStringLiteral("Вопрос %1 из %2").arg(m_run->asked()).arg(m_run->questionCount()));
    m_pausesLeft->setText(QStringLiteral("Осталось пауз: %1").arg(m_run->pausesLeft()));
}

void TestWindow::takePause()
{
    hide();
    m_clock->stop();
    auto *pause = new PauseWindow(m_context, m_run->pausesUsed());
    connect(pause, &PauseWindow::finished, m_session, &TestSession::endPause);
    pause->show();
}

void TestWindow::answerTaken()
{
    m_context.cues.play(Cue::Pick);
    closePictureViewer(m_context);
}

void TestWindow::finish()
{
    hide();
    m_clock->stop();
    if (auto *result = m_context.windows.load<ResultWindow>())
        result->showResult(m_run);
}

void TestWindow::showWriteProblems()
{
    const QStringList problems = m_session->writeProblems();
    m_writeProblems->setText(problems.join(u'\n'));
    m_writeProblems->setVisible(!problems.isEmpty());
    fitContents();
}

void TestWindow::keyPressEvent(QKeyEvent *event)
{
    const int answer = event->key() - Qt::Key_0;
    if (answer >= 1 && answer <= 5 && m_answers->button(answer)->isEnabled() &&
        !m_answers->button(answer)->text().isEmpty()) {
        m_answers->button(answer)->setFocus(Qt::ShortcutFocusReason);
        m_answers->button(answer)->click();
        return;
    }
    // Enter answers, unless it presses "Пауза" or the close button; a key held down answers
    // once, never the question that follows.
    const bool onPushButton = qobject_cast<QPushButton *>(focusWidget());
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !onPushButton) {
        if (!event->isAutoRepeat() && m_session)
            m_session->submit();
        return;
    }
    SkinnedWindow::keyPressEvent(event);
}

void TestWindow::closeQuietly()
{
    m_quiet = true;
    close();
}

void TestWindow::closeEvent(QCloseEvent *event)
{
    m_clock->stop();
    if (!m_quiet && m_session && m_session->state() != TestSession::State::Finished) {
        closePictureViewer(m_context);
        if (auto *intro = m_context.windows.find<TestIntroWindow>())
            intro->showNotFinished();
    }
    event->accept();
}
