#pragma once

#include <QProcess>
#include <QSize>
#include <QTemporaryDir>

#include <memory>

// A desk of its own for programs under test: a private X server (Xvfb), optionally a window
// manager (openbox), a session bus and the accessibility bus. The display number is chosen by the
// server itself, so two desks never share one. The server never resets, so a client that connects
// while another leaves is not turned away. Each part is started only once the one before it
// accepts connections; everything is stopped by the destructor.
class PrivateDesk
{
public:
    struct Options
    {
        QSize screen{1024, 768};
        bool windowManager = false;
        bool accessibility = false;
    };

    explicit PrivateDesk(const Options &options);
    ~PrivateDesk();
    PrivateDesk(const PrivateDesk &) = delete;
    PrivateDesk &operator=(const PrivateDesk &) = delete;

    // Empty when every part runs; otherwise what failed, with what the failing program said.
    QString start();
    // After a failed start: true when a needed program is not installed at all.
    bool programMissing() const { return m_missing; }

    // The environment of a program shown on this desk.
    QProcessEnvironment environment() const;
    QString display() const { return m_display; }
    // What the server, the window manager and the buses said so far, for a failure report.
    QString log() const;

private:
    QString startServer();
    QString parkPointer();
    QString startWindowManager();
    QString startBuses();
    QString missing(const QString &program, const QString &package);
    QString said(const QString &name) const;

    Options m_options;
    QTemporaryDir m_dir;
    QProcess m_server;
    QProcess m_windowManager;
    QProcess m_bus;
    QProcess m_launcher;
    QString m_display;
    QString m_busAddress;
    bool m_missing = false;
};

// Lets the process end with the program that started it, even when that one is killed (a test
// that runs out of time), so that no server or program of a desk outlives its test.
void stopWithParent(QProcess &process);
// Asks the process to end, and ends it when it does not within a few seconds.
void stop(QProcess &process);

// The environment variable that tells a test it runs on a desk with a window manager, so that
// desks it starts itself get one too.
inline constexpr char DeskWindowManagerVariable[] = "TARVEL_DESK_WM";
