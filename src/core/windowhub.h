#pragma once

#include "core/testrequest.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <QCoreApplication>

#include <functional>
#include <type_traits>

// Creates windows on first use by type, brings a loaded window back instead of making a second
// one, and remembers the order in which windows were loaded. Closed windows are destroyed. Each
// window class is registered once; a loaded window is found by the class it was made for.
class WindowHub : public QObject
{
    Q_OBJECT
public:
    using Factory = std::function<QWidget *()>;
    // The two menus of the top layer; the windows below return to them without knowing them.
    enum class Menu { Main, Admin };

    explicit WindowHub(QObject *parent = nullptr);

    template <class T, class Make> void add(Make make)
    {
        static_assert(std::is_base_of_v<QWidget, T>);
        m_factories.insert(&T::staticMetaObject, [make]() -> QWidget * { return make(); });
    }
    template <class T, class Make> void addMenu(Menu menu, Make make)
    {
        add<T>(make);
        m_menus.insert(menu, &T::staticMetaObject);
    }

    // The loaded window of that class, or null.
    template <class T> T *find() const { return qobject_cast<T *>(window(&T::staticMetaObject)); }
    // Loads the window without showing it; null when the class is not registered.
    template <class T> T *load() { return qobject_cast<T *>(load(&T::staticMetaObject)); }
    // Loads, shows and raises the window.
    template <class T> T *open() { return qobject_cast<T *>(open(&T::staticMetaObject)); }
    template <class T> void hide() { hide(&T::staticMetaObject); }
    template <class T> void close() { close(&T::staticMetaObject); }

    QWidget *menu(Menu menu) const { return window(m_menus.value(menu)); }
    QWidget *openMenu(Menu menu) { return open(m_menus.value(menu)); }
    void hideMenu(Menu menu) { hide(m_menus.value(menu)); }

    // Shows, raises and activates a window, restoring it when minimised.
    static void present(QWidget *widget);

    // Closes every loaded window but `keep`, the one loaded last first.
    void closeAllExcept(QWidget *keep);

    // Ends the program at once; tests put their own action here.
    void endProgram();
    std::function<void()> endAction;

    // Set by the test windows: opens the introduction of the test chosen in the reader.
    std::function<void(const TestRequest &)> openTestIntro;
    // Set by the test windows: opens the item analysis of the class's journals of answers.
    std::function<void()> openItemAnalysis;

private:
    struct Loaded
    {
        const QMetaObject *type;
        QPointer<QWidget> widget;
    };

    QWidget *window(const QMetaObject *type) const;
    QWidget *load(const QMetaObject *type);
    QWidget *open(const QMetaObject *type);
    void hide(const QMetaObject *type);
    void close(const QMetaObject *type);

    QHash<const QMetaObject *, Factory> m_factories;
    QHash<Menu, const QMetaObject *> m_menus;
    QList<Loaded> m_loaded;
};
