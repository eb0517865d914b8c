// The teacher's program watching 49 pupils: the monitor window polls them for a while;
// prints the peak resident memory.
#include "app/adminwindow.h"
#include "app/application.h"
#include "benchsupport.h"
#include "core/datafiles.h"
#include "network/monitorwindow.h"
#include "network/netconfig.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {
constexpr int Pupils = 49;
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
    session.user.firstName = session.user.surname = QStringLiteral("vedok");
    buildClassroom(dir, application.classroom, Pupils);
    saveNetConfig(application.classroom,
                  teacher + QStringLiteral("/data/") + datafiles::NetConfigFile);

    application.startMenu(-1);
    application.windows.open<AdminWindow>();
    QWidget *monitor = application.windows.open<MonitorWindow>();
    // Several polls, paging through all three pages.
    QTimer::singleShot(12000, &app, &QCoreApplication::quit);
    QApplication::exec();
    std::printf("teacher's program watching %d pupils: monitor %s, peak resident memory %.1f MB\n",
                Pupils, monitor ? "open" : "missing", peakResidentMegabytes());
    return monitor ? 0 : 1;
}
