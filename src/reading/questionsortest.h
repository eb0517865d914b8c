#pragma once

#include "ui/skinnedwindow.h"

class SkinButton;

// The choice after a paragraph's questions: stay with the questions or take the test.
// The answer goes to TestChoice (0 nothing, 1 questions, 2 test).
class QuestionsOrTestWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    static const QString Caption;

    explicit QuestionsOrTestWindow(AppContext &context, QWidget *parent = nullptr);

    // Shows the window modally until it closes.
    void exec();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void choose(int choice);
    void loadSkins();

    SkinButton *m_questions = nullptr;
    SkinButton *m_test = nullptr;
};
