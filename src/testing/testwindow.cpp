#include "testing/testwindow.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "reading/pictureviewer.h"
#include "testing/pausewindow.h"
#include "testing/resultwindow.h"
#include "testing/resume.h"
#include "testing/testface.h"
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
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
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
    m_face->showClock(
        true, m_session->clock().startText().replace(QStringLiteral(":60"), QStringLiteral(":00")));
    showClock();
    WindowHub::present(this);
    QTimer::singleShot(0, this, [this] { m_session->begin(); });
}

void TestWindow::buildControls()
{
    // Closing leaves the test unfinished; the introduction window then says so.
    QPushButton *close = addTitleButton(QStringLiteral("btnUNLOAD"), QStringLiteral("X"),
                                        QStringLiteral("Прервать тест"));
    setEscapeButton(close);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    m_face = new TestFace(hover(), close, this);
    for (QWidget *handle : m_face->dragHandles())
        dragger()->addHandle(handle);
    setFirstFocus(m_face->firstFocus());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_face);
}

void TestWindow::connectSession()
{
    AnswerGroup *answers = m_face->answers();
    connect(answers, &AnswerGroup::chosen, m_session, &TestSession::select);
    connect(answers, &AnswerGroup::doubleClicked, m_session, [this](int k) {
        m_session->select(k);
        m_session->submit();
    });
    connect(m_face->submitButton(), &QPushButton::clicked, m_session, &TestSession::submit);
    connect(m_face->pauseButton(), &QPushButton::clicked, m_session, &TestSession::requestPause);
    connect(m_clock, &QTimer::timeout, m_session, &TestSession::tick);
    connect(m_run.get(), &TestRun::questionAsked, this, &TestWindow::showProgress);
    connect(m_run.get(), &TestRun::pauseChanged, this, &TestWindow::showProgress);
    connect(m_session, &TestSession::questionShown, this, &TestWindow::showQuestion);
    connect(m_session, &TestSession::selectionChanged, m_face, &TestFace::markChosen);
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
    m_face->showQuestion(record.topic, record.question, record.answers, m_session->frameCaption());
    m_face->focusQuestion();
    show();
    fitContents();
    m_clock->start();
    if (!record.picture.isEmpty()) {
        if (auto *viewer = m_context.windows.load<PictureViewer>())
            viewer->showFor(record.picture, this, m_face->questionFrame());
    }
}

void TestWindow::showClock()
{
    const AnswerClock &clock = m_session->clock();
    const bool answering = m_session->state() == TestSession::State::Answering;
    m_face->showClock(clock.visible(), answering ? clock.text() : QString());
}

void TestWindow::showPauseState()
{
    m_face->pauseButton()->setEnabled(m_session->pauseAvailable());
    setWindowTitle(m_session->windowCaption());
    setAccessibleName(windowTitle());
}

void TestWindow::showProgress()
{
    m_face->showProgress(m_run->asked(), m_run->questionCount(), m_run->pausesLeft());
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
    m_face->showWriteProblems(m_session->writeProblems());
    fitContents();
}

void TestWindow::keyPressEvent(QKeyEvent *event)
{
    const int answer = event->key() - Qt::Key_0;
    AnswerGroup *answers = m_face->answers();
    if (answer >= 1 && answer <= 5 && answers->button(answer)->isEnabled() &&
        !answers->button(answer)->text().isEmpty()) {
        answers->button(answer)->setFocus(Qt::ShortcutFocusReason);
        answers->button(answer)->click();
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
