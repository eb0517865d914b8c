#include "testing/testface.h"

#include "ui/answerbutton.h"
#include "ui/answergroup.h"
#include "ui/hovergroup.h"
#include "ui/skinnedwindow.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TestFace::TestFace(HoverGroup *hints, QWidget *closeButton, QWidget *parent) : QWidget(parent)
{
    buildInstructions();
    m_topic = label(QStringLiteral("lblTitle1"), QString());
    m_number = label(QStringLiteral("lblNumber"), QString());
    m_number->setWordWrap(false);
    m_pausesLeft = label(QStringLiteral("lblPausesLeft"), QString());
    m_pausesLeft->setWordWrap(false);
    m_writeProblems = label(QStringLiteral("labWriteProblem"), QString());
    m_writeProblems->setAccessibleName(QStringLiteral("Запись файлов теста"));
    m_writeProblems->setStyleSheet(QStringLiteral("color: #ffc860;"));
    m_writeProblems->hide();
    m_questionFrame = new QGroupBox(this);
    m_questionFrame->setObjectName(QStringLiteral("Frame2"));
    m_question = label(QStringLiteral("QESTION"), QString());
    m_question->setAccessibleName(QStringLiteral("Вопрос"));
    // A new question takes the focus, so that a screen reader reads it before the answers.
    m_question->setFocusPolicy(Qt::StrongFocus);
    auto *questionLayout = new QVBoxLayout(m_questionFrame);
    questionLayout->addWidget(m_question);

    m_answers = new AnswerGroup(AnswerGroup::Use::Choosing, this);
    for (int k = 1; k <= 5; ++k)
        hints->addHint(m_answers->button(k),
                       QStringLiteral("Двойной щелчок отвечает этим ответом"));
    m_submit = new QPushButton(QStringLiteral("Ответить"), this);
    m_submit->setObjectName(QStringLiteral("OKKEY"));
    m_submit->setAccessibleName(m_submit->text());
    hints->addHint(m_submit, QStringLiteral("Ответить выбранным ответом"));
    m_pause = new QPushButton(QStringLiteral("Пауза"), this);
    m_pause->setObjectName(QStringLiteral("btnPAUSE"));
    m_pause->setAccessibleName(m_pause->text());
    hints->addHint(m_pause, QStringLiteral("Пауза начнётся после ответа на вопрос"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_submit);
    buttons->addStretch();
    buttons->addWidget(m_pause);
    auto *progress = new QHBoxLayout;
    progress->addWidget(m_topic, 1);
    progress->addWidget(m_number);
    progress->addSpacing(16);
    progress->addWidget(m_pausesLeft);
    if (closeButton) {
        progress->addSpacing(16);
        progress->addWidget(closeButton);
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(QMargins());
    layout->addWidget(m_instructions);
    layout->addLayout(progress);
    layout->addWidget(m_writeProblems);
    layout->addWidget(m_questionFrame);
    layout->addWidget(m_answers, 1);
    layout->addLayout(buttons);
}

void TestFace::buildInstructions()
{
    m_instructions = new QGroupBox(QStringLiteral("Выберите ответ"), this);
    m_instructions->setObjectName(QStringLiteral("Frame1"));
    QLabel *instructionText = label(
        QStringLiteral("lblInstruction"),
        QStringLiteral("Выберите ответ и нажмите кнопку 'Ответить' (или дважды щёлкните ответ),"));
    m_timeNote = label(QStringLiteral("Метка1"),
                       QStringLiteral("или у Вас просто кончится время для ответа на вопрос"));
    m_time = tickingLabel(QStringLiteral("Оставшееся время"), this);
    m_time->setObjectName(QStringLiteral("lblTime"));
    QFont big = m_time->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    m_time->setFont(big);
    auto *instructionsLayout = new QGridLayout(m_instructions);
    instructionsLayout->addWidget(instructionText, 0, 0);
    instructionsLayout->addWidget(m_timeNote, 1, 0);
    instructionsLayout->addWidget(m_time, 0, 1, 2, 1);
}

QLabel *TestFace::label(const QString &objectName, const QString &text)
{
    QLabel *label = plainLabel(text, this);
    label->setObjectName(objectName);
    return label;
}

void TestFace::showQuestion(const QString &topic, const QString &question,
                            const std::array<QString, 5> &answers, const QString &frameCaption)
{
    m_question->setText(question);
    m_answers->setAnswers(answers);
    m_topic->setText(QStringLiteral(" Тема: ") + topic);
    m_questionFrame->setTitle(frameCaption);
}

void TestFace::showProgress(int asked, int count, int pausesLeft)
{
    m_number->setText(QStringLiteral("Вопрос %1 из %2").arg(asked).arg(count));
    m_pausesLeft->setText(QStringLiteral("Осталось пауз: %1").arg(qMax(0, pausesLeft)));
}

void TestFace::showClock(bool visible, const QString &text)
{
    m_time->setVisible(visible);
    m_timeNote->setVisible(visible);
    if (!text.isNull())
        m_time->setText(text);
    m_time->setAccessibleDescription(m_time->text());
}

void TestFace::showWriteProblems(const QStringList &problems)
{
    m_writeProblems->setText(problems.join(u'\n'));
    m_writeProblems->setVisible(!problems.isEmpty());
}

void TestFace::markChosen(int k)
{
    m_answers->mark(k, QColor(128, 0, 0));
}

void TestFace::focusQuestion()
{
    m_question->setFocus(Qt::OtherFocusReason);
}

QList<QWidget *> TestFace::dragHandles() const
{
    return {m_topic, m_question};
}

QWidget *TestFace::firstFocus() const
{
    return m_question;
}
