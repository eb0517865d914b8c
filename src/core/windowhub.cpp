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
    const auto entry = m_entries.constFind(type);
    if (entry == m_entries.constEnd())
        return nullptr;
    // A closed window drops its delete-on-close flag and waits for deletion: it is gone.
    for (const QPointer<QWidget> &widget : m_loaded) {
        if (widget && widget->objectName() == entry->name &&
            widget->testAttribute(Qt::WA_DeleteOnClose))
            return widget;
    }
    return nullptr;
}

QWidget *WindowHub::load(const QMetaObject *type)
{
    if (QWidget *existing = window(type))
        return existing;
    const auto entry = m_entries.constFind(type);
    if (entry == m_entries.constEnd())
        return nullptr;
    QWidget *widget = entry->factory();
    widget->setObjectName(entry->name);
    widget->setAttribute(Qt::WA_DeleteOnClose);
    m_loaded.removeIf([](const QPointer<QWidget> &w) { return w.isNull(); });
    m_loaded.append(widget);
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
    const QList<QPointer<QWidget>> loaded = m_loaded;
    for (auto it = loaded.crbegin(); it != loaded.crend(); ++it) {
        if (*it && *it != keep && (*it)->testAttribute(Qt::WA_DeleteOnClose))
            (*it)->close();
    }
}
