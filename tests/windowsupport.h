#pragma once

#include <QApplication>
#include <QWidget>

// The loaded window carrying this object name, as the window hub keeps it: a closed window waits
// for deletion without its delete-on-close flag and no longer counts.
inline QWidget *loadedWindow(const QString &name)
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name && w->testAttribute(Qt::WA_DeleteOnClose))
            return w;
    }
    return nullptr;
}
