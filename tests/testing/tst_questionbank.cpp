#include "testing/questionbank.h"
#include "testsupport.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTest>

#include <numeric>

namespace {
// A bank record: question text, five answers with their markers, the "good" value.
QStringList record(const QString &question, const QStringList &answers, const QString &good,
                   const QString &picture = QString())
{
    QStringList lines{"temaname", "Тема", "vop", question};
    for (int k = 0; k < 5; ++k)
        lines << QStringLiteral("otv%1").arg(k + 1) << answers.value(k);
    return lines << "good" << good << "ris" << picture;
}

QStringList markedAnswers(int right)
{
    QStringList answers;
    for (int k = 1; k <= 5; ++k)
        answers << (k == right ? "1" : "0") + QStringLiteral("ответ %1").arg(k);
    return answers;
}

QStringList bankOf(int count)
{
    QStringList lines{"заголовок", "start", "name", "Светофоры"};
    for (int i = 0; i < count; ++i)
        lines << record(QStringLiteral("Вопрос %1").arg(i), markedAnswers(i % 5 + 1), "1");
    return lines << "end";
}
} // namespace

class tst_questionbank : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void markersDecideAfterTheShuffle()
    {
        QRandomGenerator random(7);
        const PreparedTest test = parseQuestionBank(bankOf(40), "T01_97.jpg", random);
        QVERIFY2(test.ok(), qPrintable(test.error));
        QCOMPARE(test.bank.name, QStringLiteral("Светофоры"));
        int reordered = 0;
        for (int r = 1; r < 40; ++r) {
            const BankRecord &b = test.bank.records[r];
            const int fileRight = r % 5 + 1;
            QCOMPARE(b.answers[b.correct - 1], QStringLiteral("ответ %1").arg(fileRight));
            QStringList sorted(b.answers.begin(), b.answers.end());
            sorted.sort();
            QCOMPARE(sorted, (QStringList{"ответ 1", "ответ 2", "ответ 3", "ответ 4", "ответ 5"}));
            if (b.answers[0] != QStringLiteral("ответ 1") ||
                b.answers[4] != QStringLiteral("ответ 5"))
                ++reordered;
        }
        QVERIFY(reordered > 30);
    }

    // The first record keeps its answers in file order and its "good", or without one its
    // marker. Of two marked answers the later one as shown is right; without a marker "good"
    // follows its answer through the shuffle.
    void rightAnswerFollowsTheShuffle()
    {
        const QStringList twice{"0а", "1б", "0в", "1г", "0д"};
        QStringList lines{"start"};
        lines << record("Первый", markedAnswers(2), "4") << record("Два верных", twice, "1")
              << record("Без меток", {"0а", "0б", "", "0г", "0д"}, "2");
        for (quint32 seed = 1; seed <= 20; ++seed) {
            QRandomGenerator random(seed);
            const QuestionBank bank = parseQuestionBank(lines, "b.jpg", random).bank;
            QCOMPARE(bank.records[0].correct, qint16(4));
            for (int k = 0; k < 5; ++k)
                QCOMPARE(bank.records[0].answers[k], QStringLiteral("ответ %1").arg(k + 1));
            const BankRecord &b = bank.records[1];
            const qsizetype posB =
                std::find(b.answers.begin(), b.answers.end(), "б") - b.answers.begin();
            const qsizetype posG =
                std::find(b.answers.begin(), b.answers.end(), "г") - b.answers.begin();
            QCOMPARE(b.correct, qint16(qMax(posB, posG) + 1));
            QCOMPARE(bank.records[2].answers[bank.records[2].correct - 1], QStringLiteral("б"));
        }
        lines.remove(1 + 14, 2); // the first record's "good" and its value
        QRandomGenerator random(1);
        const PreparedTest withoutGood = parseQuestionBank(lines, "b.jpg", random);
        QVERIFY2(withoutGood.ok(), qPrintable(withoutGood.error));
        QCOMPARE(withoutGood.bank.records[0].correct, qint16(2));
    }

    // Banks that still play, and what their author is told about them.
    void playableBanksReportTheirFlaws_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("questions");
        QTest::addColumn<QString>("problem");
        const QStringList one = record("Вопрос", markedAnswers(1), "1");
        const QStringList two = record("Второй", markedAnswers(2), "2");
        QTest::addRow("last record cut before ris")
            << (QStringList{"start"} + one + two.mid(0, 8)) << 1
            << "вопрос 2, строка 20: вопрос не закончен строкой «ris»";
        QTest::addRow("cut off after a key line")
            << (QStringList{"start"} + one + QStringList{"temaname"}) << 1
            << "строка 20: ключ «temaname» стоит в последней строке";
        QTest::addRow("closing ris without its empty value")
            << (QStringList{"start"} + one + two.mid(0, 17)) << 2
            << "вопрос 2, строка 36: после «ris» нет строки значения";
        QStringList twice = two;
        twice[11] = "1ответ 4";
        QTest::addRow("two answers marked")
            << (QStringList{"start"} + one + twice) << 2
            << "вопрос 2, строка 20: верными («1») отмечены несколько ответов: 2, 4";
        QTest::addRow("good disagrees with the marker")
            << (QStringList{"start"} + one + record("Второй", markedAnswers(2), "5")) << 2
            << "вопрос 2, строка 20: «good» 5 не совпадает с ответом 2";
        QTest::addRow("misspelt key") << (QStringList{"start", "god", "3"} + one) << 1
                                      << "вопрос 1, строка 2: неизвестный ключ «god»";
        QTest::addRow("empty question ends the test")
            << (QStringList{"start"} + one + record("", markedAnswers(1), "1") + two) << 1
            << "вопрос 2, строка 20: нет текста вопроса";
        QTest::addRow("exactly 150 questions") << bankOf(150) << 150 << QString();
    }
    void playableBanksReportTheirFlaws()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, questions);
        QFETCH(QString, problem);
        QRandomGenerator random(2);
        const PreparedTest test = parseQuestionBank(lines, "b.jpg", random);
        QVERIFY2(test.ok(), qPrintable(test.error));
        QCOMPARE(test.bank.questionCount(), questions);
        QStringList described;
        for (const BankProblem &p : test.problems)
            described << p.describe();
        QVERIFY2(described.join('\n').contains(problem), qPrintable(described.join('\n')));
    }

    void hundredRecordsGiveEveryIndexOnce()
    {
        for (quint32 seed : {1u, 2u, 99u}) {
            QRandomGenerator random(seed);
            const PreparedTest test = parseQuestionBank(bankOf(100), "sv9.jpg", random);
            QCOMPARE(test.bank.lastIndex, 99);
            QList<int> order = drawQuestionOrder(test.bank.lastIndex, random);
            std::sort(order.begin(), order.end());
            QList<int> everyIndex(100);
            std::iota(everyIndex.begin(), everyIndex.end(), 0);
            QCOMPARE(order, everyIndex);
        }
        // The first pick is never the last index.
        QRandomGenerator random(11);
        for (int i = 0; i < 300; ++i)
            QVERIFY(drawQuestionOrder(3, random).first() != 3);
        QCOMPARE(drawQuestionOrder(0, random), QList<int>{0});
    }

    void preparesFromFileOrNamesTheMissingOne()
    {
        TestProgramFolder folder;
        QStringList lines = bankOf(20);
        lines.insert(2, "time");
        lines.insert(3, " 30 ");
        writeBytes(folder.jpg("T01_96.jpg"), textfile::joinLines(lines));
        QRandomGenerator random(8);
        const PreparedTest test = prepareTest(folder.jpg("T01_96.jpg"), random);
        QVERIFY2(test.ok(), qPrintable(test.error));
        QCOMPARE(test.order.size(), 20);
        QCOMPARE(test.bank.time, qint16(30));
        const PreparedTest missing = prepareTest(folder.jpg("T01_100.jpg"), random);
        QVERIFY(!missing.ok());
        QVERIFY(missing.error.contains("не найден файл вопросов «T01_100.jpg»"));
    }

    void damagedBanksNeverStart_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("fault");
        const QStringList one = record("Вопрос", markedAnswers(1), "1");
        QTest::addRow("no start") << (QStringList{"name", "x"} + one) << "нет строки «start»";
        QTest::addRow("time not a number")
            << (QStringList{"start", "time", "полчаса"} + one) << "строка 2: значение «time»";
        QStringList badGood = one;
        badGood[15] = "первый";
        QTest::addRow("good not a number")
            << (QStringList{"start"} + badGood) << "вопрос 1, строка 16: значение «good»";
        // Found by fuzzing: an unmarked question whose "good" names no answer.
        QTest::addRow("unmarked question, good beyond 5")
            << (QStringList{"start"} + one + record("Без меток", {"0а", "0б", "0в"}, "11"))
            << "вопрос 2, строка 20: верный ответ не указан";
        QTest::addRow("unmarked first question without good")
            << (QStringList{"start"} + record("Первый", {"0а", "0б", "0в", "0г", "0д"}, "0"))
            << "вопрос 1, строка 2: верный ответ не указан";
        QTest::addRow("time beyond 16 bits")
            << (QStringList{"start", "time", "70000"} + one) << "time";
        QTest::addRow("no question") << QStringList{"start", "name", "x", "end"} << "ни одного";
        QTest::addRow("more than the table holds") << bankOf(202) << "больше 200";
        QTest::addRow("more than a test records")
            << bankOf(151) << "вопрос 151, строка 2705: в тесте может быть не больше 150";
        QTest::addRow("201 records") << bankOf(201) << "не больше 150 вопросов, а в файле их 201";
    }
    void damagedBanksNeverStart()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, fault);
        QRandomGenerator random(2);
        const PreparedTest test = parseQuestionBank(lines, "T01_99.jpg", random);
        QVERIFY(!test.ok());
        QVERIFY2(test.error.contains(fault), qPrintable(test.error));
        QVERIFY(test.error.contains("T01_99.jpg"));
        QVERIFY(test.order.isEmpty());
    }

    // What the editor and the import read and write back: nothing of the file is lost or moved.
    void unchangedBankIsWrittenByteForByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QDir demo(QStringLiteral(TARVEL_DEMO_DATA "/jpg"));
        const QStringList banks = demo.entryList({"T01_*.jpg"}, QDir::Files);
        QVERIFY(banks.size() > 5);
        for (const QString &bank : banks)
            QTest::addRow("%s", qPrintable(bank)) << readBytes(demo.filePath(bank));
        const QStringList one = record("Вопрос", markedAnswers(2), "2", "рис");
        QStringList withoutGood = record("Без good", markedAnswers(3), "");
        withoutGood.remove(14, 2);
        QTest::addRow("no time, a record without good, lines after end")
            << textfile::joinLines(QStringList{"заметка", "", "start", "name", "Т"} + one +
                                   withoutGood + QStringList{"end", "приписка", ""});
        QTest::addRow("no line break after end")
            << textfile::joinLines(QStringList{"start", "name", "Т", "time", " 30"} + one +
                                   QStringList{"end"})
                   .chopped(2);
    }
    void unchangedBankIsWrittenByteForByte()
    {
        QFETCH(QByteArray, bytes);
        BankDocument document;
        QList<BankProblem> problems;
        QVERIFY(readBankDocument(bytes, document, problems));
        QVERIFY(!document.questions.isEmpty());
        QCOMPARE(bankBytes(document), bytes);
    }
};

QTEST_GUILESS_MAIN(tst_questionbank)
#include "tst_questionbank.moc"
