#pragma once

#include "reading/readerflow.h"
#include "ui/skinnedwindow.h"

class SkinButton;

// The choice after a paragraph's questions: stay with the questions or take the test.
class QuestionsOrTestWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    static const QString Caption;

    explicit QuestionsOrTestWindow(AppContext &context, QWidget *parent = nullptr);

    // Shows the window modally and returns the choice; closed without one, it is None.
    static TestChoice ask(AppContext &context);

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void choose(TestChoice choice);
    void loadSkins();

    SkinButton *m_questions = nullptr;
    SkinButton *m_test = nullptr;
    TestChoice m_choice = TestChoice::None;
};
