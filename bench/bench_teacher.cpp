// The teacher's program watching 49 pupils: the monitor window polls them for a while;
// prints the peak resident memory.
#include "app/application.h"
#include "app/datafiles.h"
#include "network/netconfig.h"
#include "testing/sessionfiles.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {
constexpr int Pupils = 49;

void copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(source, target);
    }
}

double peakResidentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString teacher = dir.filePath(QStringLiteral("teacher"));
    copyTree(QStringLiteral(TARVEL_DEMO_DATA), teacher + QStringLiteral("/data"));

    Application application(teacher, false);
    SessionState &session = application.session;
    session.UserFirstName = session.UserSurname = QStringLiteral("vedok");
    session.NetCount = Pupils;
    for (int i = 1; i <= Pupils; ++i) {
        const QString folder = dir.filePath(QStringLiteral("pc%1/").arg(i));
        QDir().mkpath(folder + QStringLiteral("data"));
        WriteProgressFile(folder + QStringLiteral("data/curr_test.ini"),
                          {QStringLiteral("Иван"), QStringLiteral("Ученик%1").arg(i),
                           QStringLiteral("Светофоры"), 22, 1 + i % 22, i % 17, 0});
        session.NetPath[i - 1] = folder;
    }
    SaveNetConfig(session, teacher + QStringLiteral("/data/") + datafiles::NetConfigFile);

    application.startMenu(-1);
    application.windows.open(QStringLiteral("frmBOSS"));
    QWidget *monitor = application.windows.open(QStringLiteral("frmNET"));
    // Several polls, paging through all three pages.
    QTimer::singleShot(12000, &app, &QCoreApplication::quit);
    QApplication::exec();
    std::printf("teacher's program watching %d pupils: monitor %s, peak resident memory %.1f MB\n",
                Pupils, monitor ? "open" : "missing", peakResidentMegabytes());
    return monitor ? 0 : 1;
}
