// One monitor poll of 49 pupil folders on local disk: the time until every row is read, and
// the longest stretch during which the user-interface thread could not handle events.
#include "benchsupport.h"
#include "network/pupilpoller.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {
constexpr int Pupils = 49;
constexpr int Rounds = 21;

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    Classroom classroom;
    buildClassroom(dir, classroom, Pupils);
    PupilPoller poller(classroom);

    QList<double> totals;
    QList<double> blocked;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer sinceLastTurn;
        double longestTurn = 0;
        QTimer heartbeat;
        heartbeat.setInterval(0);
        QObject::connect(&heartbeat, &QTimer::timeout, [&] {
            longestTurn = std::max(longestTurn, sinceLastTurn.nsecsElapsed() / 1e6);
            sinceLastTurn.restart();
        });
        QEventLoop loop;
        QObject::connect(&poller, &PupilPoller::pollFinished, &loop, &QEventLoop::quit);
        QElapsedTimer total;
        heartbeat.start();
        sinceLastTurn.start();
        total.start();
        poller.poll();
        loop.exec();
        longestTurn = std::max(longestTurn, sinceLastTurn.nsecsElapsed() / 1e6);
        totals.append(total.nsecsElapsed() / 1e6);
        blocked.append(longestTurn);
        heartbeat.stop();
    }
    std::printf("monitor poll of %d pupil folders: median %.2f ms in all, user-interface thread "
                "blocked at most %.2f ms at a time (median over %d polls)\n",
                Pupils, median(totals), median(blocked), Rounds);
    return classroom.pupil(Pupils).hasPupil() ? 0 : 1;
}
