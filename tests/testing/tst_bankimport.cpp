#include "core/textfile.h"
#include "testing/bankimport.h"

#include <QTest>

namespace {
const QByteArray Bom("\xEF\xBB\xBF");
const QByteArray Header("topic;question;answer1;answer2;answer3;answer4;answer5;right;picture\r\n");
const QByteArray Row("Тема;Вопрос;а;б;в;г;д;2;\r\n"); // not a header: "2" is a number

QString bankText(const BankDocument &document)
{
    return textfile::decode1251(bankBytes(document));
}
} // namespace

class tst_bankimport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void takesWhatABankCanHold_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("taken");
        QTest::addColumn<QString>("question"); // of the first question taken
        QTest::addColumn<int>("right");
        QTest::addColumn<QString>("refusal"); // the first refusal, with its line

        QTest::addRow("csv with header, byte-order mark")
            << "q.csv" << Bom + Header.toUpper() + Row.toStdString().c_str() << 1 << "Вопрос" << 2
            << QString();
        QTest::addRow("csv without mark, header in Russian")
            << "q.csv" << QByteArray("Тема;Вопрос;1;2;3;4;5;Верный;Рисунок\n") + Row << 1
            << "Вопрос" << 2 << QString();
        QTest::addRow("csv in Windows-1251, comma")
            << "q.CSV"
            << textfile::encode1251("Тема,\"Сколько, если \"\"два\"\"?\",а,б,в,г,д,5,рис.jpg") << 1
            << "Сколько, если \"два\"?" << 5 << QString();
        QTest::addRow("quoted line break")
            << "q.csv" << QByteArray("т;\"две\nстроки\";а;б;в;г;д;1;\r\n") + Row << 2
            << "две строки" << 1 << QString();
        QTest::addRow("four answers") << "q.csv" << Row + "т;в;а;б;в;г;;1;\r\n"
                                      << 1 << "Вопрос" << 2 << "строка 2: ответ 5 пуст";
        QTest::addRow("answers missing")
            << "q.csv" << Row + "т;в;а;б;в;2\r\n"
            << 1 << "Вопрос" << 2 << "строка 2: полей 6, а нужно 8 или 9";
        QTest::addRow("right beyond 5")
            << "q.csv" << QByteArray("т;в;а;б;в;г;д;6;\r\n") << 0 << QString() << 0
            << "строка 1: номер верного ответа должен быть от 1 до 5, а стоит «6»";
        QTest::addRow("right not a number") << "q.csv" << QByteArray("т;в;а;б;в;г;д;2.5;\r\n") << 0
                                            << QString() << 0 << "стоит «2.5»";
        QTest::addRow("no question text") << "q.csv" << QByteArray("т; ;а;б;в;г;д;1;\r\n") << 0
                                          << QString() << 0 << "нет текста вопроса";
        QTest::addRow("outside Windows-1251")
            << "q.csv" << QByteArray("т;в → ☺;а;б;в;г;д;1;\r\n") << 0 << QString() << 0
            << "знаки «→☺» нельзя записать";
        QTest::addRow("picture outside data/jpg")
            << "q.csv" << QByteArray("т;в;а;б;в;г;д;1;../../x\r\n") << 0 << QString() << 0
            << "рисунок «../../x»";
        QTest::addRow("a field after the picture")
            << "q.csv" << QByteArray("т;в;а;б;в;г;д;1;;лишнее;\r\n") << 0 << QString() << 0
            << "ещё поле «лишнее»";

        const QByteArray aiken("# Светофоры\n"
                               "Какой сигнал запрещает движение?\n"
                               "A) Красный\nB) Жёлтый\nC) Зелёный\nD) Лунно-белый\nE) Синий\n"
                               "ANSWER: A\n\n");
        QTest::addRow("aiken") << "q.txt" << aiken << 1 << "Какой сигнал запрещает движение?" << 1
                               << QString();
        QTest::addRow("aiken, Cyrillic labels and answer, Windows-1251")
            << "q.txt" << textfile::encode1251("Вопрос\nА. а\nБ. б\nВ. в\nГ. г\nД. д\nОтвет: в\r\n")
            << 1 << "Вопрос" << 3 << QString();
        QTest::addRow("aiken, Latin labels, Cyrillic letter that looks like B")
            << "q.txt" << QByteArray("Вопрос\nA) а\nB) б\nC) в\nD) г\nE) д\nОТВЕТ: В\n") << 1
            << "Вопрос" << 2 << QString();
        QTest::addRow("aiken, four answers")
            << "q.txt" << aiken + "Вопрос\nA) а\nB) б\nC) в\nD) г\nANSWER: B\n"
            << 1 << "Какой сигнал запрещает движение?" << 1
            << "строка 10: нужно пять ответов, а их 4";
        QTest::addRow("aiken, without answer line")
            << "q.txt" << QByteArray("Вопрос\nA) а\nB) б\nC) в\nD) г\nE) д\n") << 0 << QString()
            << 0 << "строка 1: нет строки «ANSWER:»";
        QTest::addRow("aiken, letter beyond the answers")
            << "q.txt" << QByteArray("Вопрос\nA) а\nB) б\nC) в\nD) г\nE) д\nANSWER: F\n") << 0
            << QString() << 0 << "буква верного ответа «F» не называет ни один из ответов ABCDE";
        QTest::addRow("aiken, answers out of order")
            << "q.txt" << QByteArray("Вопрос\nA) а\nC) б\nB) в\nD) г\nE) д\nANSWER: A\n") << 0
            << QString() << 0 << "«C)» стоит 2-м";
        QTest::addRow("aiken, no blank line between questions")
            << "q.txt" << QByteArray("В\nA) а\nB) б\nC) в\nD) г\nE) д\nANSWER: A\nВторой\n") << 0
            << QString() << 0 << "после строки «ANSWER:» стоит «Второй»";
    }
    void takesWhatABankCanHold()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        QFETCH(int, taken);
        QFETCH(QString, question);
        QFETCH(int, right);
        QFETCH(QString, refusal);
        const bankimport::Result result = bankimport::fromFile(fileName, bytes);
        QCOMPARE(result.taken.size(), taken);
        if (taken > 0) {
            QCOMPARE(result.taken.first().question.question, question);
            QCOMPARE(result.taken.first().question.rightAnswer(), right);
            QCOMPARE(result.taken.first().question.good, QString::number(right));
        }
        QCOMPARE(result.refused.isEmpty(), refusal.isEmpty());
        if (refusal.isEmpty())
            return;
        const bankimport::Refusal &first = result.refused.first();
        const QString described = QStringLiteral("строка %1: %2").arg(first.line).arg(first.reason);
        QVERIFY2(described.contains(refusal), qPrintable(described));
    }

    void topicLinesAndPicturesReachTheBank()
    {
        const bankimport::Result aiken = bankimport::fromAiken(
            "# Первая\nВ1\nA) а\nB) б\nC) в\nD) г\nE) д\nANSWER: E\n\n# Вторая\n"
            "В2\nA) а\nB) б\nC) в\nD) г\nE) д\nANSWER: A\n");
        QCOMPARE(aiken.taken.size(), 2);
        QCOMPARE(aiken.taken.at(0).question.topic, QString("Первая"));
        QCOMPARE(aiken.taken.at(1).question.topic, QString("Вторая"));
        QCOMPARE(aiken.taken.at(1).line, 11);
        QCOMPARE(aiken.taken.at(0).question.answers[4], QString("1д"));
        const bankimport::Result csv = bankimport::fromCsv("т;в;а;б;в;г;д;1;Рис.JPG");
        QCOMPARE(csv.taken.first().question.picture, QString("Рис"));
    }

    // Export, then import into a new bank: the same bank, byte for byte; past the limit of a
    // test the import refuses.
    void exportedBankImportsBackTheSame()
    {
        BankDocument bank = BankDocument::named("Стрелки");
        bank.questions << BankQuestion::withAnswers(" Тема; с «кавычками»", "Сколько \"\"?",
                                                    {"=1", "2,5", " три ", "4", "5"}, 3, "pic")
                       << BankQuestion::withAnswers("", "Второй", {"а", "б", "в", "г", "д"}, 5, "");
        const QByteArray csv = bankimport::toCsv(bank);
        QVERIFY(csv.startsWith(Bom + Header));

        BankDocument again = BankDocument::named("Стрелки");
        bankimport::Result result = bankimport::fromCsv(bankimport::decode(csv));
        QVERIFY(result.refused.isEmpty());
        bankimport::appendTo(again, result, 3);
        QCOMPARE(bankText(again), bankText(bank));

        bankimport::appendTo(again, result, 3);
        QCOMPARE(again.questions.size(), 3);
        QCOMPARE(result.taken.size(), 1);
        QCOMPARE(result.refused.size(), 1);
        QCOMPARE(result.refused.first().reason, QString("в тесте может быть не больше 3 вопросов"));
    }
};

QTEST_GUILESS_MAIN(tst_bankimport)
#include "tst_bankimport.moc"
