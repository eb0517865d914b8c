#include "core/windowhub.h"

WindowHub::WindowHub(QObject *parent)
    : QObject(parent), endAction([] { QCoreApplication::exit(0); })
{
}

void WindowHub::endProgram()
{
    endAction();
}

void WindowHub::registerWindow(const QString &name, Factory factory)
{
    m_factories.insert(name, std::move(factory));
}

QWidget *WindowHub::window(const QString &name) const
{
    // A closed window drops its delete-on-close flag and waits for deletion: it is gone.
    for (const QPointer<QWidget> &widget : m_loaded) {
        if (widget && widget->objectName() == name && widget->testAttribute(Qt::WA_DeleteOnClose))
            return widget;
    }
    return nullptr;
}

QWidget *WindowHub::load(const QString &name)
{
    if (QWidget *existing = window(name))
        return existing;
    const auto factory = m_factories.constFind(name);
    if (factory == m_factories.constEnd())
        return nullptr;
    QWidget *widget = (*factory)();
    widget->setObjectName(name);
    widget->setAttribute(Qt::WA_DeleteOnClose);
    m_loaded.removeIf([](const QPointer<QWidget> &w) { return w.isNull(); });
    m_loaded.append(widget);
    return widget;
}

QWidget *WindowHub::open(const QString &name)
{
    QWidget *widget = load(name);
    if (!widget)
        return nullptr;
    if (widget->isMinimized())
        widget->showNormal();
    widget->show();
    widget->raise();
    widget->activateWindow();
    return widget;
}

void WindowHub::hide(const QString &name)
{
    if (QWidget *widget = window(name))
        widget->hide();
}

void WindowHub::close(const QString &name)
{
    if (QWidget *widget = window(name))
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
