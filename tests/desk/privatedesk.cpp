#include "privatedesk.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

namespace {

const QString BusLauncher = QStringLiteral("/usr/libexec/at-spi-bus-launcher");

// The first line a program prints, or nothing when it stops or the time runs out first.
QByteArray firstLine(QProcess &process, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!process.canReadLine() && process.state() == QProcess::Running && !deadline.hasExpired())
        process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    return process.canReadLine() ? process.readLine().trimmed() : QByteArray();
}

// True when the X server of display `number` completes a connection setup: the socket exists
// and the server answers the opening request with success.
bool serverAnswers(int number)
{
    const QByteArray path = "/tmp/.X11-unix/X" + QByteArray::number(number);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // Little-endian, protocol 11.0, no authorisation.
    const char setup[12] = {'l', 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    char status = 0;
    pollfd answer{fd, POLLIN, 0};
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
                    ::write(fd, setup, sizeof setup) == ssize_t(sizeof setup) &&
                    ::poll(&answer, 1, 2000) == 1 && ::read(fd, &status, 1) == 1 && status == 1;
    ::close(fd);
    return ok;
}

bool waitFor(const QProcess &process, int ms, const std::function<bool()> &ready)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired() && process.state() == QProcess::Running) {
        if (ready())
            return true;
        QThread::msleep(50);
    }
    return false;
}

} // namespace

void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

void stopWithParent(QProcess &process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

PrivateDesk::PrivateDesk(const Options &options) : m_options(options)
{
    for (QProcess *p : {&m_server, &m_windowManager, &m_bus, &m_launcher})
        stopWithParent(*p);
}

PrivateDesk::~PrivateDesk()
{
    for (QProcess *p : {&m_launcher, &m_bus, &m_windowManager, &m_server})
        stop(*p);
}

QString PrivateDesk::start()
{
    if (!m_dir.isValid())
        return QStringLiteral("no temporary folder for the desk's logs");
    QString fault = startServer();
    if (fault.isEmpty() && m_options.windowManager)
        fault = startWindowManager();
    if (fault.isEmpty())
        fault = startBuses();
    return fault;
}

QString PrivateDesk::startServer()
{
    m_server.setStandardErrorFile(m_dir.filePath(QStringLiteral("xvfb.log")));
    const QString screen =
        QStringLiteral("%1x%2x24").arg(m_options.screen.width()).arg(m_options.screen.height());
    m_server.start(QStringLiteral("Xvfb"),
                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-noreset"),
                    QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-screen"),
                    QStringLiteral("0"), screen});
    if (!m_server.waitForStarted(10000))
        return missing(QStringLiteral("Xvfb"), QStringLiteral("xvfb"));
    const QByteArray number = firstLine(m_server, 30000);
    bool isNumber = false;
    const int display = number.toInt(&isNumber);
    if (!isNumber)
        return QStringLiteral("Xvfb gave no display number; it said: ") +
               said(QStringLiteral("xvfb.log"));
    m_display = QLatin1Char(':') + QString::number(display);
    if (!waitFor(m_server, 30000, [display] { return serverAnswers(display); }))
        return QStringLiteral("Xvfb on %1 does not accept connections; it said: ").arg(m_display) +
               said(QStringLiteral("xvfb.log"));
    return parkPointer();
}

// The pointer starts in the middle of the screen, over whatever window opens there, and its
// hover hints would replace status lines at random moments: it waits in the bottom right corner.
QString PrivateDesk::parkPointer()
{
    QProcess mover;
    mover.setProcessEnvironment(environment());
    mover.setProcessChannelMode(QProcess::MergedChannels);
    mover.start(QStringLiteral("xdotool"),
                {QStringLiteral("mousemove"), QString::number(m_options.screen.width() - 1),
                 QString::number(m_options.screen.height() - 1)});
    if (!mover.waitForStarted(10000))
        return missing(QStringLiteral("xdotool"), QStringLiteral("xdotool"));
    if (!mover.waitForFinished(30000) || mover.exitCode() != 0)
        return QStringLiteral("xdotool could not move the pointer on %1: ").arg(m_display) +
               QString::fromLocal8Bit(mover.readAll());
    return {};
}

QString PrivateDesk::startWindowManager()
{
    // Its own configuration folders: the default settings, whatever the account has.
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), m_dir.filePath(QStringLiteral("cache")));
    const QString ready = m_dir.filePath(QStringLiteral("wm-ready"));
    m_windowManager.setProcessEnvironment(env);
    m_windowManager.setProcessChannelMode(QProcess::MergedChannels);
    m_windowManager.setStandardOutputFile(m_dir.filePath(QStringLiteral("openbox.log")));
    // The start-up command runs once the window manager manages the screen.
    m_windowManager.start(QStringLiteral("openbox"),
                          {QStringLiteral("--startup"), QStringLiteral("touch ") + ready});
    if (!m_windowManager.waitForStarted(10000))
        return missing(QStringLiteral("openbox"), QStringLiteral("openbox"));
    if (!waitFor(m_windowManager, 30000, [ready] { return QFileInfo::exists(ready); }))
        return QStringLiteral("openbox did not start managing %1; it said: ").arg(m_display) +
               said(QStringLiteral("openbox.log"));
    return {};
}

QString PrivateDesk::startBuses()
{
    // Services the bus starts on demand (the accessibility bus for a Qt program) run on this desk.
    m_bus.setProcessEnvironment(environment());
    m_bus.setStandardErrorFile(m_dir.filePath(QStringLiteral("dbus.log")));
    m_bus.start(QStringLiteral("dbus-daemon"),
                {QStringLiteral("--session"), QStringLiteral("--nofork"),
                 QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")});
    if (!m_bus.waitForStarted(10000))
        return missing(QStringLiteral("dbus-daemon"), QStringLiteral("dbus-daemon"));
    // The address is printed once the bus listens.
    m_busAddress = QString::fromLatin1(firstLine(m_bus, 30000));
    if (m_busAddress.isEmpty())
        return QStringLiteral("dbus-daemon gave no address; it said: ") +
               said(QStringLiteral("dbus.log"));
    if (!m_options.accessibility)
        return {};

    if (!QFileInfo::exists(BusLauncher))
        return missing(BusLauncher, QStringLiteral("at-spi2-core"));
    m_launcher.setProcessEnvironment(environment());
    m_launcher.setProcessChannelMode(QProcess::MergedChannels);
    m_launcher.setStandardOutputFile(m_dir.filePath(QStringLiteral("at-spi.log")));
    m_launcher.start(BusLauncher, {QStringLiteral("--launch-immediately")});
    if (!m_launcher.waitForStarted(10000))
        return QStringLiteral("at-spi-bus-launcher did not start: ") + m_launcher.errorString();
    // Up when the launcher answers with the address of the accessibility bus it started.
    const QString connection = QStringLiteral("desk") + m_display;
    bool up = false;
    {
        QDBusConnection bus = QDBusConnection::connectToBus(m_busAddress, connection);
        const QDBusMessage ask = QDBusMessage::createMethodCall(
            QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
            QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
        up = waitFor(m_launcher, 30000, [&] {
            const QDBusMessage reply = bus.call(ask, QDBus::Block, 5000);
            return reply.type() == QDBusMessage::ReplyMessage &&
                   !reply.arguments().value(0).toString().isEmpty();
        });
    }
    QDBusConnection::disconnectFromBus(connection);
    if (!up)
        return QStringLiteral("the accessibility bus did not come up; at-spi-bus-launcher said: ") +
               said(QStringLiteral("at-spi.log")) + QStringLiteral("; dbus-daemon said: ") +
               said(QStringLiteral("dbus.log"));
    return {};
}

QString PrivateDesk::missing(const QString &program, const QString &package)
{
    m_missing = true;
    return QStringLiteral(
               "%1 could not be started (scripts/install-deps.sh installs the package %2)")
        .arg(program, package);
}

QProcessEnvironment PrivateDesk::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // The accessibility bus keeps its socket there, named after the display number only.
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
    if (!m_busAddress.isEmpty())
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
    if (m_options.windowManager)
        env.insert(QString::fromLatin1(DeskWindowManagerVariable), QStringLiteral("openbox"));
    if (m_options.accessibility) {
        env.insert(QStringLiteral("QT_ACCESSIBILITY"), QStringLiteral("1"));
        env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    }
    return env;
}

QString PrivateDesk::said(const QString &name) const
{
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("(no log)");
    const qint64 limit = 4000;
    if (file.size() > limit)
        file.seek(file.size() - limit);
    const QString text = QString::fromLocal8Bit(file.readAll()).trimmed();
    return text.isEmpty() ? QStringLiteral("(nothing)") : text;
}

QString PrivateDesk::log() const
{
    QString text =
        QStringLiteral("Xvfb on %1 said: ").arg(m_display) + said(QStringLiteral("xvfb.log"));
    if (m_options.windowManager)
        text += QStringLiteral("\nopenbox said: ") + said(QStringLiteral("openbox.log"));
    text += QStringLiteral("\ndbus-daemon said: ") + said(QStringLiteral("dbus.log"));
    if (m_options.accessibility)
        text += QStringLiteral("\nat-spi-bus-launcher said: ") + said(QStringLiteral("at-spi.log"));
    return text;
}
