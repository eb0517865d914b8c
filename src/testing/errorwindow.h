#pragma once

#include "core/sessionfiles.h"
#include "ui/skinnedwindow.h"

#include <array>

class QGroupBox;
class QRadioButton;

// The review of the wrongly answered questions of the finished test, read from temp1.ini.
class ErrorReviewWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    explicit ErrorReviewWindow(AppContext &context);

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
    QGroupBox *m_answerFrame = nullptr;
    std::array<QRadioButton *, 5> m_answers{};
    QPushButton *m_previous = nullptr;
    QPushButton *m_next = nullptr;
    QPushButton *m_picture = nullptr;
    QString m_section; // the paragraph "Повторить раздел" opens; empty when there is none
    bool m_leaving = false;
};
