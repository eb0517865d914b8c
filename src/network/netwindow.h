#pragma once

#include "ui/skinnedwindow.h"

class QAbstractItemModel;
class QLabel;
class QPushButton;
class QTableView;

// A window of the classroom network version: plain captioned buttons whose hints go to the
// status bar, and the way back to the monitor.
class NetWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    NetWindow(AppContext &context, const QString &objectName, const QString &caption);

    // Shows the window modally and returns when it is hidden or closed.
    void exec();

protected:
    QPushButton *addButton(const QString &objectName, const QString &caption, const QString &hint);
    // A table of the model that is read, not edited: whole rows are chosen, long texts elided.
    QTableView *addTable(const QString &objectName, QAbstractItemModel *model,
                         const QString &accessibleName, const QString &hint);
    // The status bar sbStatusBar; the background empties it.
    QLabel *addStatusBar();
    // Shows the monitor again (it stays loaded while its helpers are open).
    void showMonitor();
};
