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

    static SessionRecord answered(const QString &question, int chosen, int right,
                                  const QString &picture = QString())
    {
        SessionRecord record;
        record.topic = QStringLiteral("Светофоры");
        record.question = question;
        for (int k = 1; k <= 5; ++k)
            record.answers[k - 1] = QStringLiteral("ответ %1").arg(k);
        record.picture = picture;
        record.chosenAnswer = chosen;
        record.rightAnswer = right;
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
        records[0] = answered(QStringLiteral("Первый вопрос"), 3, 3, QStringLiteral("ris12"));
        records[1] = answered(QStringLiteral("Второй вопрос"), 1, 4);
        records[3] = answered(QStringLiteral("два\r\nстроки"), 2, 2);
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
        written[0] = answered(QStringLiteral("Первый"), 3, 3);
        written[1] = answered(QStringLiteral("Второй"), 1, 4, QStringLiteral("p2"));
        SessionProgress progress = tenQuestions(10, 7, 4);
        progress.questionCount = 100;
        TestProgramFolder folder;
        const QString path = folder.data(QStringLiteral("temp1.ini"));
        QVERIFY(writeSessionFile(path, progress, written));

        SessionProgress header;
        SessionRecords read;
        clearSessionRecords(read);
        QVERIFY(readSessionFile(path, header, read));
        QCOMPARE(header.firstName, QStringLiteral("Иван"));
        QCOMPARE(header.surname, QStringLiteral("Петров"));
        QCOMPARE(header.testName, QStringLiteral("Светофоры"));
        QCOMPARE(header.questionCount, 100);
        QCOMPARE(header.rightAnswers, 7);
        QCOMPARE(header.grade, 4);
        QCOMPARE(read[0].chosenAnswer, 3);
        QCOMPARE(read[0].rightAnswer, 3);
        QCOMPARE(read[1].chosenAnswer, 1);
        QCOMPARE(read[1].rightAnswer, 4);
        QCOMPARE(read[1].question, QStringLiteral("Второй"));
        QCOMPARE(read[1].answers[2], QStringLiteral("ответ 3"));
        QCOMPARE(read[1].picture, QStringLiteral("p2"));
        QCOMPARE(read[2].chosenAnswer, 0);
        // Only 100 blocks went out; the rest of the table keeps its cleared state.
        QCOMPARE(read[120].question, QString());
    }

    void damagedFilesAreReadAsFarAsTheyGo()
    {
        SessionProgress header;
        SessionRecords records;
        clearSessionRecords(records);
        QVERIFY(!readSessionFile(QStringLiteral("/nonexistent/temp1.ini"), header, records));
        QCOMPARE(records[0].chosenAnswer, 0);

        // Fields before the first "tema", unknown keys, a cut-off end and more than 150 blocks.
        QStringList lines{"vop", "сирота", "max", "abc", "ocenka", "x", "что-то", "1"};
        for (int i = 1; i <= 160; ++i)
            lines << "tema" << QString::number(i) << "otv_user"
                  << "2";
        lines << "otv_ver";
        parseSessionFile(lines, header, records);
        QCOMPARE(header.questionCount, 0);
        QCOMPARE(header.grade, 0);
        QCOMPARE(records[0].question, QString());
        QCOMPARE(records[0].topic, QStringLiteral("1"));
        QCOMPARE(records[149].topic, QStringLiteral("150"));
        QCOMPARE(records[149].chosenAnswer, 2);
        QCOMPARE(records[149].rightAnswer, 0);
    }

    void clearingEmptiesEverySlot()
    {
        SessionRecords records;
        records[149] = answered(QStringLiteral("x"), 1, 2, "p");
        clearSessionRecords(records);
        for (const SessionRecord &record : records) {
            QVERIFY(record.topic.isEmpty() && record.question.isEmpty() &&
                    record.picture.isEmpty());
            for (const QString &answer : record.answers)
                QVERIFY(answer.isEmpty());
            QCOMPARE(record.chosenAnswer, 0);
            QCOMPARE(record.rightAnswer, 0);
        }
    }
};

QTEST_GUILESS_MAIN(tst_sessionfiles)
#include "tst_sessionfiles.moc"
