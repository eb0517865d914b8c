#include "testing/testintro.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "reading/readerwindow.h"
#include "testing/questionbank.h"
#include "testing/results.h"
#include "testing/resume.h"
#include "testing/testnavigation.h"
#include "testing/testrun.h"
#include "testing/testwindow.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/skinbutton.h"
#include "users/messagewindows.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QRandomGenerator>

TestIntroWindow::TestIntroWindow(AppContext &context)
    : SkinnedWindow(context, QStringLiteral("frmFullTest"), QString())
{
    buildControls();
}

void TestIntroWindow::buildControls()
{
    m_title = addLabel(QStringLiteral("LAB11"), QString());
    QFont big = m_title->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    m_title->setFont(big);
    m_intro = addLabel(QStringLiteral("LABEL1"), QString());
    m_intro->setMinimumSize(420, 120);
    m_intro->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_notFinished = addLabel(QStringLiteral("LABEL2"), QStringLiteral("не закончен..."));
    for (QLabel *label : {m_title, m_intro, m_notFinished})
        dragger()->addHandle(label);
    m_start = addSkinButton(QStringLiteral("cmdSTART"), QStringLiteral("fulltest/ok"),
                            QStringLiteral("Начать тест"), QStringLiteral("Начать тест"));
    m_exit = addSkinButton(QStringLiteral("cmdEXIT"), QStringLiteral("fulltest/cancel"),
                           QStringLiteral("Отмена"), QStringLiteral("Отказаться от теста"));
    setEscapeButton(m_exit);
    m_return = addSkinButton(QStringLiteral("cmdRETurn"), QStringLiteral("fulltest/return"),
                             QStringLiteral("Вернуться"), QStringLiteral("Вернуться"));
    auto *grid = new QGridLayout(this);
    grid->addWidget(m_title, 0, 0, 1, 3);
    grid->addWidget(m_intro, 1, 0, 1, 3);
    grid->addWidget(m_notFinished, 2, 0, 1, 3);
    grid->addWidget(m_start, 3, 0);
    grid->addWidget(m_exit, 3, 1);
    grid->addWidget(m_return, 3, 2);
    connect(m_start, &SkinButton::clicked, this, &TestIntroWindow::start);
    connect(m_exit, &SkinButton::clicked, this, &TestIntroWindow::cancel);
    connect(m_return, &SkinButton::clicked, this, &TestIntroWindow::returnFromUnfinished);
}

void TestIntroWindow::introduce(const TestRequest &request)
{
    auto run = std::make_shared<TestRun>(request);
    run->prepare(std::make_shared<PreparedTest>(
        prepareTest(m_context.session.jpgPath(request.bank), *QRandomGenerator::global())));
    introduce(std::move(run));
}

// The practice of missed questions was drawn by the results window, which had to know whether
// there was anything to practise.
void TestIntroWindow::introducePractice(std::shared_ptr<const PreparedTest> practice)
{
    introduce(TestRun::practice(std::move(practice)));
}

void TestIntroWindow::introduce(std::shared_ptr<TestRun> run)
{
    m_run = std::move(run);
    m_started = false;
    if (m_context.session.mode == SessionMode::CourseTest)
        m_context.windows.hideMenu(WindowHub::Menu::Main);
    else
        m_context.windows.hide<ReaderWindow>();
    m_return->hide();
    m_notFinished->hide();
    const PreparedTest &test = *m_run->test();
    if (test.ok()) {
        const int count = test.bank.questionCount();
        m_intro->setText(m_run->isPractice() ? practiceIntroduction(count)
                                             : testIntroduction(m_run->bank(), count));
    } else {
        m_intro->setText(test.error);
        m_start->hide();
    }
    showTitle();
    adjustSize();
    WindowHub::present(this);
}

void TestIntroWindow::showTitle()
{
    setWindowTitle(m_run->name());
    setAccessibleName(m_run->name());
    m_title->setText(m_context.session.mode == SessionMode::CourseTest
                         ? QStringLiteral("Тест по всему курсу")
                         : m_run->name());
}

void TestIntroWindow::start()
{
    m_started = true;
    m_context.cues.play(Cue::Pick);
    hide();
    m_start->hide();
    m_context.windows.close<TestWindow>();
    if (auto *test = m_context.windows.load<TestWindow>())
        test->start(m_run);
}

void TestIntroWindow::goOn(const InterruptedTest &test)
{
    m_run = std::make_shared<TestRun>(selectInterruptedTest(m_context.session, test));
    continueInterruptedTest(*m_run, test);
    showTitle();
    start();
}

void TestIntroWindow::showNotFinished()
{
    m_intro->hide();
    m_start->hide();
    m_exit->hide();
    m_notFinished->show();
    m_return->show();
    setEscapeButton(m_return);
    setFirstFocus(m_return);
    show();
    raise();
}

bool TestIntroWindow::storeAbandonedGrade()
{
    SessionState &s = m_context.session;
    if (m_run->isPractice())
        return true;
    const QString base = s.jpgPath(datafiles::UserBaseFile);
    tellWhenNotStored(m_context, storeTestResult(s, gradeOf(s, *m_run), base), m_run->name(), base);
    // A test left on purpose is not offered for continuing after a restart.
    const QString resume = s.dataPath(datafiles::ResumeFile);
    if (QFile::remove(resume) || !QFile::exists(resume))
        return true;
    const QPointer<TestIntroWindow> self(this);
    InfoWindow::tell(m_context, QStringLiteral("Не удалось удалить файл %1: после перезапуска "
                                               "программа предложит продолжить этот тест.")
                                    .arg(QDir::toNativeSeparators(resume)));
    return self;
}

void TestIntroWindow::returnFromUnfinished()
{
    if (!storeAbandonedGrade())
        return;
    m_context.cues.play(Cue::Close);
    leave();
}

void TestIntroWindow::cancel()
{
    closePictureViewer(m_context);
    if (m_started && !storeAbandonedGrade())
        return;
    m_context.cues.play(Cue::Oou);
    m_started = false;
    leave();
}

void TestIntroWindow::leave()
{
    if (m_run)
        showTestReturnTarget(m_context, *m_run);
    closeTestWindows(m_context);
}

void TestIntroWindow::closeQuietly()
{
    m_leaving = true;
    close();
}

void TestIntroWindow::closeEvent(QCloseEvent *event)
{
    if (!m_leaving) {
        m_leaving = true;
        leave();
    }
    event->accept();
}
