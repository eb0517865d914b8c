#include "ui/answergroup.h"

#include "ui/answerbutton.h"
#include "ui/textcolours.h"

#include <QEvent>
#include <QVBoxLayout>

AnswerGroup::AnswerGroup(Use use, QWidget *parent)
    : QGroupBox(QStringLiteral("Варианты ответов"), parent)
{
    setObjectName(QStringLiteral("Frame3"));
    auto *layout = new QVBoxLayout(this);
    for (int k = 1; k <= 5; ++k) {
        auto *answer = new AnswerButton(this);
        answer->setObjectName(QStringLiteral("OTVET%1").arg(k));
        layout->addWidget(answer);
        m_buttons[k - 1] = answer;
        if (use == Use::Showing) {
            // Not exclusive: a question without a recorded answer unticks the last one shown.
            answer->setAutoExclusive(false);
            answer->setFocusPolicy(Qt::NoFocus);
            answer->setAttribute(Qt::WA_TransparentForMouseEvents);
            continue;
        }
        answer->installEventFilter(this);
        // Toggled, not clicked: a screen reader ticks the answer without a click.
        connect(answer, &AnswerButton::toggled, this, [this, k](bool checked) {
            if (checked)
                Q_EMIT chosen(k);
        });
    }
}

void AnswerGroup::setAnswers(const std::array<QString, 5> &answers)
{
    for (int k = 1; k <= 5; ++k) {
        button(k)->setText(answers[k - 1]);
        button(k)->setAccessibleName(answers[k - 1]);
    }
}

void AnswerGroup::mark(int k, const QColor &colour)
{
    const QColor normal = palette().color(QPalette::WindowText);
    for (int n = 1; n <= 5; ++n) {
        textcolours::setTextColour(button(n), n == k ? colour : normal);
        button(n)->setChecked(n == k);
    }
}

bool AnswerGroup::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int k = 1; k <= 5; ++k) {
            if (watched == button(k)) {
                Q_EMIT doubleClicked(k);
                return true;
            }
        }
    }
    return QGroupBox::eventFilter(watched, event);
}
