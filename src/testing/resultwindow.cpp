#include "testing/resultwindow.h"

#include "core/sessionfiles.h"
#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "testing/errorwindow.h"
#include "testing/grading.h"
#include "testing/testnavigation.h"
#include "testing/testrun.h"
#include "testing/testsettings.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/skinbutton.h"
#include "ui/textcolours.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>

ResultWindow::ResultWindow(AppContext &context)
    : SkinnedWindow(context, QStringLiteral("frmFULLtestEND"),
                    QStringLiteral("Результат Ваших трудов"))
{
    m_gradeCaption = addLabel(QStringLiteral("LABEL1"), QString());
    auto *timeCaption = addLabel(QStringLiteral("LABEL2"), QStringLiteral("Вы затратили на тест:"));
    m_grade = addLabel(QStringLiteral("Label4"), QString());
    QFont big = m_grade->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    m_grade->setFont(big);
    m_percent = addLabel(QStringLiteral("pecent_LAB"), QStringLiteral("(100%)"));
    m_time = addLabel(QStringLiteral("LABEL5"), QStringLiteral("100 минут"));
    m_verdict = addLabel(QStringLiteral("LABEL3"), QString());
    m_verdict->setMinimumSize(380, 90);
    m_verdict->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_notice = addLabel(QStringLiteral("labNotStored"), QString());
    m_notice->setAccessibleName(QStringLiteral("Запись оценки"));
    m_notice->setStyleSheet(QStringLiteral("color: #ffc860;"));
    m_gradeCaption->setBuddy(m_grade);
    timeCaption->setBuddy(m_time);
    for (QLabel *label : {m_gradeCaption, timeCaption, m_grade, m_percent, m_time, m_verdict})
        dragger()->addHandle(label);
    m_wrong = addSkinButton(QStringLiteral("wrong"), QStringLiteral("testend/error"),
                            QStringLiteral("Ошибки"), QStringLiteral("Посмотреть свои ошибки"));
    SkinButton *exit = addSkinButton(QStringLiteral("cmdEXIT"), QStringLiteral("testend/return"),
                                     QStringLiteral("Закрыть"), QStringLiteral("Вернуться"));
    setEscapeButton(exit);
    auto *grid = new QGridLayout(this);
    grid->addWidget(m_gradeCaption, 0, 0);
    grid->addWidget(m_grade, 0, 1);
    grid->addWidget(m_percent, 0, 2);
    grid->addWidget(timeCaption, 1, 0);
    grid->addWidget(m_time, 1, 1, 1, 2);
    grid->addWidget(m_verdict, 2, 0, 1, 3);
    grid->addWidget(m_notice, 3, 0, 1, 3);
    grid->addWidget(m_wrong, 4, 0);
    grid->addWidget(exit, 4, 2);
    connect(m_wrong, &SkinButton::clicked, this, [this] {
        if (auto *review = m_context.windows.load<ErrorReviewWindow>())
            review->review(*m_run);
        hide();
    });
    connect(exit, &SkinButton::clicked, this, [this] {
        m_context.cues.play(Cue::Close);
        close();
    });
}

void ResultWindow::showResult(std::shared_ptr<const TestRun> finished)
{
    m_run = std::move(finished);
    const TestRun &run = *m_run;
    m_gradeCaption->setText(run.isPractice() ? QStringLiteral("Верных ответов :")
                                             : QStringLiteral("Оценка за тест :"));
    setWindowTitle(QStringLiteral("Тест: ") + run.name());
    setAccessibleName(windowTitle());
    m_percent->setText(percentText(run.correct(), run.asked()));
    const GradeLook look =
        run.isPractice() ? practiceLook(run.correct(), run.asked()) : gradeLookFor(run.grade());
    m_grade->setText(look.word);
    textcolours::setTextColour(m_grade, look.colour < 0
                                            ? palette().color(QPalette::ButtonText)
                                            : QColor(look.colour & 0xff, (look.colour >> 8) & 0xff,
                                                     (look.colour >> 16) & 0xff));
    m_verdict->setText(look.verdict);
    if (look.cue == QLatin1String("smeh.wav"))
        m_context.cues.play(Cue::Smeh);
    else if (look.cue == QLatin1String("applaud.wav"))
        m_context.cues.play(Cue::Applaud);
    m_time->setText(run.elapsedText());
    m_notice->setText(run.notice());
    m_notice->setVisible(!run.notice().isEmpty());

    // Read now, so a setting the teacher pushed during the lesson applies to this result.
    // The practice of missed questions is there to see the right answers.
    const int setting = run.isPractice() ? int(TestSettings::ShowAlways)
                                         : loadTestSettings(m_context.session).showErrors;
    m_wrong->setVisible(
        showErrorsAllowed(run.asked(), answeredRecords(m_context), setting, run.isCourseTest()));
    adjustSize();
    WindowHub::present(this);
}

void ResultWindow::closeEvent(QCloseEvent *event)
{
    // The grade was stored when the test ended.
    if (m_run)
        showTestReturnTarget(m_context, *m_run);
    closeTestWindows(m_context);
    event->accept();
}
