#include "core/textfile.h"
#include "network/monitorpages.h"
#include "network/pupilstatus.h"
#include "testsupport.h"

#include <QtTest>

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
    void runningTestShowsProgress()
    {
        const PupilStatus s =
            pupilstatus::applyLines(progressLines(" 20 ", " 7 ", " 5 ", " 0 "), PupilStatus());
        QCOMPARE(s.second, QStringLiteral("Петров"));
        QCOMPARE(s.max, QStringLiteral("20"));
        QVERIFY(s.ocenka.isEmpty());
        const pupilstatus::Row row = pupilstatus::row(4, s);
        QCOMPARE(row.user, QStringLiteral("№4"));
        QCOMPARE(row.name, QStringLiteral("Петров"));
        QCOMPARE(row.prav, QStringLiteral("5/20"));
        QCOMPARE(row.curr, QStringLiteral("7"));
        QVERIFY(row.ocenka.isEmpty());
        QCOMPARE(row.minimum, 1);
        QCOMPARE(row.maximum, 20);
        QCOMPARE(row.value, 7);
    }

    void finishedTestKeepsGrade()
    {
        const PupilStatus s =
            pupilstatus::applyLines(progressLines(" 10 ", " 10 ", " 7 ", " 4 "), PupilStatus());
        QCOMPARE(s.ocenka, QStringLiteral("4"));
        QCOMPARE(pupilstatus::row(1, s).ocenka, QStringLiteral("4"));
    }

    void damagedFilesGiveValidRanges_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::addRow("max 0") << progressLines("0", "3", "1", "0") << 1 << 1;
        QTest::addRow("max negative") << progressLines("-5", "3", "1", "0") << 1 << 1;
        QTest::addRow("curr above max") << progressLines("10", "44", "1", "0") << 10 << 10;
        QTest::addRow("curr 0") << progressLines("10", "0", "1", "0") << 10 << 1;
        QTest::addRow("curr negative") << progressLines("10", "-2", "1", "0") << 10 << 1;
        QTest::addRow("letters") << progressLines("abc", "x", "1", "zz") << 1 << 1;
        QTest::addRow("truncated after max")
            << QStringList{"first", "A", "second", "B", "max"} << 100 << 1;
        QTest::addRow("garbage") << QStringList{QString::fromLatin1("\x01\x02\xff"), "ok"} << 100
                                 << 1;
    }
    void damagedFilesGiveValidRanges()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, maximum);
        QFETCH(int, value);
        const PupilStatus s = pupilstatus::applyLines(lines, PupilStatus());
        const pupilstatus::Row row = pupilstatus::row(1, s);
        QCOMPARE(row.maximum, maximum);
        QVERIFY(row.minimum <= row.value && row.value <= row.maximum);
        QCOMPARE(row.value, value);
        QVERIFY(s.ocenka.isEmpty());
    }

    void filesOnDisk()
    {
        TestProgramFolder folder;
        const QString file = folder.data(QStringLiteral("curr_test.ini"));
        PupilStatus before;
        before.second = QStringLiteral("Старый");
        before.ocenka = QStringLiteral("3");
        // A missing file empties the row: no test since the pupil's program started.
        QCOMPARE(pupilstatus::read(folder.path(), before).second, QString());
        writeBytes(file, "clear\r\n");
        QCOMPARE(pupilstatus::read(folder.path(), before).second, QStringLiteral("Старый"));
        writeBytes(file, textfile::joinLines(progressLines(" 20 ", " 7 ", " 5 ", " 0 ")));
        const PupilStatus read = pupilstatus::read(folder.path(), before);
        QCOMPARE(read.second, QStringLiteral("Петров"));
        QVERIFY(read.ocenka.isEmpty());
        // A half-written file keeps what it could not say yet.
        writeBytes(file, textfile::joinLines({"first", "Олег", "second"}));
        const PupilStatus half = pupilstatus::read(folder.path(), read);
        QCOMPARE(half.first, QStringLiteral("Олег"));
        QCOMPARE(half.second, QStringLiteral("Петров"));
        // A folder in place of the file is damage, shown in the row instead of a name.
        QFile::remove(file);
        QDir().mkpath(file);
        const PupilStatus odd = pupilstatus::read(folder.path(), before);
        QVERIFY(odd.damaged);
        QCOMPARE(pupilstatus::row(1, odd).name, pupilstatus::DamagedText);
    }

    void rowWithoutPupilShowsNumberOnly()
    {
        PupilStatus s;
        s.max = QStringLiteral("20");
        s.ok = QStringLiteral("3");
        const pupilstatus::Row row = pupilstatus::row(12, s);
        QCOMPARE(row.user, QStringLiteral("№12"));
        QVERIFY(row.prav.isEmpty());
        QVERIFY(row.curr.isEmpty());
    }

    void pagesWithTenAndTwentyComputers()
    {
        SessionState session;
        MonitorPages pages(session);
        session.NetCount = 10;
        pages.reset();
        QVERIFY(!pages.nextVisible());
        QVERIFY(!pages.previousVisible());
        QCOMPARE(pages.computerInRow(14), 15);

        session.NetCount = 20;
        QVERIFY(pages.nextVisible());
        pages.next();
        QCOMPARE(pages.page(), 2);
        QVERIFY(pages.nextVisible());
        QVERIFY(pages.previousVisible());
        QCOMPARE(pages.computerInRow(0), 16);
        pages.next();
        QCOMPARE(pages.page(), 3);
        QVERIFY(!pages.nextVisible());
        QCOMPARE(pages.computerInRow(0), 31);
        QCOMPARE(pages.computerInRow(14), 45);
        pages.next();
        QCOMPARE(pages.page(), 3);
        pages.previous();
        pages.previous();
        pages.previous();
        QCOMPARE(pages.page(), 1);
        QVERIFY(!pages.previousVisible());
    }

    void ticksFollowTheFlags()
    {
        MonitorTicks ticks;
        QCOMPARE(ticks.decide(), MonitorTick::Poll);
        QVERIFY(ticks.pollBusy);
        QCOMPARE(ticks.decide(), MonitorTick::Skip);
        ticks.reloadRequested = true;
        QCOMPARE(ticks.decide(), MonitorTick::Reload);
        QVERIFY(!ticks.reloadRequested);
        QVERIFY(!ticks.pollBusy);
    }
};

QTEST_GUILESS_MAIN(PupilStatusTest)
#include "tst_pupilstatus.moc"
