#pragma once

#include <QGroupBox>

#include <array>

class AnswerButton;

// The five answers of a question in their frame "Варианты ответов" (Frame3), buttons OTVET1 to
// OTVET5, as the test, the error review and the watch window show them.
class AnswerGroup : public QGroupBox
{
    Q_OBJECT
public:
    enum class Use {
        Choosing, // the user ticks an answer with the mouse, the keyboard or a screen reader
        Showing   // a recorded answer: no focus, no clicks, ticked only as set
    };

    AnswerGroup(Use use, QWidget *parent);

    // Answer k, 1 to 5.
    AnswerButton *button(int k) const { return m_buttons.at(k - 1); }
    // Captions, also the accessible names.
    void setAnswers(const std::array<QString, 5> &answers);
    // Ticks answer k (0 for none) and gives it the colour; the others take the frame's.
    void mark(int k, const QColor &colour);

Q_SIGNALS:
    // Answer k was ticked (Choosing only).
    void chosen(int k);
    void doubleClicked(int k);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::array<AnswerButton *, 5> m_buttons{};
};
