#include "core/textfile.h"
#include "network/resultslog.h"
#include "network/resultslogcsv.h"
#include "testsupport.h"

#include <QtTest>

namespace {
PupilStatus graded(const QString &first, const QString &second, int grade, int ok = 8, int max = 10)
{
    PupilStatus s;
    s.firstName = first;
    s.surname = second;
    s.testName = QStringLiteral("Реле");
    s.rightAnswers = ok;
    s.questionCount = max;
    s.grade = grade;
    return s;
}

QList<PupilStatus> classOf(const QList<int> &grades)
{
    QList<PupilStatus> pupils;
    for (int i = 0; i < grades.size(); ++i)
        pupils << graded(QStringLiteral("Имя"), QStringLiteral("Ученик%1").arg(i + 1),
                         grades.at(i));
    return pupils;
}
} // namespace

class ResultsLogTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void linesAsListedAndPrinted()
    {
        QCOMPARE(resultslog::line(1, graded("Иван", "Петров", 5)),
                 QStringLiteral("  1   ") + QStringLiteral("Петров Иван") + QString(13, u' ') +
                     QStringLiteral("   5    ") + QStringLiteral(" 8 / 10      ") +
                     QStringLiteral(" Реле"));
        QVERIFY(resultslog::line(10, graded("Иван", "Петров", 5)).startsWith("  10  Петров"));
        // A long full name falls back to the surname alone.
        const QString surname12 = QStringLiteral("Абвгдеёжзийк");
        const QString first17 = QStringLiteral("Константинополий");
        QCOMPARE(resultslog::line(2, graded(first17, surname12, 4)).mid(6, 24),
                 surname12.leftJustified(24));
        // A surname longer than 24 is cut to 23 characters and a full stop.
        const QString surname26 = QString(26, u'Ж');
        QCOMPARE(resultslog::line(3, graded("Я", surname26, 3)).mid(6, 24),
                 QString(23, u'Ж') + u'.');
        // The correct column is never cut; the title follows one blank after it.
        const QString line = resultslog::line(4, graded("А", "Б", 2, 1234567, 7654321));
        QVERIFY(line.endsWith(QStringLiteral(" 1234567 / 7654321 Реле")));

        // Printed: a title with Russian month names under any system locale (the test runs
        // under C), the lines and the statistics.
        const resultslog::Log log = resultslog::build(classOf({4}), QLocale::c());
        const QStringList printed = resultslog::printLines(log, QDate(2024, 1, 2));
        QCOMPARE(printed.size(), 7);
        QCOMPARE(printed.at(0), QStringLiteral("Результаты теста проведенного 2 января 2024"));
        QCOMPARE(printed.at(2), log.lines.at(0));
        QCOMPARE(printed.mid(4), log.statistics());
    }

    void statistics_data()
    {
        QTest::addColumn<QList<int>>("grades");
        QTest::addColumn<QString>("average");
        QTest::addColumn<QString>("quality");
        QTest::addColumn<QString>("absolute");
        QTest::addColumn<QString>("excluded");
        const auto row = [](const char *name, const QList<int> &grades, const char *average,
                            const char *quality, const char *absolute, const char *excluded = "") {
            QTest::newRow(name) << grades << QString::fromUtf8(average)
                                << QString::fromUtf8(quality) << QString::fromUtf8(absolute)
                                << QString::fromUtf8(excluded);
        };
        row("5 4 3 2", {5, 4, 3, 2}, "4", "50.0", "75.0");
        row("5 4 2", {5, 4, 2}, "4", "66.667", "66.667");
        row("all 5", {5, 5}, "5", "100.0", "100.0");
        row("2 and 3", {2, 3}, "3", "0.0", "50.0");
        // Grades no test can give are listed but kept out of the statistics.
        row("32767 1 6 -32768 -3 and 2", {32767, 1, 6, -32768, -3, 2}, "2", "0.0", "0.0",
            "1, 2, 3, 4, 5");
        const char *none = "нет оценённых тестов";
        row("only nonsense", {32767}, none, none, none, "1");
        row("none graded", {0, 0}, none, none, none);
    }
    void statistics()
    {
        QFETCH(QList<int>, grades);
        QFETCH(QString, average);
        QFETCH(QString, quality);
        QFETCH(QString, absolute);
        QFETCH(QString, excluded);
        const QLocale c(QLocale::C);
        const resultslog::Log log = resultslog::build(classOf(grades), c);
        QCOMPARE(log.lines.size(), grades.size() - grades.count(0)); // 0: still testing
        const QString percent = average.startsWith(u'н') ? QString() : QStringLiteral(" %");
        QCOMPARE(log.average, QStringLiteral("Средний балл: ") + average);
        QCOMPARE(log.quality, QStringLiteral("Качественная успеваемость: ") + quality + percent);
        QCOMPARE(log.absolute, QStringLiteral("Абсолютная успеваемость: ") + absolute + percent);
        QCOMPARE(log.excluded.section(QStringLiteral(": "), 1), excluded);
        QCOMPARE(log.statistics().size(), excluded.isEmpty() ? 3 : 4);
    }

    void countsThatMakeNoSense_data()
    {
        QTest::addColumn<int>("ok");
        QTest::addColumn<int>("max");
        QTest::addColumn<bool>("counted");
        QTest::addRow("8 of 10") << 8 << 10 << true;
        QTest::addRow("more right than asked") << 11 << 10 << false;
        QTest::addRow("negative") << -1 << 10 << false;
        QTest::addRow("no questions") << 0 << 0 << false;
        QTest::addRow("32767 questions") << 5 << 32767 << false;
        QTest::addRow("151 questions") << 5 << 151 << false;
    }
    void countsThatMakeNoSense()
    {
        QFETCH(int, ok);
        QFETCH(int, max);
        QFETCH(bool, counted);
        QCOMPARE(resultslog::countsInStatistics(graded("А", "Б", 4, ok, max)), counted);
    }

    void systemDecimalSeparatorAndUngradedComputers()
    {
        QList<PupilStatus> pupils = classOf({5, 4, 2});
        pupils[1].grade = 0; // still testing: not listed
        const resultslog::Log log = resultslog::build(pupils, QLocale(QLocale::Russian));
        QCOMPARE(log.lines.size(), 2);
        QVERIFY(log.lines.at(1).startsWith(QStringLiteral("  2   Ученик3")));
        QCOMPARE(log.quality, QStringLiteral("Качественная успеваемость: 50,0 %"));
        QCOMPARE(resultslog::formatPercent(66.6666, QLocale(QLocale::Russian)),
                 QStringLiteral("66,667"));
        QCOMPARE(resultslog::formatAverage(0.4, QLocale::c()), QString());
        QCOMPARE(resultslog::formatAverage(1234.6, QLocale::c()), QStringLiteral("1,235"));
    }

    void historySavedTwiceAppendsTwoBlocksAndUnreadableIsKept()
    {
        TestProgramFolder folder;
        const QString history = folder.jpg(QStringLiteral("7_12.jpg"));
        const QString temporary = folder.jpg(QStringLiteral("7_13.jpg"));
        writeBytes(history, "old\r\n");
        const QLocale c(QLocale::C);
        const resultslog::Log first = resultslog::build(classOf({5, 3}), c);
        const resultslog::Log second = resultslog::build(classOf({2}), c);
        const QDate day(2024, 5, 17);
        for (const resultslog::Log *log : {&first, &second})
            QCOMPARE(
                resultslog::appendHistory(history, temporary, resultslog::historyBlock(*log, day)),
                resultslog::HistorySave::Saved);
        QVERIFY(!QFile::exists(temporary));
        const QStringList expectedSecond =
            QStringList{resultslog::title(day), "", resultslog::HeaderLine, "",
                        second.lines.at(0),     ""} +
            second.statistics() + QStringList{"", QString(60, u'='), "", ""};
        const QStringList lines = readLinesOrEmpty(history);
        QCOMPARE(lines.first(), QStringLiteral("old"));
        QCOMPARE(lines.size(), 1 + 14 + 13);
        QCOMPARE(lines.mid(15), expectedSecond);
        QCOMPARE(lines.at(5), first.lines.at(0));
        QCOMPARE(resultslog::HeaderLine.size(), 66);
        QVERIFY(readBytes(history).endsWith("=\r\n\r\n\r\n"));

        const QString view = folder.data(QStringLiteral("htm/history.txt"));
        QDir().mkpath(folder.data(QStringLiteral("htm")));
        QVERIFY(resultslog::copyHistory(history, view));
        QCOMPARE(readBytes(view), readBytes(history));

        // A history that cannot be read is kept as it is.
        const QByteArray kept = readBytes(history);
        QFile::setPermissions(history, QFileDevice::Permissions());
        if (QFile(history).open(QIODevice::ReadOnly)) {
            // Permissions do not stop this account: a folder in place of the file cannot be read.
            QFile::remove(history);
            QVERIFY(QDir().mkpath(history));
        }
        const QStringList block{QStringLiteral("new")};
        QCOMPARE(resultslog::appendHistory(history, temporary, block),
                 resultslog::HistorySave::Unreadable);
        QFile::setPermissions(history, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (QFileInfo(history).isFile())
            QCOMPARE(readBytes(history), kept);
        QVERIFY(!QFile::exists(temporary));
    }

    void csvOfEveryStoredLesson_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addRow("Russian") << QLocale(QLocale::Russian, QLocale::Russia);
        QTest::addRow("US English") << QLocale(QLocale::English, QLocale::UnitedStates);
        QTest::addRow("German") << QLocale(QLocale::German, QLocale::Germany);
    }
    void csvOfEveryStoredLesson()
    {
        QFETCH(QLocale, locale);
        QList<PupilStatus> pupils = classOf({5, 0, 3});
        pupils[0].surname = QStringLiteral("Иванов; \"Малый\"");
        pupils[2].surname = QStringLiteral("=1+1");
        pupils[2].firstName = QString();
        pupils[2].testName = QStringLiteral("Очень длинное название теста по всему курсу");
        pupils[2].rightAnswers = 100;
        pupils[2].questionCount = 100;
        const QDate first(2025, 11, 3);
        const QDate second(2026, 2, 27);
        const resultslog::Log log = resultslog::build(pupils, locale);
        const QStringList history =
            resultslog::historyBlock(log, first) +
            resultslog::historyBlock(resultslog::build(classOf({4}), locale), second);
        const QList<resultslog::csv::Row> rows = resultslog::csv::historyRows(history, locale);
        const QList<resultslog::csv::Row> today = resultslog::csv::logRows(pupils, first);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[2].date, second);
        QCOMPARE(rows[2].name, QStringLiteral("Ученик1 Имя"));
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(rows[i].date, first);
            QCOMPARE(rows[i].number, today[i].number);
            QCOMPARE(rows[i].grade, today[i].grade);
            QCOMPARE(rows[i].correct, today[i].correct);
            QCOMPARE(rows[i].asked, today[i].asked);
            QCOMPARE(rows[i].test, today[i].test);
        }
        QCOMPARE(rows[1].name, QStringLiteral("=1+1"));
        const QByteArray csv = resultslog::csv::document(rows);
        QVERIFY(
            csv.startsWith("\xEF\xBB\xBFДата;№;Фамилия Имя;Оценка;Правильных;Вопросов;Тест\r\n"));
        const QStringList lines = QString::fromUtf8(csv.mid(3)).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[1],
                 QStringLiteral("03.11.2025;1;\"Иванов; \"\"Малый\"\" Имя\";5;8;10;Реле"));
        QCOMPARE(lines[2], QStringLiteral("03.11.2025;2;'=1+1;3;100;100;Очень длинное название "
                                          "теста по всему курсу"));
        QCOMPARE(lines[3].left(11), QStringLiteral("27.02.2026;"));
    }
};

QTEST_GUILESS_MAIN(ResultsLogTest)
#include "tst_resultslog.moc"
