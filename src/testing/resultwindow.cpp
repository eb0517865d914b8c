#include "testing/resultwindow.h"

#include "core/datafiles.h"
#include "core/sessionfiles.h"
#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "testing/errorwindow.h"
#include "testing/grading.h"
#include "testing/testnavigation.h"
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
    auto *gradeCaption =
        addLabel(QStringLiteral("LABEL1"), context.session.PracticeFromResults
                                               ? QStringLiteral("Верных ответов :")
                                               : QStringLiteral("Оценка за тест :"));
    auto *timeCaption = addLabel(QStringLiteral("LABEL2"), QStringLiteral("Вы затратили на тест:"));
    auto *grade = addLabel(QStringLiteral("Label4"), QString());
    QFont big = grade->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    grade->setFont(big);
    auto *percent = addLabel(QStringLiteral("pecent_LAB"), QStringLiteral("(100%)"));
    auto *time = addLabel(QStringLiteral("LABEL5"), QStringLiteral("100 минут"));
    auto *verdict = addLabel(QStringLiteral("LABEL3"), QString());
    verdict->setMinimumSize(380, 90);
    verdict->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_notice = addLabel(QStringLiteral("labNotStored"), QString());
    m_notice->setAccessibleName(QStringLiteral("Запись оценки"));
    m_notice->setStyleSheet(QStringLiteral("color: #ffc860;"));
    gradeCaption->setBuddy(grade);
    timeCaption->setBuddy(time);
    for (QLabel *label : {gradeCaption, timeCaption, grade, percent, time, verdict})
        dragger()->addHandle(label);
    m_wrong = addSkinButton(QStringLiteral("wrong"), QStringLiteral("testend/error"),
                            QStringLiteral("Ошибки"), QStringLiteral("Посмотреть свои ошибки"));
    SkinButton *exit = addSkinButton(QStringLiteral("cmdEXIT"), QStringLiteral("testend/return"),
                                     QStringLiteral("Закрыть"), QStringLiteral("Вернуться"));
    setEscapeButton(exit);
    auto *grid = new QGridLayout(this);
    grid->addWidget(gradeCaption, 0, 0);
    grid->addWidget(grade, 0, 1);
    grid->addWidget(percent, 0, 2);
    grid->addWidget(timeCaption, 1, 0);
    grid->addWidget(time, 1, 1, 1, 2);
    grid->addWidget(verdict, 2, 0, 1, 3);
    grid->addWidget(m_notice, 3, 0, 1, 3);
    grid->addWidget(m_wrong, 4, 0);
    grid->addWidget(exit, 4, 2);
    connect(m_wrong, &SkinButton::clicked, this, [this] {
        m_context.windows.open<ErrorReviewWindow>();
        hide();
    });
    connect(exit, &SkinButton::clicked, this, [this] {
        m_context.cues.play(Cue::Close);
        close();
    });
    load(grade, verdict, time, percent);
}

void ResultWindow::load(QLabel *grade, QLabel *verdict, QLabel *time, QLabel *percent)
{
    SessionState &s = m_context.session;
    m_wrong->hide();
    setWindowTitle(QStringLiteral("Тест: ") + s.CurrentTestName);
    setAccessibleName(windowTitle());
    percent->setText(percentText(s.CorrectCount, s.AskedCount));
    const GradeLook look =
        s.PracticeFromResults ? practiceLook(s.CorrectCount, s.AskedCount) : gradeLookFor(s.Grade);
    grade->setText(look.word);
    textcolours::setTextColour(grade, look.colour < 0
                                          ? palette().color(QPalette::ButtonText)
                                          : QColor(look.colour & 0xff, (look.colour >> 8) & 0xff,
                                                   (look.colour >> 16) & 0xff));
    verdict->setText(look.verdict);
    if (look.cue == QLatin1String("smeh.wav"))
        m_context.cues.play(Cue::Smeh);
    else if (look.cue == QLatin1String("applaud.wav"))
        m_context.cues.play(Cue::Applaud);
    time->setText(s.ElapsedText);
    m_notice->setText(s.ResultNotice);
    m_notice->setVisible(!s.ResultNotice.isEmpty());

    // Read now, so a setting the teacher pushed during the lesson applies to this result.
    loadTestSettings(s);
    const bool course = s.TestBankName.compare(datafiles::CourseBankFile, Qt::CaseInsensitive) == 0;
    // The practice of missed questions is there to see the right answers.
    const int setting = s.PracticeFromResults ? int(TestSettings::ShowAlways) : s.ShowErrorsSetting;
    m_wrong->setVisible(
        showErrorsAllowed(s.AskedCount, answeredRecords(m_context), setting, course));
    adjustSize();
}

void ResultWindow::closeEvent(QCloseEvent *event)
{
    // The grade was stored when the test ended.
    showTestReturnTarget(m_context);
    closeTestWindows(m_context);
    event->accept();
}
