#pragma once

#include "core/appcontext.h"

#include <QWidget>

class HoverGroup;
class QAbstractButton;
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
    // A window not sized or placed by its code is fitted to its contents and centred on its
    // screen before it first appears.
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    // A window that grows keeps its centre (unless told otherwise) and stays inside the
    // screen's available area.
    void resizeEvent(QResizeEvent *event) override;
    // Escape presses the escape button, Enter the focused button.
    void keyPressEvent(QKeyEvent *event) override;
    void centreOnScreen();
    // Grows the window to show its wrapped texts in full, as far as the screen allows.
    void fitContents();

    // The button Escape presses: the one that closes the window.
    void setEscapeButton(QAbstractButton *button) { m_escapeButton = button; }
    // The control that has the keyboard focus when the window opens.
    void setFirstFocus(QWidget *control) { m_firstFocus = control; }
    // A window placed beside another grows from its top left corner instead.
    void setKeepsCentre(bool keeps) { m_keepsCentre = keeps; }

    // A skinned button with the bitmaps `skin`.bmp and `skin`_move.bmp below the skin folder.
    SkinButton *addSkinButton(const QString &objectName, const QString &skin,
                              const QString &caption, const QString &hint);
    // The minimise and close buttons of the title bar.
    QPushButton *addTitleButton(const QString &objectName, const QString &text,
                                const QString &accessibleName);
    // A plain text label; the program's own fixed markup opts in with setTextFormat.
    QLabel *addLabel(const QString &objectName, const QString &text);
    // A label whose text changes by itself, such as a clock: a screen reader knows it by its
    // fixed accessible name instead of a new name every moment.
    QLabel *addTickingLabel(const QString &objectName, const QString &accessibleName);

    HoverGroup *hover() const { return m_hover; }
    WindowDragger *dragger() const { return m_dragger; }

    AppContext &m_context;

private:
    QEventLoop *m_modalLoop = nullptr;
    QAbstractButton *m_escapeButton = nullptr;
    QWidget *m_firstFocus = nullptr;
    bool m_keepsCentre = true;
    HoverGroup *m_hover;
    WindowDragger *m_dragger;
};

// A label for text that may come from a file: shown as it is, never as HTML, wrapped.
QLabel *plainLabel(const QString &text, QWidget *parent);
// A small button of the kind that stands in a skinned window's title bar.
QPushButton *titleButton(const QString &text, const QString &accessibleName, QWidget *parent);
// The size that shows a window's wrapped texts in full, as far as the area allows; it never
// shrinks the window. Invalid for a window without layout.
QSize fittedSize(QWidget *window, const QRect &area);
// The background and text colours of every skinned window.
void useSkinColours(QWidget *window);
// A plain label whose text changes by itself, such as a clock: a screen reader knows it by its
// fixed accessible name instead of a new name every moment.
QLabel *tickingLabel(const QString &accessibleName, QWidget *parent);
// A warning box whose message, which may name files or quote them, is shown as plain text.
void warnPlainly(QWidget *parent, const QString &title, const QString &message);

// Converts a length in twips (1/1440 inch) to pixels of the widget's screen.
int twipsToPixels(int twips, const QWidget *widget);
int pixelsToTwips(int pixels, const QWidget *widget);
