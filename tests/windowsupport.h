#pragma once

#include "app/application.h"
#include "testsupport.h"
#include "ui/skinbutton.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <functional>
#include <memory>

// The loaded window carrying this object name, as the window hub keeps it: a closed window waits
// for deletion without its delete-on-close flag and no longer counts.
inline QWidget *loadedWindow(const QString &name)
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name && w->testAttribute(Qt::WA_DeleteOnClose))
            return w;
    }
    return nullptr;
}

// The loaded window of that name while it is shown.
inline QWidget *shown(const QString &name)
{
    QWidget *w = loadedWindow(name);
    return w && w->isVisible() ? w : nullptr;
}

// A shown window of that name, loaded through the hub or not, such as the pause window.
inline QWidget *topLevel(const QString &name)
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name && w->isVisible())
            return w;
    }
    return nullptr;
}

// Clicks a shown button of a loaded window with the mouse.
inline void click(const QString &window, const QString &name)
{
    QWidget *w = loadedWindow(window);
    auto *button = w ? w->findChild<QAbstractButton *>(name) : nullptr;
    QVERIFY2(button && button->isVisible(), qPrintable(window + "/" + name));
    QTest::mouseClick(button, Qt::LeftButton);
}

// The program over a test's folder; its last window closing ends nothing, so a test goes on.
inline std::unique_ptr<Application> startApplication(const TestProgramFolder &folder)
{
    auto app = std::make_unique<Application>(folder.path(), false);
    app->windows.endAction = [] {};
    return app;
}

// Deletes every window as a killed program leaves them, none getting to close; a list's popup
// dies with its window and is not deleted twice.
inline void deleteAllWindows()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    qDeleteAll(QList<QPointer<QWidget>>(windows.cbegin(), windows.cend()));
}

// The mouse moves onto the widget: a skinned window shows its hint in the status line.
inline void hoverOver(QWidget *widget)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), widget->mapToGlobal(QPointF(3, 3)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Under the mouse, each shown skinned button of the window shows in the status line the
// description a screen reader reads, and none is without one.
inline void checkHoverHints(const QWidget *window, const QLabel *status)
{
    for (SkinButton *button : window->findChildren<SkinButton *>()) {
        if (!button->isVisibleTo(window))
            continue;
        hoverOver(button);
        QVERIFY2(!button->accessibleDescription().isEmpty(), qPrintable(button->objectName()));
        QCOMPARE(status->text(), button->accessibleDescription());
    }
}

// Calls `seen` with every event of the application while it lives.
class EventWatch : public QObject
{
public:
    explicit EventWatch(std::function<void(QObject *, QEvent *)> seen) : m_seen(std::move(seen))
    {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        m_seen(watched, event);
        return false;
    }

private:
    std::function<void(QObject *, QEvent *)> m_seen;
};

// Runs `answer` on the window of that name (or class) the first time it shows. The answer comes
// from the event loop the window then runs, so a modal window is answered inside its own wait,
// however late it opens.
inline void answerWhenShown(const QString &name, std::function<void(QWidget *)> answer)
{
    auto watch = std::make_shared<QPointer<EventWatch>>();
    *watch = new EventWatch([=](QObject *watched, QEvent *event) {
        if (event->type() != QEvent::Show || !watched->isWidgetType() || !*watch)
            return;
        auto *window = static_cast<QWidget *>(watched);
        if (!window->isWindow() ||
            (window->objectName() != name && window->metaObject()->className() != name))
            return;
        qApp->removeEventFilter(*watch);
        (*watch)->deleteLater();
        *watch = nullptr;
        QTimer::singleShot(0, window, [answer, window] { answer(window); });
    });
}

// Presses `button` of the window `name` once it shows, after `before` has looked at it.
inline void pressWhenShown(const QString &name, const QString &button,
                           std::function<void(QWidget *)> before = {})
{
    answerWhenShown(name, [=](QWidget *window) {
        if (before)
            before(window);
        if (auto *b = window->findChild<QAbstractButton *>(button))
            b->click();
    });
}

// Fills the login window's names and password and presses its "OK" once it shows.
inline void answerLogin(const QString &first, const QString &second, const QString &password)
{
    answerWhenShown(QStringLiteral("id_reader"), [=](QWidget *login) {
        login->findChild<QLineEdit *>(QStringLiteral("Текст1"))->setText(first);
        login->findChild<QLineEdit *>(QStringLiteral("Текст2"))->setText(second);
        login->findChild<QLineEdit *>(QStringLiteral("Текст3"))->setText(password);
        login->findChild<QAbstractButton *>(QStringLiteral("Комманда1"))->click();
    });
}
