#pragma once

#include "ui/skinnedwindow.h"

#include <memory>

class SkinButton;
class TestRun;

// The result of a finished test: grade, share of right answers, time, verdict; the way to the
// error review; says so when the grade could not be stored.
class ResultWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    explicit ResultWindow(AppContext &context);

    void showResult(std::shared_ptr<const TestRun> run);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    std::shared_ptr<const TestRun> m_run;
    QLabel *m_gradeCaption = nullptr;
    QLabel *m_grade = nullptr;
    QLabel *m_percent = nullptr;
    QLabel *m_time = nullptr;
    QLabel *m_verdict = nullptr;
    SkinButton *m_wrong = nullptr;
    QLabel *m_notice = nullptr;
};
