#include "core/windowhub.h"

WindowHub::WindowHub(QObject *parent)
    : QObject(parent), endAction([] { QCoreApplication::exit(0); })
{
}

void WindowHub::endProgram()
{
    endAction();
}

QWidget *WindowHub::window(const QMetaObject *type) const
{
    // A closed window drops its delete-on-close flag and waits for deletion: it is gone.
    for (const Loaded &loaded : m_loaded) {
        if (loaded.type == type && loaded.widget &&
            loaded.widget->testAttribute(Qt::WA_DeleteOnClose))
            return loaded.widget;
    }
    return nullptr;
}

QWidget *WindowHub::load(const QMetaObject *type)
{
    if (QWidget *existing = window(type))
        return existing;
    const auto factory = m_factories.constFind(type);
    if (factory == m_factories.constEnd())
        return nullptr;
    QWidget *widget = (*factory)();
    widget->setAttribute(Qt::WA_DeleteOnClose);
    m_loaded.removeIf([](const Loaded &loaded) { return loaded.widget.isNull(); });
    m_loaded.append({type, widget});
    return widget;
}

QWidget *WindowHub::open(const QMetaObject *type)
{
    QWidget *widget = load(type);
    if (widget)
        present(widget);
    return widget;
}

void WindowHub::present(QWidget *widget)
{
    if (widget->isMinimized())
        widget->showNormal();
    widget->show();
    widget->raise();
    widget->activateWindow();
}

void WindowHub::hide(const QMetaObject *type)
{
    if (QWidget *widget = window(type))
        widget->hide();
}

void WindowHub::close(const QMetaObject *type)
{
    if (QWidget *widget = window(type))
        widget->close();
}

void WindowHub::closeAllExcept(QWidget *keep)
{
    const QList<Loaded> loaded = m_loaded;
    for (auto it = loaded.crbegin(); it != loaded.crend(); ++it) {
        QWidget *widget = it->widget;
        if (widget && widget != keep && widget->testAttribute(Qt::WA_DeleteOnClose))
            widget->close();
    }
}
