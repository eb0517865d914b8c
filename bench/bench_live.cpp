// The live classroom: 49 pupils each answer one question a minute while the teacher's monitor
// and watch window follow them. Prints how long an answer takes to reach the monitor and the
// watch window (median and worst) and the teacher's share of one core.
//
// With --before-lesson no pupil has started a test yet: only the teacher's share of a core is
// measured while the monitor waits for them.
//
// It runs for 90 seconds, or TARVEL_BENCH_SECONDS. Pupil folders lie in a temporary folder, or,
// when samba_share.sh runs this program, on the loopback Samba share: written through the share's
// own folder as a pupil's program writes them, read through the mount as the teacher's computer
// reads them.
#include "app/adminwindow.h"
#include "app/application.h"
#include "benchsupport.h"
#include "core/datafiles.h"
#include "core/textfile.h"
#include "network/monitorwindow.h"
#include "network/netconfig.h"
#include "network/pupilpoller.h"
#include "network/watchwindows.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <functional>
#include <sys/resource.h>
#include <thread>

namespace {
constexpr int Pupils = 49;
constexpr int Questions = 100;
constexpr qint64 MinuteMs = 60000;
// The watched pupil answers more often, so that the watch window gets enough answers to time.
constexpr qint64 WatchedEveryMs = 6000;

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double threadCpuSeconds()
{
    timespec spent{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &spent);
    return double(spent.tv_sec) + double(spent.tv_nsec) / 1e9;
}

// When each answer was written, on the steady clock; 0 until then.
using AnswerTimes = std::array<std::array<std::atomic<qint64>, Questions + 1>, Pupils + 1>;

// The pupils' side: each pupil's program writes temp1.ini after an answer, then curr_test.ini
// for the next question, as the test session does.
class Pupil
{
public:
    Pupil(int number, const QString &folder) : m_number(number), m_data(folder + "data/")
    {
        clearSessionRecords(m_records);
        QDir().mkpath(m_data + QStringLiteral("jpg"));
        textfile::replaceFile(m_data + QStringLiteral("jpg/") + datafiles::AnswerTimeFile,
                              " 2 \r\n");
    }

    int answered() const { return m_answered; }

    // `beforeProgress` runs between the two writes.
    void answer(const std::function<void()> &beforeProgress = {})
    {
        SessionRecord &r = m_records[size_t(m_answered)];
        r.topic = QStringLiteral("Рельсовые цепи");
        r.question = QStringLiteral("Вопрос %1 ученика %2").arg(m_answered + 1).arg(m_number);
        for (int k = 1; k <= 5; ++k)
            r.answers[k - 1] = QStringLiteral("Ответ %1").arg(k);
        r.chosenAnswer = QStringLiteral("2");
        r.rightAnswer = QStringLiteral("2");
        ++m_answered;
        const SessionProgress progress{QStringLiteral("Иван"),
                                       QStringLiteral("Ученик%1").arg(m_number),
                                       QStringLiteral("Рельсовые цепи"),
                                       Questions,
                                       m_answered + 1,
                                       m_answered,
                                       0};
        writeSessionFile(m_data + datafiles::SessionFile, progress, m_records);
        if (beforeProgress)
            beforeProgress();
        writeProgressFile(m_data + datafiles::ProgressFile, progress);
    }

private:
    int m_number;
    QString m_data;
    SessionRecords m_records;
    int m_answered = 0;
};

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

double worst(const QList<double> &values)
{
    return values.isEmpty() ? 0 : *std::max_element(values.begin(), values.end());
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool beforeLesson = QApplication::arguments().contains(QStringLiteral("--before-lesson"));
    const int seconds = qEnvironmentVariableIntValue("TARVEL_BENCH_SECONDS");
    const qint64 runMs = (seconds > 0 ? seconds : 90) * qint64(1000);
    QTemporaryDir dir;
    const QString shareLocal = qEnvironmentVariable("TARVEL_SHARE_LOCAL");
    const QString shareMount = qEnvironmentVariable("TARVEL_SHARE_MOUNT");
    const bool onShare = !shareLocal.isEmpty() && !shareMount.isEmpty();
    const QString written = onShare ? shareLocal : dir.filePath(QStringLiteral("pupils/"));
    const QString read = onShare ? shareMount : written;

    const QString teacher = dir.filePath(QStringLiteral("teacher"));
    copyTree(QStringLiteral(TARVEL_DEMO_DATA), teacher + QStringLiteral("/data"));
    Application application(teacher, false);
    SessionState &session = application.session;
    session.user.firstName = session.user.surname = QStringLiteral("vedok");
    Classroom::Folders folders;
    std::vector<std::unique_ptr<Pupil>> pupils;
    for (int i = 1; i <= Pupils; ++i) {
        const QString folder = QStringLiteral("pc%1/").arg(i);
        pupils.push_back(std::make_unique<Pupil>(i, written + folder));
        if (!beforeLesson)
            pupils.back()->answer();
        folders[size_t(i - 1)] = read + folder;
    }
    application.classroom.assign(Pupils, folders);
    saveNetConfig(application.classroom,
                  teacher + QStringLiteral("/data/") + datafiles::NetConfigFile);

    application.startMenu(-1);
    application.windows.open<AdminWindow>();
    auto *monitor = application.windows.open<MonitorWindow>();
    auto *watch = application.windows.open<WatchWindow>();
    if (!monitor || !watch)
        return 1;
    watch->watch(1);

    static AnswerTimes monitorTimes{};
    static AnswerTimes watchTimes{};
    QList<double> monitorLatency;
    QList<double> watchLatency;
    QObject::connect(monitor->poller(), &PupilPoller::computerRead, [&](int computer) {
        const int curr = application.classroom.pupil(computer).currentQuestion.value_or(0);
        if (curr < 1 || curr > Questions)
            return;
        const qint64 at = monitorTimes[size_t(computer)][size_t(curr)].exchange(0);
        if (at > 0)
            monitorLatency.append(double(steadyMs() - at));
    });
    QObject::connect(watch, &WatchWindow::refreshed, [&] {
        const int shown = watch->flow().session().lastRecorded;
        if (shown < 1 || shown > Questions)
            return;
        const qint64 at = watchTimes[1][size_t(shown)].exchange(0);
        if (at > 0)
            watchLatency.append(double(steadyMs() - at));
    });

    // Pupil i answers at i / 49 of every minute; the watched pupil every few seconds.
    std::atomic<bool> stop{false};
    double writerCpu = 0;
    const qint64 start = steadyMs() + 3000;
    std::thread writer([&] {
        std::array<qint64, Pupils + 1> next{};
        for (int i = 1; i <= Pupils; ++i)
            next[size_t(i)] = start + (i == 1 ? WatchedEveryMs : MinuteMs * i / Pupils);
        while (!stop) {
            const qint64 now = steadyMs();
            for (int i = 1; i <= Pupils; ++i) {
                Pupil &p = *pupils[size_t(i - 1)];
                if (beforeLesson || now < next[size_t(i)] || p.answered() >= Questions - 1)
                    continue;
                // Timed from before the write: the teacher may see a file before its writer
                // has returned.
                const int answered = p.answered() + 1;
                if (i == 1)
                    watchTimes[1][size_t(answered)] = steadyMs();
                p.answer([&] { monitorTimes[size_t(i)][size_t(answered + 1)] = steadyMs(); });
                next[size_t(i)] += i == 1 ? WatchedEveryMs : MinuteMs;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        writerCpu = threadCpuSeconds();
    });

    double cpuAtStart = 0;
    QTimer::singleShot(int(start - steadyMs()), [&] { cpuAtStart = processCpuSeconds(); });
    QTimer::singleShot(int(start - steadyMs() + runMs), &app, &QCoreApplication::quit);
    QApplication::exec();
    const double cpu = processCpuSeconds() - cpuAtStart;
    stop = true;
    writer.join();
    // The writer's own work before the start is small; all of it is taken off.
    const double teacherShare = 100.0 * (cpu - writerCpu) / (double(runMs) / 1000.0);
    // Answers written more than two seconds before the end that never showed.
    long long missed = 0;
    const qint64 end = steadyMs() - 2000;
    for (const AnswerTimes *times : {&monitorTimes, &watchTimes}) {
        for (const auto &pupil : *times) {
            for (const std::atomic<qint64> &at : pupil)
                missed += at > 0 && at < end ? 1 : 0;
        }
    }

    const char *where = onShare ? "the loopback Samba share" : "a local folder";
    if (beforeLesson) {
        std::printf("before the lesson, %d pupil folders without a test over %s, %lld s: "
                    "teacher's program %.2f %% of one core\n",
                    Pupils, where, static_cast<long long>(runMs / 1000), teacherShare);
        return 0;
    }
    std::printf(
        "live classroom of %d pupils over %s, %lld s: answer on the monitor after "
        "median %.0f ms, worst %.0f ms (%lld answers); in the watch window median %.0f "
        "ms, worst %.0f ms (%lld answers); %lld never shown; teacher's program %.2f %% of one "
        "core\n",
        Pupils, where, static_cast<long long>(runMs / 1000), median(monitorLatency),
        worst(monitorLatency), static_cast<long long>(monitorLatency.size()), median(watchLatency),
        worst(watchLatency), static_cast<long long>(watchLatency.size()), missed, teacherShare);
    return monitorLatency.isEmpty() || missed > 0 ? 1 : 0;
}
