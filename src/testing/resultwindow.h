#pragma once

#include "ui/skinnedwindow.h"

class SkinButton;

// The result of a finished test: grade, share of right answers, time, verdict; the way to the
// error review; says so when the grade could not be stored.
class ResultWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    explicit ResultWindow(AppContext &context);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void load(QLabel *grade, QLabel *verdict, QLabel *time, QLabel *percent);
    void leave();

    SkinButton *m_wrong = nullptr;
    QLabel *m_notice = nullptr;
};
