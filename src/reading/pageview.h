#pragma once

#include <QWidget>

// Shows the program's local pages. Windows use only this interface, so the engine behind it
// can be replaced.
class PageView : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    // An HTML page by its full path: pictures and links inside it work, a missing file shows
    // our own page-not-found view.
    virtual void showFile(const QString &path) = 0;
    // A Windows-1251 text file shown as plain text.
    virtual void showTextFile(const QString &path) = 0;
    // The file last asked for (links followed inside the page included).
    virtual QString shownFile() const = 0;
    // The text the user sees.
    virtual QString visibleText() const = 0;
    // Scrolls one screen down (forward) or up; false when the page already shows its end
    // (or its start) and nothing moved.
    virtual bool scrollScreen(bool forward) = 0;

    // Pages, and everything they name, are shown only from inside `dataFolder`.
    static PageView *create(const QString &objectName, const QString &accessibleName,
                            const QString &dataFolder, QWidget *parent);
};
