#include "screencheck.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QScreen>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace {

QString nameOf(const QWidget *w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                     : w->objectName();
}

QString text(const QRect &r)
{
    return QStringLiteral("%1x%2%3%4%5%6")
        .arg(r.width())
        .arg(r.height())
        .arg(r.x() < 0 ? QString() : QStringLiteral("+"))
        .arg(r.x())
        .arg(r.y() < 0 ? QString() : QStringLiteral("+"))
        .arg(r.y());
}

// The part of the button its ancestors up to the window leave visible, in window coordinates.
QRect visiblePart(const QAbstractButton *button, const QWidget *window)
{
    QRect visible(button->mapTo(window, QPoint(0, 0)), button->size());
    for (const QWidget *a = button->parentWidget(); a && a != window; a = a->parentWidget())
        visible &= QRect(a->mapTo(window, QPoint(0, 0)), a->size());
    return visible & window->rect();
}

// A button that scrolls into sight is reached by scrolling, not cut off.
bool scrolls(const QAbstractButton *button, const QWidget *window)
{
    for (const QWidget *a = button->parentWidget(); a && a != window; a = a->parentWidget())
        if (qobject_cast<const QAbstractScrollArea *>(a))
            return true;
    return false;
}

bool checked(const QWidget *w)
{
    return w->isWindow() && w->isVisible() && !(w->windowType() == Qt::ToolTip) &&
           !(w->windowType() == Qt::Popup) && w->screen();
}

void addFaults(const QWidget *window, QStringList &faults)
{
    const QRect area = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    if (!area.contains(frame))
        faults.append(QStringLiteral("window %1 at %2 leaves the screen's available area %3")
                          .arg(nameOf(window), text(frame), text(area)));
    const QList<QAbstractButton *> buttons = window->findChildren<QAbstractButton *>();
    for (const QAbstractButton *button : buttons) {
        if (!button->isVisibleTo(window) || scrolls(button, window))
            continue;
        const QRect visible = visiblePart(button, window);
        // From the geometry the window has after the events so far, not from a round trip to
        // the window system, which may show a move that is still under way.
        const QRect onScreen = visible.translated(window->geometry().topLeft());
        if (visible.size() != button->size() || !area.contains(onScreen))
            faults.append(QStringLiteral("button %1 of window %2 is cut off: %3 of %4 visible, "
                                         "%5 on the screen's available area %6")
                              .arg(nameOf(button), nameOf(window), text(visible),
                                   text(QRect(QPoint(0, 0), button->size())), text(onScreen),
                                   text(area)));
    }
}

// Watches the windows and checks them once the event loop settles after a change.
class Watcher : public QObject
{
public:
    explicit Watcher(QObject *parent) : QObject(parent)
    {
        m_settle.setSingleShot(true);
        m_settle.setInterval(50);
        connect(&m_settle, &QTimer::timeout, this, [this] { check(); });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!watched->isWidgetType() || !static_cast<QWidget *>(watched)->isWindow())
            return false;
        const QEvent::Type type = event->type();
        if (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize)
            m_settle.start();
        // A window about to go is checked as it was last shown: a step that opens and closes
        // it without waiting is still seen.
        if (type == QEvent::Close && static_cast<QWidget *>(watched)->isVisible()) {
            QStringList faults;
            addFaults(static_cast<QWidget *>(watched), faults);
            report(faults);
        }
        return false;
    }

private:
    void check() { report(screencheck::faults()); }

    void report(const QStringList &faults)
    {
        const char *function = QTest::currentTestFunction();
        if (!function)
            return;
        if (m_function != function) {
            m_function = function;
            m_reported.clear();
        }
        for (const QString &fault : faults) {
            if (m_reported.contains(fault))
                continue;
            m_reported.insert(fault);
            QTest::qFail(qPrintable(fault), __FILE__, __LINE__);
        }
    }

    QTimer m_settle;
    QByteArray m_function;
    QSet<QString> m_reported;
};

void watchWindows()
{
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        qApp->installEventFilter(new Watcher(qApp));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchWindows)

QStringList screencheck::faults()
{
    QStringList faults;
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (const QWidget *w : windows) {
        if (checked(w))
            addFaults(w, faults);
    }
    return faults;
}
