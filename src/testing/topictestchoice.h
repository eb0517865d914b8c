#pragma once

#include "ui/skinnedwindow.h"

class QComboBox;
class SkinButton;

// The choice of a topic test from the catalogue, with its description.
class TopicTestChoiceWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    explicit TopicTestChoiceWindow(AppContext &context);

    void showTestDescription();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void startTest();
    void leave();

    QComboBox *m_list = nullptr;
    QLabel *m_description = nullptr;
    SkinButton *m_ok = nullptr;
};
