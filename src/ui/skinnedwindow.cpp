#include "ui/skinnedwindow.h"

#include "core/sessionstate.h"
#include "ui/hovergroup.h"
#include "ui/modalscope.h"
#include "ui/skinbutton.h"
#include "ui/wrappedtext.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>

namespace {
const char *const FixedNameProperty = "tarvelFixedAccessibleName";

// A label's accessible name is its text, so a screen reader reads what the label shows; a
// name that says what the label is becomes its description. Picture labels and those whose
// text changes by itself keep their names.
void exposeLabelTexts(QWidget *window)
{
    const QList<QLabel *> labels = window->findChildren<QLabel *>();
    for (QLabel *label : labels) {
        if (label->accessibleName().isEmpty() || !label->pixmap().isNull() ||
            label->property(FixedNameProperty).toBool())
            continue;
        if (label->accessibleDescription().isEmpty())
            label->setAccessibleDescription(label->accessibleName());
        label->setAccessibleName(QString());
    }
}

// Qt exposes a plain widget as a filler, which screen readers do not announce when it appears.
// A modal window, or one kept above another, is a dialog; any other is a window.
class SkinnedWindowAccessible : public QAccessibleWidget
{
public:
    explicit SkinnedWindowAccessible(QWidget *window) : QAccessibleWidget(window) {}
    QAccessible::Role role() const override
    {
        const QWidget *window = widget();
        return window->isModal() || window->windowType() == Qt::Dialog ? QAccessible::Dialog
                                                                       : QAccessible::Window;
    }
};

QAccessibleInterface *skinnedWindowAccessible(const QString &, QObject *object)
{
    auto *window = qobject_cast<SkinnedWindow *>(object);
    return window ? new SkinnedWindowAccessible(window) : nullptr;
}

QRect availableArea(const QWidget *window)
{
    const QScreen *screen = window->screen();
    return screen ? screen->availableGeometry() : QRect();
}
} // namespace

SkinnedWindow::SkinnedWindow(AppContext &context, const QString &objectName, const QString &caption,
                             QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_context(context),
      m_hover(new HoverGroup(this)), m_dragger(new WindowDragger(this))
{
    static const bool exposedAsWindows = [] {
        QAccessible::installFactory(skinnedWindowAccessible);
        return true;
    }();
    Q_UNUSED(exposedAsWindows);
    setObjectName(objectName);
    setWindowTitle(caption);
    setAccessibleName(caption);
    useSkinColours(this);
    m_hover->addBackground(this);
    m_dragger->addHandle(this);
}

void SkinnedWindow::setVisible(bool visible)
{
    // Qt creates the native window at its default size and only then fits it to its contents;
    // a window manager may already have placed that 640x480 window in a corner by then.
    if (visible && !isVisible()) {
        if (!testAttribute(Qt::WA_Resized))
            adjustSize();
        if (!testAttribute(Qt::WA_Moved))
            centreOnScreen();
    }
    QWidget::setVisible(visible);
}

void SkinnedWindow::showEvent(QShowEvent *event)
{
    exposeLabelTexts(this);
    // The button last under the mouse was pressed and the window hidden: shown again, it is
    // not lit until the mouse comes back.
    m_hover->clearHover();
    if (m_firstFocus && !event->spontaneous())
        m_firstFocus->setFocus(Qt::OtherFocusReason);
    QWidget::showEvent(event);
}

void SkinnedWindow::resizeEvent(QResizeEvent *event)
{
    const QSize old = event->oldSize();
    const QRect area = availableArea(this);
    if (isVisible() && old.isValid() && area.isValid()) {
        const QSize growth = m_keepsCentre ? event->size() - old : QSize();
        QRect frame(pos() - QPoint(qMax(0, growth.width()) / 2, qMax(0, growth.height()) / 2),
                    event->size());
        frame.moveLeft(qMax(area.left(), qMin(frame.left(), area.right() + 1 - frame.width())));
        frame.moveTop(qMax(area.top(), qMin(frame.top(), area.bottom() + 1 - frame.height())));
        if (frame.topLeft() != pos())
            move(frame.topLeft());
    }
    QWidget::resizeEvent(event);
}

void SkinnedWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && m_escapeButton &&
        m_escapeButton->isEnabled()) {
        m_escapeButton->click();
        return;
    }
    // Buttons leave Enter to their window; a key held down presses once.
    auto *focused = qobject_cast<QAbstractButton *>(focusWidget());
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && focused &&
        focused->isEnabled()) {
        if (!event->isAutoRepeat())
            focused->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SkinnedWindow::fitContents()
{
    const QSize fitted = fittedSize(this, availableArea(this));
    if (fitted.isValid() && fitted != size())
        resize(fitted);
}

void SkinnedWindow::hideEvent(QHideEvent *event)
{
    if (m_modalLoop)
        m_modalLoop->quit();
    QWidget::hideEvent(event);
}

void SkinnedWindow::execModal()
{
    setWindowModality(Qt::ApplicationModal);
    const ModalScope others(this);
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    m_modalLoop = &loop;
    loop.exec();
    m_modalLoop = nullptr;
}

void SkinnedWindow::centreOnScreen()
{
    const QScreen *screen = this->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = this->size().expandedTo(minimumSizeHint());
    move(area.left() + qMax(0, (area.width() - size.width()) / 2),
         area.top() + qMax(0, (area.height() - size.height()) / 2));
}

SkinButton *SkinnedWindow::addSkinButton(const QString &objectName, const QString &skin,
                                         const QString &caption, const QString &hint)
{
    auto *button = new SkinButton(objectName, caption, this);
    button->setSkin(m_context.session.skinPath(skin + QStringLiteral(".bmp")),
                    m_context.session.skinPath(skin + QStringLiteral("_move.bmp")));
    m_hover->addButton(button, hint);
    return button;
}

QPushButton *SkinnedWindow::addTitleButton(const QString &objectName, const QString &text,
                                           const QString &accessibleName)
{
    QPushButton *button = titleButton(text, accessibleName, this);
    button->setObjectName(objectName);
    return button;
}

QLabel *SkinnedWindow::addLabel(const QString &objectName, const QString &text)
{
    QLabel *label = plainLabel(text, this);
    label->setObjectName(objectName);
    return label;
}

QLabel *SkinnedWindow::addTickingLabel(const QString &objectName, const QString &accessibleName)
{
    QLabel *label = tickingLabel(accessibleName, this);
    label->setObjectName(objectName);
    return label;
}

QLabel *plainLabel(const QString &text, QWidget *parent)
{
    auto *label = new WrappedLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setText(text);
    return label;
}

QPushButton *titleButton(const QString &text, const QString &accessibleName, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setAccessibleName(accessibleName);
    button->setAccessibleDescription(accessibleName);
    button->setToolTip(accessibleName);
    button->setFixedSize(26, 22);
    return button;
}

QSize fittedSize(QWidget *window, const QRect &area)
{
    QLayout *layout = window->layout();
    if (!layout || !area.isValid())
        return QSize();
    layout->activate();
    const int width = qMin(qMax(window->width(), window->minimumSizeHint().width()), area.width());
    const int needed = layout->hasHeightForWidth() ? layout->totalHeightForWidth(width)
                                                   : layout->totalSizeHint().height();
    return QSize(width, qMin(qMax(window->height(), needed), area.height()));
}

void useSkinColours(QWidget *window)
{
    window->setAutoFillBackground(true);
    QPalette colours = window->palette();
    colours.setColor(QPalette::Window, QColor(58, 74, 96));
    colours.setColor(QPalette::WindowText, QColor(240, 240, 232));
    window->setPalette(colours);
}

QLabel *tickingLabel(const QString &accessibleName, QWidget *parent)
{
    QLabel *label = plainLabel(QString(), parent);
    label->setAccessibleName(accessibleName);
    label->setProperty(FixedNameProperty, true);
    return label;
}

void warnPlainly(QWidget *parent, const QString &title, const QString &message)
{
    QMessageBox box(QMessageBox::Warning, title, message, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

int twipsToPixels(int twips, const QWidget *widget)
{
    return qRound(twips * widget->logicalDpiX() / 1440.0);
}

int pixelsToTwips(int pixels, const QWidget *widget)
{
    return qRound(pixels * 1440.0 / widget->logicalDpiX());
}
