#include "ui/hovergroup.h"

#include "ui/skinbutton.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

HoverGroup::HoverGroup(QObject *parent) : QObject(parent) {}

void HoverGroup::setStatusLine(QLabel *statusLine, const QString &defaultText)
{
    m_statusLine = statusLine;
    m_defaultText = defaultText;
    if (m_statusLine)
        m_statusLine->setText(defaultText);
}

void HoverGroup::addButton(SkinButton *button, const QString &hint)
{
    m_buttons.append(button);
    addHint(button, hint);
}

void HoverGroup::addHint(QWidget *control, const QString &hint)
{
    m_hints.insert(control, hint);
    control->setAccessibleDescription(hint);
    control->setMouseTracking(true);
    control->installEventFilter(this);
}

void HoverGroup::addBackground(QWidget *area)
{
    m_backgrounds.append(area);
    area->setMouseTracking(true);
    area->installEventFilter(this);
}

void HoverGroup::showHover(SkinButton *button)
{
    for (const QPointer<SkinButton> &other : std::as_const(m_buttons)) {
        if (other)
            other->setLit(other == button);
    }
    showHint(m_hints.value(button));
}

void HoverGroup::clearHover()
{
    for (const QPointer<SkinButton> &button : std::as_const(m_buttons)) {
        if (button)
            button->setLit(false);
    }
    showHint(m_defaultText);
}

void HoverGroup::showHint(const QString &hint)
{
    if (m_statusLine)
        m_statusLine->setText(hint);
}

// A move over a control that the control ignored reaches its parent as well.
bool HoverGroup::overControl(QObject *background, QEvent *event) const
{
    auto *area = static_cast<QWidget *>(background);
    const QPoint position = static_cast<QMouseEvent *>(event)->position().toPoint();
    for (QWidget *child = area->childAt(position); child && child != area;
         child = child->parentWidget()) {
        if (m_hints.contains(child))
            return true;
    }
    return false;
}

// Only a move of the focus by the keyboard shows a hint, not the focus a window starts with.
static bool focusedByKeyboard(QEvent *event)
{
    if (event->type() != QEvent::FocusIn)
        return false;
    const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason;
}

bool HoverGroup::eventFilter(QObject *watched, QEvent *event)
{
    const bool moved = event->type() == QEvent::MouseMove || event->type() == QEvent::Enter ||
                       focusedByKeyboard(event);
    if (!moved)
        return false;
    if (m_backgrounds.contains(watched)) {
        if (event->type() == QEvent::MouseMove && !overControl(watched, event))
            clearHover();
        return false;
    }
    auto *button = qobject_cast<SkinButton *>(watched);
    if (button && m_buttons.contains(button))
        showHover(button);
    else if (m_hints.contains(watched))
        showHint(m_hints.value(watched));
    return false;
}

WindowDragger::WindowDragger(QObject *parent) : QObject(parent) {}

void WindowDragger::addHandle(QWidget *handle)
{
    handle->installEventFilter(this);
}

bool WindowDragger::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    const QEvent::Type type = event->type();
    if (!widget || (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
                    type != QEvent::MouseButtonRelease))
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    const QPoint at = mouse->globalPosition().toPoint();
    if (type == QEvent::MouseButtonPress) {
        m_pressed = mouse->button() == Qt::LeftButton;
        m_pressedAt = at;
    } else if (type == QEvent::MouseButtonRelease || !(mouse->buttons() & Qt::LeftButton)) {
        m_pressed = false;
    } else if (m_pressed &&
               (at - m_pressedAt).manhattanLength() >= QApplication::startDragDistance()) {
        m_pressed = false;
        if (QWindow *window = widget->window()->windowHandle())
            window->startSystemMove();
    }
    return false;
}
