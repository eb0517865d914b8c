#pragma once

#include <QWidget>

#include <array>

class AnswerGroup;
class HoverGroup;
class QGroupBox;
class QLabel;
class QPushButton;

// What the pupil's test window shows of a question: the instructions with the clock, the topic
// and progress line, the question in its frame, the five answers and the two buttons. The test
// window drives it from the running test; the bank editor's preview shows a question in it.
class TestFace : public QWidget
{
    Q_OBJECT
public:
    // closeButton, if given, ends the progress line; hints go to the window's hover group.
    TestFace(HoverGroup *hints, QWidget *closeButton, QWidget *parent);

    void showQuestion(const QString &topic, const QString &question,
                      const std::array<QString, 5> &answers, const QString &frameCaption);
    void showProgress(int asked, int count, int pausesLeft);
    void showClock(bool visible, const QString &text);
    // Lines saying what of the test could not be written; none hides them.
    void showWriteProblems(const QStringList &problems);
    void focusQuestion();
    // Ticks answer k (0 for none) in the colour of the pupil's choice.
    void markChosen(int k);

    AnswerGroup *answers() const { return m_answers; }
    QPushButton *submitButton() const { return m_submit; }
    QPushButton *pauseButton() const { return m_pause; }
    // The question and its frame: the picture viewer keeps them in sight.
    QGroupBox *questionFrame() const { return m_questionFrame; }
    QList<QWidget *> dragHandles() const;
    // The question: a screen reader reads it before the answers.
    QWidget *firstFocus() const;

private:
    QLabel *label(const QString &objectName, const QString &text);
    void buildInstructions();

    QLabel *m_question = nullptr;
    QLabel *m_topic = nullptr;
    QLabel *m_time = nullptr;
    QLabel *m_timeNote = nullptr;
    QLabel *m_number = nullptr;
    QLabel *m_pausesLeft = nullptr;
    QLabel *m_writeProblems = nullptr;
    QGroupBox *m_instructions = nullptr;
    QGroupBox *m_questionFrame = nullptr;
    AnswerGroup *m_answers = nullptr;
    QPushButton *m_submit = nullptr;
    QPushButton *m_pause = nullptr;
};
