#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

class QLabel;
class QWidget;
class SkinButton;

// The hover convention of a skinned window: the control under the mouse puts its hint into the
// status line, the skinned button under the mouse lights up and every other one goes dark;
// the background and large pictures restore all bitmaps and the default text.
// Hints also become the controls' accessible descriptions.
class HoverGroup : public QObject
{
    Q_OBJECT
public:
    explicit HoverGroup(QObject *parent = nullptr);

    // The status line (may be null) and its default text over the background.
    void setStatusLine(QLabel *statusLine, const QString &defaultText);
    void addButton(SkinButton *button, const QString &hint);
    // A control without skin: only its hint is shown.
    void addHint(QWidget *control, const QString &hint);
    // Moving over it restores every bitmap and the default text.
    void addBackground(QWidget *area);

    void showHover(SkinButton *button);
    void clearHover();
    void showHint(const QString &hint);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool overControl(QObject *background, QEvent *event) const;

    QPointer<QLabel> m_statusLine;
    QString m_defaultText;
    QList<QPointer<SkinButton>> m_buttons;
    QHash<QObject *, QString> m_hints;
    QList<QObject *> m_backgrounds;
};

// Dragging the watched widgets with the left button lets the window system move their window.
// The move starts once the mouse has travelled the drag distance, so a click or a double-click
// still reaches the window.
class WindowDragger : public QObject
{
    Q_OBJECT
public:
    explicit WindowDragger(QObject *parent = nullptr);
    void addHandle(QWidget *handle);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPoint m_pressedAt;
    bool m_pressed = false;
};
