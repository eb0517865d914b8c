#pragma once

#include "ui/skinnedwindow.h"

class QListWidget;

// The user's stored test results as grade words beside the topics.
class frmDOSTIG : public SkinnedWindow
{
    Q_OBJECT
public:
    explicit frmDOSTIG(AppContext &context);

    void FillAchievements();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void leave();

    QListWidget *m_topics = nullptr;
    QListWidget *m_grades = nullptr;
    bool m_closeCue = false;
};
