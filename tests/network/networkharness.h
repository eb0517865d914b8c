#pragma once

#include "app/registration.h"
#include "core/appcontext.h"
#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "network/classroom.h"
#include "network/monitorwindow.h"
#include "network/pupilpoller.h"
#include "ui/cueplayer.h"
#include "ui/textcolours.h"
#include "windowsupport.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

// The network windows on their own, with a silent cue player and the teacher's program folder.
struct NetworkHarness
{
    explicit NetworkHarness(const QString &programFolder)
    {
        session.setProgramFolder(programFolder);
        registerNetworkWindows(context);
    }
    ~NetworkHarness() { deleteAllWindows(); }

    template <class T = QWidget> T *child(const QString &window, const QString &name) const
    {
        QWidget *w = loadedWindow(window);
        return w ? w->findChild<T *>(name) : nullptr;
    }
    QString text(const QString &window, const QString &name) const
    {
        QLabel *label = child<QLabel>(window, name);
        return label ? label->text() : QStringLiteral("<none>");
    }
    // The monitor, whose polls wait half a second at most for slow computers.
    MonitorWindow *openMonitor()
    {
        auto *monitor = windows.open<MonitorWindow>();
        monitor->poller()->setPatience(500);
        return monitor;
    }
    void click(const QString &window, const QString &name) const
    {
        QPushButton *button = child<QPushButton>(window, name);
        QVERIFY2(button, qPrintable(name));
        button->click();
    }

    SessionState session;
    CuePlayer cues{session, false};
    WindowHub windows;
    Classroom classroom;
    AppContext context{session, cues, windows, classroom};
};

// Every visible control of the window has an accessible name; buttons also a description.
// A label is named by its text, so an empty one has nothing to say.
inline void checkAccessibility(QWidget *window)
{
    const QList<QWidget *> controls = window->findChildren<QWidget *>();
    for (QWidget *c : controls) {
        const auto *label = qobject_cast<QLabel *>(c);
        if (!c->isVisibleTo(window) || c->inherits("QGroupBox") || !c->focusPolicy() ||
            (label && label->text().isEmpty()))
            continue;
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(c);
        QVERIFY2(face && !face->text(QAccessible::Name).trimmed().isEmpty(),
                 qPrintable(c->objectName()));
        if (qobject_cast<QPushButton *>(c))
            QVERIFY2(!c->accessibleDescription().isEmpty(), qPrintable(c->objectName()));
    }
    // Texts drawn on the window's face, coloured ones included, read well.
    for (QWidget *c : controls) {
        const bool onFace = qobject_cast<QLabel *>(c) || qobject_cast<QRadioButton *>(c);
        if (onFace && c->isVisibleTo(window))
            QVERIFY2(textcolours::textContrast(c) >= textcolours::MinimumContrast,
                     qPrintable(c->objectName()));
    }
}
