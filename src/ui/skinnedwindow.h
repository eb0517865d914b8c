#pragma once

#include "app/appcontext.h"

#include <QWidget>

class HoverGroup;
class QEventLoop;
class QLabel;
class QPushButton;
class SkinButton;
class WindowDragger;

// A borderless window of the program: dragged by its background, with skinned buttons that
// follow the hover convention and a status line for hints.
class SkinnedWindow : public QWidget
{
    Q_OBJECT
public:
    SkinnedWindow(AppContext &context, const QString &objectName, const QString &caption,
                  QWidget *parent = nullptr);

    // Shows the window application-modal; returns once it is hidden or closed.
    void execModal();

protected:
    // A window that was not placed by its code opens in the middle of its screen.
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void centreOnScreen();

    // A skinned button with the bitmaps `skin`.bmp and `skin`_move.bmp below the skin folder.
    SkinButton *addSkinButton(const QString &objectName, const QString &skin,
                              const QString &caption, const QString &hint);
    // The minimise and close buttons of the title bar.
    QPushButton *addTitleButton(const QString &objectName, const QString &text,
                                const QString &accessibleName);
    QLabel *addLabel(const QString &objectName, const QString &text);

    HoverGroup *hover() const { return m_hover; }
    WindowDragger *dragger() const { return m_dragger; }

    AppContext &m_context;

private:
    QEventLoop *m_modalLoop = nullptr;
    HoverGroup *m_hover;
    WindowDragger *m_dragger;
};

// Converts a length in twips (1/1440 inch) to pixels of the widget's screen.
int twipsToPixels(int twips, const QWidget *widget);
int pixelsToTwips(int pixels, const QWidget *widget);
