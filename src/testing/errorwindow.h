#pragma once

#include "core/sessionfiles.h"
#include "ui/skinnedwindow.h"

class AnswerGroup;
class QGroupBox;
class TestRun;

// The review of the wrongly answered questions of the finished test, read from temp1.ini.
class ErrorReviewWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    explicit ErrorReviewWindow(AppContext &context);

    // Shows the first wrong answer of the finished run.
    void review(const TestRun &run);
    void showWrongQuestion();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void step(int by);
    // Leaves the test for the reader at the section the test covers.
    void repeatSection();

    SessionRecords m_records;
    int m_position = 1;
    QLabel *m_question = nullptr;
    QLabel *m_topic = nullptr;
    QGroupBox *m_errorFrame = nullptr;
    AnswerGroup *m_answers = nullptr;
    QPushButton *m_previous = nullptr;
    QPushButton *m_next = nullptr;
    QPushButton *m_picture = nullptr;
    QPushButton *m_repeatSection = nullptr;
    QString m_section; // the paragraph "Повторить раздел" opens; empty when there is none
    bool m_leaving = false;
};
