#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <QCoreApplication>

#include <functional>

// Creates windows on first use by name, brings a loaded window back instead of making a second
// one, and remembers the order in which windows were loaded. Closed windows are destroyed.
class WindowHub : public QObject
{
    Q_OBJECT
public:
    using Factory = std::function<QWidget *()>;

    explicit WindowHub(QObject *parent = nullptr);

    void registerWindow(const QString &name, Factory factory);
    bool isRegistered(const QString &name) const { return m_factories.contains(name); }

    // The loaded window of that name, or null.
    QWidget *window(const QString &name) const;
    template <class T> T *find(const QString &name) const
    {
        return qobject_cast<T *>(window(name));
    }
    // Loads the window without showing it; null when no window of that name is registered.
    QWidget *load(const QString &name);
    // Loads, shows and raises the window.
    QWidget *open(const QString &name);
    void hide(const QString &name);
    void close(const QString &name);

    // Closes every loaded window but `keep`, the one loaded last first.
    void closeAllExcept(QWidget *keep);

    // Ends the program at once; tests put their own action here.
    void endProgram();
    std::function<void()> endAction;

private:
    QHash<QString, Factory> m_factories;
    QList<QPointer<QWidget>> m_loaded;
};
