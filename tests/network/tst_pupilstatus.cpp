#include "classroomfolders.h"
#include "core/textfile.h"
#include "network/monitorpages.h"
#include "network/pupilpoller.h"
#include "network/pupilstatus.h"
#include "testsupport.h"

#include <QtTest>

#include <atomic>

namespace {
QStringList progressLines(const QString &max, const QString &curr, const QString &ok,
                          const QString &ocenka)
{
    return {"first", "Иван", "second", "Петров", "name", "Реле",   "max",
            max,     "curr", curr,     "ok",     ok,     "ocenka", ocenka};
}
} // namespace

class PupilStatusTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A running and a finished test, and damaged files: the numbers are those of the file's
    // 16-bit range, whatever the file holds.
    void rowsKeepValidRanges_data()
    {
        QTest::addColumn<QStringList>("lines");
        // The row's maximum, value, right answers, current question and grade.
        QTest::addColumn<QStringList>("shown");
        const auto row = [](const char *name, const QStringList &lines, const QStringList &shown) {
            QTest::newRow(name) << lines << shown;
        };
        row("running", progressLines(" 20 ", " 7 ", " 5 ", " 0 "), {"20", "7", "5/20", "7", ""});
        row("finished", progressLines(" 10 ", " 10 ", " 7 ", " 4 "),
            {"10", "10", "7/10", "10", "4"});
        row("max 0", progressLines("0", "3", "1", "0"), {"1", "1", "1/0", "3", ""});
        row("max negative", progressLines("-5", "3", "1", "0"), {"1", "1", "1/-5", "3", ""});
        row("curr above max", progressLines("10", "44", "1", "0"), {"10", "10", "1/10", "44", ""});
        row("curr 0", progressLines("10", "0", "1", "0"), {"10", "1", "1/10", "0", ""});
        row("curr negative", progressLines("10", "-2", "1", "0"), {"10", "1", "1/10", "-2", ""});
        row("letters", progressLines("abc", "x", "1", "zz"), {"1", "1", "1/0", "0", ""});
        row("beyond 16 bits", progressLines("99999999999", "1e300", "-1e300", "1e300"),
            {"32767", "32767", "-32768/32767", "32767", "32767"});
        row("truncated after max", {"first", "A", "second", "B", "max"},
            {"100", "1", "/100", "1", ""});
        // Without a pupil the row shows only its computer's number.
        row("no pupil", {"max", "20", "ok", "3"}, {"20", "1", "", "", ""});
        row("garbage", {QString::fromLatin1("\x01\x02\xff"), "ok"}, {"100", "1", "", "", ""});
    }
    void rowsKeepValidRanges()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, shown);
        const PupilStatus s = pupilstatus::applyLines(lines, PupilStatus());
        QCOMPARE(s.graded(), !shown.last().isEmpty());
        const pupilstatus::Row row = pupilstatus::row(4, s);
        QCOMPARE(row.computer, QStringLiteral("№4"));
        QCOMPARE(row.pupil, s.surname);
        QCOMPARE(row.minimum, 1);
        QCOMPARE((QStringList{QString::number(row.maximum), QString::number(row.value), row.right,
                              row.current, row.grade}),
                 shown);
    }

    void filesOnDisk()
    {
        TestProgramFolder folder;
        const QString file = folder.data(QStringLiteral("curr_test.ini"));
        PupilStatus before;
        before.surname = QStringLiteral("Старый");
        before.grade = 3;
        // A missing file empties the row: no test since the pupil's program started.
        QCOMPARE(pupilstatus::read(folder.path(), before).surname, QString());
        writeBytes(file, "clear\r\n");
        QCOMPARE(pupilstatus::read(folder.path(), before).surname, QStringLiteral("Старый"));
        writeBytes(file, textfile::joinLines(progressLines(" 20 ", " 7 ", " 5 ", " 0 ")));
        const PupilStatus read = pupilstatus::read(folder.path(), before);
        QCOMPARE(read.surname, QStringLiteral("Петров"));
        QVERIFY(!read.graded());
        // A half-written file keeps what it could not say yet.
        writeBytes(file, textfile::joinLines({"first", "Олег", "second"}));
        const PupilStatus half = pupilstatus::read(folder.path(), read);
        QCOMPARE(half.firstName, QStringLiteral("Олег"));
        QCOMPARE(half.surname, QStringLiteral("Петров"));
        // A folder in place of the file is damage, shown in the row instead of a name.
        QFile::remove(file);
        QDir().mkpath(file);
        const PupilStatus odd = pupilstatus::read(folder.path(), before);
        QVERIFY(odd.damaged);
        QCOMPARE(pupilstatus::row(1, odd).pupil, pupilstatus::DamagedText);
    }

    // Reads under way when the classroom changes are dropped: their computers are gone.
    void forgottenPollBringsNothingBack()
    {
        ClassroomFolders room(2);
        room.progress(1, "А", "Первый", 10, 2, 1);
        Classroom classroom;
        loadNetConfig(classroom, room.netIni());
        PupilPoller poller(classroom);
        QSignalSpy read(&poller, &PupilPoller::computerRead);
        poller.poll();
        poller.forget();
        classroom.clear();
        QVERIFY(!poller.isReading(1) && !poller.isPolling());
        poller.poll(); // nothing configured: nothing read
        // The reads are over and whatever they handed over has been delivered: nothing.
        QVERIFY(shareReadersStopped(5000));
        QCoreApplication::processEvents();
        QCOMPARE(read.count(), 0);
        QVERIFY(classroom.pupil(1).surname.isEmpty());
    }

    // A classroom is read by a few readers in turn; computers that hang hold up only the readers
    // they took, wherever they stand in the queue: once hurried, what was read is handed over
    // and every waiting read gets its own reader. Each result is handed over once, on the
    // user-interface thread, and none after its window is gone.
    void hungReadsHoldUpNoneOfTheOthers_data()
    {
        QTest::addColumn<QList<int>>("hanging");
        QTest::addRow("first") << QList<int>{0, 1};
        QTest::addRow("last") << QList<int>{6, 7};
        QTest::addRow("all but the first") << QList<int>{1, 2, 3, 4, 5, 6, 7};
    }
    void hungReadsHoldUpNoneOfTheOthers()
    {
        QFETCH(QList<int>, hanging);
        constexpr int Readers = 2;
        constexpr int Reads = 8;
        QSemaphore hung;
        std::atomic<int> readersHung = 0;
        QList<int> done;
        bool offThread = false;
        auto *context = new QObject;
        QList<std::pair<std::function<int()>, std::function<void(const int &)>>> reads;
        for (int i = 0; i < Reads; ++i) {
            reads.append({[i, &hung, &readersHung, hangs = hanging.contains(i)] {
                              if (hangs) {
                                  ++readersHung;
                                  hung.acquire();
                              }
                              return i;
                          },
                          [&](const int &result) {
                              offThread |= QThread::currentThread() != qApp->thread();
                              done.append(result);
                          }});
        }
        const auto batch = ReadBatch<int>::start(context, reads, Readers);
        // Every reader hangs: what the others read before waits for the hurry.
        QTRY_COMPARE(readersHung.load(), Readers);
        QCoreApplication::processEvents();
        QVERIFY(done.isEmpty());
        batch->hurry();
        QTRY_COMPARE(done.size(), Reads - hanging.size());
        QVERIFY(!shareReadersStopped(0));
        hung.release(int(hanging.size()));
        QTRY_COMPARE(done.size(), Reads);
        std::sort(done.begin(), done.end());
        QCOMPARE(done, QList<int>({0, 1, 2, 3, 4, 5, 6, 7}));
        QVERIFY(!offThread);

        done.clear();
        ReadBatch<int>::start(context, reads, Readers);
        delete context;
        hung.release(int(hanging.size()));
        QVERIFY(shareReadersStopped(5000));
        QCoreApplication::processEvents();
        QVERIFY(done.isEmpty());
    }

    // Stamps are taken afresh every poll; the file is read when its size or time changed, and
    // again shortly after a change, which a coarse file clock could hide.
    void pollerReadsWhatChanged()
    {
        ClassroomFolders room(3);
        QVERIFY(QDir(room.pupilFolder(3)).removeRecursively());
        room.progress(1, "А", "Первый", 10, 2, 1);
        const QString file = room.pupilData(1, datafiles::ProgressFile);
        const QDateTime written = QDateTime::currentDateTime().addSecs(-60);
        QVERIFY(setModified(file, written));
        Classroom classroom;
        loadNetConfig(classroom, room.netIni());
        PupilPoller poller(classroom);
        qint64 now = 1000000;
        poller.setClock([&now] { return now; });
        // A poll of every computer `ms` later, waited for.
        const auto pollLater = [&](qint64 ms) {
            now += ms;
            QSignalSpy finished(&poller, &PupilPoller::pollFinished);
            poller.poll();
            return finished.wait(3000);
        };
        QSignalSpy read(&poller, &PupilPoller::computerRead);
        QVERIFY(pollLater(0));
        QCOMPARE(classroom.pupil(1).currentQuestion, 2);
        // The first sight of a file dates the answer by the file's time.
        QCOMPARE(poller.live(1).text(classroom.pupil(1), now), QStringLiteral("1 мин назад"));
        // No pupil yet, and no program folder to look at.
        QCOMPARE(poller.live(3).text(classroom.pupil(3), now), PupilLive::NoConnectionText);

        // Read once more a while later, then no more while nothing changes.
        QVERIFY(pollLater(StampWatch::RecheckMs));
        read.clear();
        QVERIFY(pollLater(500));
        QCOMPARE(read.count(), 0);

        // The same size, a later time.
        room.progress(1, "А", "Первый", 10, 3, 1);
        QVERIFY(setModified(file, written.addSecs(30)) && pollLater(500));
        QCOMPARE(read.count(), 1);
        QCOMPARE(classroom.pupil(1).currentQuestion, 3);
        QCOMPARE(poller.live(1).text(classroom.pupil(1), now + 12000), "12 с назад");

        // Rewritten within the same tick of the file clock: the same stamp, read once more a
        // while after the change, and then no more.
        room.progress(1, "А", "Первый", 10, 4, 2);
        QVERIFY(setModified(file, written.addSecs(30)) && pollLater(500));
        QCOMPARE(classroom.pupil(1).currentQuestion, 3);
        QVERIFY(pollLater(StampWatch::RecheckMs));
        QCOMPARE(classroom.pupil(1).currentQuestion, 4);
        read.clear();
        QVERIFY(pollLater(StampWatch::RecheckMs));
        QCOMPARE(read.count(), 0);

        // A file in another letter case is found once its folder changes.
        QVERIFY(classroom.pupil(2).surname.isEmpty());
        room.progress(2, "Б", "Второй", 10, 5, 3);
        QVERIFY(QFile::rename(room.pupilData(2, datafiles::ProgressFile),
                              room.pupilData(2, "Curr_Test.ini")));
        QVERIFY(pollLater(500));
        QCOMPARE(classroom.pupil(2).surname, QStringLiteral("Второй"));

        // The program folder gone: the share stopped answering, the row keeps the pupil.
        QVERIFY(QDir(room.pupilFolder(1)).removeRecursively() && pollLater(500));
        QCOMPARE(classroom.pupil(1).surname, QStringLiteral("Первый"));
        QCOMPARE(poller.live(1).text(classroom.pupil(1), now), PupilLive::NoConnectionText);
    }

    // The cell of the last answer on the steady clock, a minute after the pupil's files were
    // first seen; temp1.ini is newer than curr_test.ini while the pupil takes a pause.
    void lastAnswerCell_data()
    {
        QTest::addColumn<QString>("curr");
        QTest::addColumn<QString>("ocenka");
        QTest::addColumn<QString>("setting"); // "-": no answer-time file
        QTest::addColumn<bool>("pause");
        QTest::addColumn<bool>("failed");
        QTest::addColumn<qint64>("lookingMs"); // a look under way for so long; -1: none
        QTest::addColumn<qint64>("elapsedMs");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *name, const char *curr, const char *setting, bool pause,
                            bool failed, qint64 lookingMs, qint64 elapsedMs, const QString &text,
                            const char *ocenka = "") {
            QTest::newRow(name) << QString::fromUtf8(curr) << QString::fromUtf8(ocenka)
                                << QString::fromUtf8(setting) << pause << failed << lookingMs
                                << elapsedMs << text;
        };
        const QString lost = PupilLive::NoConnectionText;
        row("12 s", "5", " 1 ", false, false, -1, 12000, "12 с назад");
        row("a moment", "5", " 1 ", false, false, -1, 2000, "только что");
        row("3 min of 5", "5", " 5 ", false, false, -1, 200000, "3 мин назад");
        row("within the grace", "5", " 1 ", false, false, -1, 90000, "1 мин назад");
        row("clock overdue", "5", " 1 ", false, false, -1, 92000, lost);
        row("no file: one minute", "5", "-", false, false, -1, 92000, lost);
        row("odd setting: one minute", "5", "7", false, false, -1, 92000, lost);
        row("5 min within", "5", " 5 ", false, false, -1, 320000, "5 мин назад");
        row("5 min overdue", "5", " 5 ", false, false, -1, 332000, lost);
        row("no limit", "5", " 9 ", false, false, -1, 7300000, "2 ч назад");
        row("pause", "5", " 1 ", true, false, -1, 400000, PupilLive::PauseText);
        row("share refused", "5", " 1 ", false, true, -1, 1000, lost);
        row("look hangs", "5", " 1 ", false, false, 6000, 10000, lost);
        row("look slow", "5", " 1 ", false, false, 3000, 10000, "10 с назад");
        row("first question", "1", " 1 ", false, false, -1, 20000, PupilLive::NoAnswerText);
        row("first question overdue", "1", " 1 ", false, false, -1, 95000, lost);
        row("finished", "10", " 1 ", false, true, -1, 900000, "закончил, оценка 4", " 4 ");
    }
    void lastAnswerCell()
    {
        QFETCH(QString, curr);
        QFETCH(QString, ocenka);
        QFETCH(QString, setting);
        QFETCH(bool, pause);
        QFETCH(bool, failed);
        QFETCH(qint64, lookingMs);
        QFETCH(qint64, elapsedMs);
        QFETCH(QString, text);
        const QString lost = PupilLive::NoConnectionText;
        const qint64 wall = QDateTime::currentMSecsSinceEpoch();
        PupilLook look;
        look.progress = {true, 180, wall};
        look.session = {true, 4000, wall + (pause ? 5000 : -500)};
        look.read = true;
        look.status = pupilstatus::applyLines(progressLines("10", curr, "3", ocenka), {});
        look.answerSeconds =
            answerSecondsOf(setting == u'-' ? std::nullopt : std::optional<QString>(setting));
        const qint64 seen = 50000;
        const qint64 now = seen + elapsedMs;
        const auto watched = [&](const PupilLook &first) {
            PupilLive live;
            live.looked(first, seen, wall);
            if (failed) {
                PupilLook refused;
                refused.failed = true;
                live.looked(refused, now, wall + elapsedMs);
            }
            if (lookingMs >= 0)
                live.lookStarted(now - lookingMs);
            return live;
        };
        const PupilLive live = watched(look);
        QCOMPARE(live.text(look.status, now), text);
        // A computer without a pupil shows nothing unless its share does not answer.
        const bool unreachable = failed || lookingMs > PupilLive::LostAfterMs;
        QCOMPARE(live.text(PupilStatus(), now), unreachable ? lost : QString());
        // The same files on a share whose clock is ten minutes off ours, measured or not.
        for (const qint64 skew : {-600000ll, 600000ll}) {
            for (const bool measured : {true, false}) {
                PupilLook shifted = look;
                shifted.progress.modifiedMs += skew;
                shifted.session->modifiedMs += skew;
                if (measured)
                    shifted.clockSkew = skew;
                QCOMPARE(watched(shifted).text(look.status, now), text);
            }
        }
    }

    void pagesWithTenTwentyAndFortyNineComputers()
    {
        Classroom classroom;
        MonitorPages pages(classroom);
        // The page, whether "previous" and "next" show, the computer of the first row.
        const auto shows = [&pages] {
            return QList<int>{pages.page(), pages.previousVisible(), pages.nextVisible(),
                              pages.computerInRow(0)};
        };
        classroom.assign(10, {});
        QCOMPARE(shows(), QList<int>({1, 0, 0, 1}));
        QCOMPARE(pages.computerInRow(14), 15);
        classroom.assign(20, {});
        QCOMPARE(shows(), QList<int>({1, 0, 1, 1}));
        pages.next();
        QCOMPARE(shows(), QList<int>({2, 1, 1, 16}));
        pages.next();
        QCOMPARE(shows(), QList<int>({3, 1, 0, 31}));
        QCOMPARE(pages.computerInRow(14), 45);
        pages.next();
        QCOMPARE(shows(), QList<int>({3, 1, 0, 31}));

        // Computers 46-50 have a page of their own, whose rows end with computer 50.
        classroom.assign(49, {});
        QCOMPARE(shows(), QList<int>({3, 1, 1, 31}));
        pages.next();
        QCOMPARE(shows(), QList<int>({4, 1, 0, 46}));
        QCOMPARE(pages.rowsUsed(), 5);
        pages.next();
        QCOMPARE(shows(), QList<int>({4, 1, 0, 46}));
        for (int i = 0; i < 4; ++i)
            pages.previous();
        QCOMPARE(shows(), QList<int>({1, 0, 1, 1}));
    }
};

QTEST_GUILESS_MAIN(PupilStatusTest)
#include "tst_pupilstatus.moc"
