#pragma once

#include "ui/skinnedwindow.h"

// The pause between two questions; the test goes on when it closes.
class PauseWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    PauseWindow(AppContext &context, int pausesUsed);

Q_SIGNALS:
    void finished();

protected:
    void closeEvent(QCloseEvent *event) override;
};
