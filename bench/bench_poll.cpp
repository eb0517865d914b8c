// One monitor poll of 49 pupil folders on local disk: the time until every row is read, and
// the longest stretch during which the user-interface thread could not handle events.
#include "app/sessionstate.h"
#include "network/pupilpoller.h"
#include "testing/sessionfiles.h"

#include <QCoreApplication>
#include <QDir>
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

void buildClassroom(const QTemporaryDir &dir, SessionState &session)
{
    session.NetCount = Pupils;
    for (int i = 1; i <= Pupils; ++i) {
        const QString folder = dir.filePath(QStringLiteral("pc%1/").arg(i));
        QDir().mkpath(folder + QStringLiteral("data"));
        WriteProgressFile(folder + QStringLiteral("data/curr_test.ini"),
                          {QStringLiteral("Иван"), QStringLiteral("Ученик%1").arg(i),
                           QStringLiteral("Рельсовые цепи"), 20, 1 + i % 20, i % 15, 0});
        session.NetPath[i - 1] = folder;
    }
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    SessionState session;
    buildClassroom(dir, session);
    PupilPoller poller(session);

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
    return session.Pupils[Pupils - 1].second.isEmpty() ? 1 : 0;
}
