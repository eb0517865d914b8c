#pragma once

#include "ui/skinnedwindow.h"

#include <memory>

class QChartView;
class QPushButton;
struct PreparedTest;
class QTableWidget;

// The user's stored test results as grade words, each in the row of its topic, and his attempts
// from the journal as a table and a chart of the grades over time. From here he practises the
// questions he answered wrong.
class AchievementsWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    explicit AchievementsWindow(AppContext &context);

    void fillAchievements();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QTableWidget *newGradeTable();
    void practiseMistakes();
    void startPractice(const std::shared_ptr<const PreparedTest> &practice);
    void leave();

    QTableWidget *m_grades = nullptr;
    QTableWidget *m_attempts = nullptr;
    QChartView *m_chart = nullptr;
    QPushButton *m_mistakes = nullptr;
    bool m_closeCue = false;
};
