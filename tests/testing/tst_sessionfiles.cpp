#include "core/sessionfiles.h"
#include "testsupport.h"

#include <QTest>

Q_DECLARE_METATYPE(SessionProgress)

class tst_sessionfiles : public QObject
{
    Q_OBJECT

private:
    static SessionProgress tenQuestions(int curr, int ok, int grade)
    {
        return {"Иван", "Петров", "Светофоры", 10, curr, ok, grade};
    }

    static SessionRecord answered(const QString &vop, const QString &user, const QString &correct,
                                  const QString &picture = QString())
    {
        SessionRecord record;
        record.tema = QStringLiteral("Светофоры");
        record.vop = vop;
        for (int k = 1; k <= 5; ++k)
            record.otv(k) = QStringLiteral("ответ %1").arg(k);
        record.ris = picture;
        record.otv_user = user;
        record.otv_ver = correct;
        return record;
    }

private Q_SLOTS:
    void progressFileIsByteExact_data()
    {
        QTest::addColumn<SessionProgress>("progress");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray head =
            QByteArray("first\r\n") + textfile::encode1251(QStringLiteral("Иван")) +
            "\r\nsecond\r\n" + textfile::encode1251(QStringLiteral("Петров")) + "\r\nname\r\n" +
            textfile::encode1251(QStringLiteral("Светофоры")) + "\r\nmax\r\n 10 \r\n";
        QTest::addRow("question 3 after two right")
            << tenQuestions(3, 2, 0) << head + "curr\r\n 3 \r\nok\r\n 2 \r\nocenka\r\n 0 \r\n";
        QTest::addRow("after the last answer")
            << tenQuestions(10, 7, 4) << head + "curr\r\n 10 \r\nok\r\n 7 \r\nocenka\r\n 4 \r\n";
    }
    void progressFileIsByteExact()
    {
        QFETCH(SessionProgress, progress);
        QFETCH(QByteArray, expected);
        TestProgramFolder folder;
        const QString path = folder.data(QStringLiteral("curr_test.ini"));
        QVERIFY(writeProgressFile(path, progress));
        QCOMPARE(readBytes(path), expected);
        // Rewriting replaces the whole file.
        QVERIFY(writeProgressFile(path, progress));
        QCOMPARE(readBytes(path), expected);
    }

    void sessionFileHoldsEveryBlockOfTheTest()
    {
        SessionRecords records;
        clearSessionRecords(records);
        records[0] = answered(QStringLiteral("Первый вопрос"), QStringLiteral("3"),
                              QStringLiteral("3"), QStringLiteral("ris12"));
        records[1] =
            answered(QStringLiteral("Второй вопрос"), QStringLiteral("1"), QStringLiteral("4"));
        records[3] = answered(QStringLiteral("два\r\nстроки"), QStringLiteral("2"), "2");
        TestProgramFolder folder;
        const QString path = folder.data(QStringLiteral("temp1.ini"));
        QVERIFY(writeSessionFile(path, tenQuestions(2, 1, 0), records));

        const QByteArray bytes = readBytes(path);
        QVERIFY(bytes.endsWith("\r\n"));
        QVERIFY(!bytes.contains("curr"));
        const QStringList lines = textfile::splitLines(textfile::decode1251(bytes));
        QCOMPARE(lines.size(), 12 + 10 * 20);
        QCOMPARE(lines.mid(6, 6), (QStringList{"max", " 10 ", "ok", " 1 ", "ocenka", " 0 "}));
        // Ten key/value pairs per slot.
        const QStringList first = lines.mid(12, 20);
        QCOMPARE(first, (QStringList{"tema",    "Светофоры", "vop",     "Первый вопрос", "otv1",
                                     "ответ 1", "otv2",      "ответ 2", "otv3",          "ответ 3",
                                     "otv4",    "ответ 4",   "otv5",    "ответ 5",       "ris",
                                     "ris12",   "otv_user",  "3",       "otv_ver",       "3"}));
        QCOMPARE(lines.mid(32 + 14, 6), (QStringList{"ris", "", "otv_user", "1", "otv_ver", "4"}));
        // A slot not yet asked is written as the table holds it.
        QCOMPARE(lines.mid(52, 2), (QStringList{"tema", ""}));
        QCOMPARE(lines.mid(52 + 16, 4), (QStringList{"otv_user", "0", "otv_ver", "0"}));
        // A line break in a value cannot break the layout.
        QCOMPARE(lines.at(72 + 3), QStringLiteral("два строки"));
    }

    void readingBackGivesComparableNumbers()
    {
        SessionRecords written;
        clearSessionRecords(written);
        written[0] = answered(QStringLiteral("Первый"), QStringLiteral("3"), QStringLiteral("3"));
        written[1] = answered(QStringLiteral("Второй"), QStringLiteral("1"), QStringLiteral("4"),
                              QStringLiteral("p2"));
        SessionProgress progress = tenQuestions(10, 7, 4);
        progress.max = 100;
        TestProgramFolder folder;
        const QString path = folder.data(QStringLiteral("temp1.ini"));
        QVERIFY(writeSessionFile(path, progress, written));

        SessionHeader header;
        SessionRecords read;
        clearSessionRecords(read);
        QVERIFY(readSessionFile(path, header, read));
        QCOMPARE(header.first, QStringLiteral("Иван"));
        QCOMPARE(header.second, QStringLiteral("Петров"));
        QCOMPARE(header.name, QStringLiteral("Светофоры"));
        QCOMPARE(header.max, QStringLiteral(" 100"));
        QCOMPARE(header.ok, 7);
        QCOMPARE(header.grade, 4);
        QCOMPARE(read[0].otv_user, QStringLiteral(" 3"));
        QCOMPARE(read[0].otv_ver, QStringLiteral(" 3"));
        QCOMPARE(read[1].otv_user, QStringLiteral(" 1"));
        QCOMPARE(read[1].otv_ver, QStringLiteral(" 4"));
        QCOMPARE(read[1].vop, QStringLiteral("Второй"));
        QCOMPARE(read[1].otv3, QStringLiteral("ответ 3"));
        QCOMPARE(read[1].ris, QStringLiteral("p2"));
        QCOMPARE(read[2].otv_user, QStringLiteral(" 0"));
        // Only 100 blocks went out; the rest of the table keeps its cleared state.
        QCOMPARE(read[120].otv_user, QStringLiteral("0"));
    }

    void damagedFilesAreReadAsFarAsTheyGo()
    {
        SessionHeader header;
        SessionRecords records;
        clearSessionRecords(records);
        QVERIFY(!readSessionFile(QStringLiteral("/nonexistent/temp1.ini"), header, records));
        QCOMPARE(records[0].otv_user, QStringLiteral("0"));

        // Fields before the first "tema", unknown keys, a cut-off end and more than 150 blocks.
        QStringList lines{"vop", "сирота", "max", "abc", "ocenka", "x", "что-то", "1"};
        for (int i = 1; i <= 160; ++i)
            lines << "tema" << QString::number(i) << "otv_user"
                  << "2";
        lines << "otv_ver";
        parseSessionFile(lines, header, records);
        QCOMPARE(header.max, QStringLiteral(" 0"));
        QCOMPARE(header.grade, 0);
        QCOMPARE(records[0].vop, QString());
        QCOMPARE(records[0].tema, QStringLiteral("1"));
        QCOMPARE(records[149].tema, QStringLiteral("150"));
        QCOMPARE(records[149].otv_user, QStringLiteral(" 2"));
        QCOMPARE(records[149].otv_ver, QStringLiteral("0"));
    }

    void clearingEmptiesEverySlot()
    {
        SessionRecords records;
        records[149] = answered(QStringLiteral("x"), QStringLiteral("1"), QStringLiteral("2"), "p");
        clearSessionRecords(records);
        for (const SessionRecord &record : records) {
            QVERIFY(record.tema.isEmpty() && record.vop.isEmpty() && record.ris.isEmpty());
            for (int k = 1; k <= 5; ++k)
                QVERIFY(record.otv(k).isEmpty());
            QCOMPARE(record.otv_user, QStringLiteral("0"));
            QCOMPARE(record.otv_ver, QStringLiteral("0"));
        }
    }
};

QTEST_GUILESS_MAIN(tst_sessionfiles)
#include "tst_sessionfiles.moc"
