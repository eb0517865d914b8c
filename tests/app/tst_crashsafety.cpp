#include "statewriters.h"
#include "testsupport.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#include <cstring>
#include <functional>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
#if defined(__SANITIZE_ADDRESS__)
// The sanitizers look for memory faults, which a few hundred rounds show as well as a thousand;
// a thousand instrumented forks outlast the test's time on two cores.
constexpr int Kills = 250;
#else
constexpr int Kills = 1000;
#endif
} // namespace

// A writer process is killed at random moments while it rewrites a state file with the
// program's own writers; whatever it leaves must be one of the complete contents.
class CrashSafetyTest : public QObject
{
    Q_OBJECT

    // tmpfs keeps thousands of rewrites quick; a killed process leaves the page cache to the
    // file system, so what it leaves does not depend on the file system.
    static QString scratchParent()
    {
        return QFileInfo("/dev/shm").isWritable() ? "/dev/shm" : QDir::tempPath();
    }

    QTemporaryDir m_dir{scratchParent() + "/tarvel-crash-XXXXXX"};
    QRandomGenerator m_random{QRandomGenerator::global()->generate()};

    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    using Writer = std::function<int(const statewriters::Say &)>;

    // Forks a writer process, waits for its first round, lets it run up to maxDelayUs and
    // kills it. Forking instead of starting a program keeps a thousand kills quick.
    // Returns what the writer said, or nothing when it failed on its own.
    std::optional<QByteArray> runAndKill(const Writer &writer, int maxDelayUs)
    {
        int channel[2];
        if (::pipe(channel) != 0)
            return std::nullopt;
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(channel[0]);
            const int fd = channel[1];
            ::_exit(writer([fd](const char *text) {
                [[maybe_unused]] const ssize_t n = ::write(fd, text, std::strlen(text));
            }));
        }
        ::close(channel[1]);
        QByteArray said;
        pollfd ready{channel[0], POLLIN, 0};
        char buffer[256];
        while (pid > 0 && !said.contains("ready\n") && ::poll(&ready, 1, 5000) > 0) {
            const ssize_t n = ::read(channel[0], buffer, sizeof buffer);
            if (n <= 0)
                break;
            said.append(buffer, n);
        }
        QThread::usleep(m_random.bounded(maxDelayUs));
        int status = 0;
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
        }
        for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
            said.append(buffer, n);
        ::close(channel[0]);
        if (!said.contains("ready\n") || !WIFSIGNALED(status))
            return std::nullopt;
        return said;
    }

    static Writer bind(int (*loop)(const statewriters::Say &, const QString &),
                       const QString &target)
    {
        return [loop, target](const statewriters::Say &say) { return loop(say, target); };
    }

    // Kills the writer again and again; `intact` judges the files after each kill.
    // Returns the number of kills that left a damaged file, -1 when the writer failed.
    int damagedAfterKills(const QString &mode, const Writer &writer, int kills, int maxDelayUs,
                          const std::function<bool(const QByteArray &output)> &intact)
    {
        int damaged = 0;
        for (int i = 0; i < kills; ++i) {
            const std::optional<QByteArray> output = runAndKill(writer, maxDelayUs);
            if (!output)
                return -1;
            if (!intact(*output))
                ++damaged;
        }
        // A killed writer may leave the temporary file it was writing, one at most; a completed
        // write never leaves one.
        const QStringList leftovers = temporaryFiles();
        qInfo("%s: %d kills, %d damaged files, %lld temporary files left", qPrintable(mode), kills,
              damaged, qlonglong(leftovers.size()));
        if (leftovers.size() > kills)
            return -1;
        for (const QString &file : leftovers)
            QFile::remove(file);
        return damaged;
    }

    QStringList temporaryFiles() const
    {
        QStringList found;
        QDirIterator it(m_dir.path(), {"*.tmp"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
        return found;
    }

    void killRepeatedly(const QString &mode, const Writer &writer, int maxDelayUs,
                        const std::function<bool(const QByteArray &output)> &intact)
    {
        QCOMPARE(damagedAfterKills(mode, writer, Kills, maxDelayUs, intact), 0);
    }

    // The bytes of both contents of a state file, taken from reference files written by `write`.
    std::array<QByteArray, 2> written(const QString &name,
                                      const std::function<bool(const QString &, int)> &write)
    {
        std::array<QByteArray, 2> both;
        for (int variant = 0; variant < 2; ++variant) {
            const QString file = path(QStringLiteral("reference/%1%2").arg(name).arg(variant));
            QDir().mkpath(QFileInfo(file).absolutePath());
            both[variant] = write(file, variant) ? readBytes(file) : QByteArray();
        }
        return both;
    }

    static bool writeSession(const QString &file, int variant)
    {
        return writeSessionFile(file, statecontents::progress(variant),
                                *statecontents::records(variant));
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void killedUserBaseWriterLeavesOldOrNewBaseUnlikeAnInPlaceWriter()
    {
        const UserBase bases[] = {statecontents::userBase(0), statecontents::userBase(1)};
        const auto contents = written(QStringLiteral("base"),
                                      [&](const QString &f, int v) { return bases[v].save(f); });
        const QString file = path(datafiles::UserBaseFile);
        QVERIFY(bases[0].save(file));
        killRepeatedly(
            "user base", bind(statewriters::userBase, file), 2000, [&](const QByteArray &) {
                const QByteArray bytes = readBytes(file);
                const std::optional<UserBase> base = UserBase::load(file);
                const qsizetype variant = bytes == contents[0] ? 0 : bytes == contents[1] ? 1 : -1;
                return variant >= 0 && base &&
                       base->records.size() == bases[variant].records.size() &&
                       base->records.first().firstName == bases[variant].records.first().firstName;
            });

        // The kills land inside the writes: a writer that overwrites the base in place is caught.
        const QByteArray inPlace[] = {textfile::joinLines(bases[0].toLines()),
                                      textfile::joinLines(bases[1].toLines())};
        const QString overwritten = path(QStringLiteral("inplace.jpg"));
        QVERIFY(bases[0].save(overwritten));
        const int damaged =
            damagedAfterKills("in-place writer", bind(statewriters::userBaseInPlace, overwritten),
                              100, 2000, [&](const QByteArray &) {
                                  const QByteArray bytes = readBytes(overwritten);
                                  return bytes == inPlace[0] || bytes == inPlace[1];
                              });
        QVERIFY(damaged > 0);
    }

    void killedSessionWriterLeavesOldOrNewRecord()
    {
        const std::unique_ptr<SessionRecords> records[] = {statecontents::records(0),
                                                           statecontents::records(1)};
        const auto contents = written(QStringLiteral("temp"), writeSession);
        const QString file = path(datafiles::SessionFile);
        QVERIFY(writeSession(file, 0));
        auto read = std::make_unique<SessionRecords>();
        killRepeatedly(
            "temp1.ini", bind(statewriters::sessionFile, file), 2000, [&](const QByteArray &) {
                const QByteArray bytes = readBytes(file);
                SessionProgress header;
                if (!readSessionFile(file, header, *read))
                    return false;
                const int variant = bytes == contents[0] ? 0 : bytes == contents[1] ? 1 : -1;
                if (variant < 0)
                    return false;
                const SessionProgress expected = statecontents::progress(variant);
                const int last = expected.questionCount - 1;
                return header.surname == expected.surname &&
                       read->at(last).topic == records[variant]->at(last).topic;
            });
    }

    // Every append that reported completion is in the store, the one running when the
    // writer was killed is either wholly there or not at all.
    void killedHistoryAppendLeavesCompleteBlocks()
    {
        const QString store = path(datafiles::HistoryFile);
        const QStringList block = statecontents::historyBlock();
        qsizetype blocks = 0;
        killRepeatedly("history", bind(statewriters::history, m_dir.path()), 3000,
                       [&](const QByteArray &out) {
                           const QStringList lines = readLinesOrEmpty(store);
                           const qsizetype now = lines.size() / block.size();
                           if (now * block.size() != lines.size())
                               return false;
                           for (qsizetype b = 0; b < now; ++b) {
                               if (lines.mid(b * block.size(), block.size()) != block)
                                   return false;
                           }
                           const qsizetype completed = blocks + out.count('+');
                           if (now != completed && now != completed + 1)
                               return false;
                           blocks = now;
                           if (blocks > 40) { // keeps every append short
                               QFile::remove(store);
                               blocks = 0;
                           }
                           return true;
                       });
    }

    void killedSettingsWriterLeavesOldOrNewSettings()
    {
        const QString folder = path(QStringLiteral("jpg"));
        QVERIFY(QDir().mkpath(folder));
        const QStringList files{datafiles::AnswerTimeFile, datafiles::ShowErrorsFile,
                                datafiles::RememberedLoginFile, datafiles::NetConfigFile};
        QList<std::array<QByteArray, 2>> contents(files.size());
        for (int v = 0; v < 2; ++v) {
            const QDir reference(path(QStringLiteral("reference/settings%1").arg(v)));
            QVERIFY(QDir().mkpath(reference.path()) &&
                    statewriters::writeSettings(reference.path(), v));
            for (qsizetype k = 0; k < files.size(); ++k)
                contents[k][v] = readBytes(reference.filePath(files[k]));
        }
        QVERIFY(statewriters::writeSettings(folder, 0));
        // The written files are the ones the program reads.
        QCOMPARE(TestSettings::read(folder).answerTime, statecontents::testSettings(0).answerTime);
        QCOMPARE(readBytes(QDir(folder).filePath(files[0])),
                 textfile::joinLines(
                     {textfile::printNumber(statecontents::testSettings(0).answerTime)}));

        killRepeatedly("settings", bind(statewriters::settings, folder), 2000,
                       [&](const QByteArray &) {
                           for (qsizetype k = 0; k < files.size(); ++k) {
                               const QByteArray bytes = readBytes(QDir(folder).filePath(files[k]));
                               if (bytes != contents[k][0] && bytes != contents[k][1])
                                   return false;
                           }
                           const TestSettings read = TestSettings::read(folder);
                           return read.answerTime == statecontents::testSettings(0).answerTime ||
                                  read.answerTime == statecontents::testSettings(1).answerTime;
                       });
    }

    // A reader (this test) never sees a torn curr_test.ini or temp1.ini while another process
    // keeps replacing them.
    void readerNeverSeesATornTestFile()
    {
        const QString folder = path(QStringLiteral("shared"));
        QVERIFY(QDir().mkpath(folder));
        const auto progress = written(QStringLiteral("curr"), [](const QString &f, int v) {
            return writeProgressFile(f, statecontents::progress(v));
        });
        const auto session = written(QStringLiteral("temp"), writeSession);
        const int rewrites = 10000;
        QProcess writer;
        writer.start(QStringLiteral(TARVEL_STATEWRITER), {folder, QString::number(rewrites)});
        QVERIFY(writer.waitForStarted());
        const QString progressFile = QDir(folder).filePath(datafiles::ProgressFile);
        const QString sessionFile = QDir(folder).filePath(datafiles::SessionFile);
        int reads = 0;
        int torn = 0;
        while (!writer.waitForFinished(0)) {
            QThread::yieldCurrentThread(); // leaves the writer its share of a busy machine
            const QByteArray current = readBytes(progressFile);
            const QByteArray full = readBytes(sessionFile);
            if (current.isEmpty() || full.isEmpty())
                continue; // not written yet
            reads += 2;
            torn += current != progress[0] && current != progress[1];
            torn += full != session[0] && full != session[1];
        }
        qInfo("%d rewrites of each file, %d reads, %d torn files", rewrites, reads, torn);
        QCOMPARE(writer.exitStatus(), QProcess::NormalExit);
        QCOMPARE(writer.exitCode(), 0);
        QVERIFY2(reads > 1000, "the reader barely overlapped the writer");
        QCOMPARE(torn, 0);
    }
};

QTEST_GUILESS_MAIN(CrashSafetyTest)
#include "tst_crashsafety.moc"
