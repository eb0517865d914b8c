#include "core/sessionstate.h"
#include "reading/outline.h"
#include "testing/catalogue.h"
#include "testing/errorreview.h"
#include "testing/grading.h"
#include "testsupport.h"

#include <QFileInfo>
#include <QSet>
#include <QTest>

class tst_grading : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void repeatedSection_data()
    {
        QTest::addColumn<QString>("bank");
        QTest::addColumn<QString>("renamed");
        QTest::addColumn<QString>("paragraph");
        const QString signal =
            QStringLiteral("2.1.Светофор. Устройство и периодичность обслуживания");
        QTest::addRow("second topic") << "T01_97.jpg" << QString() << signal;
        QTest::addRow("letter case") << "t01_97.JPG" << QString() << signal;
        QTest::addRow("section of two chapters")
            << "T01_101.jpg" << QString() << "6.1.Пульт-табло и аппараты управления. Осмотр";
        QTest::addRow("section numbered apart from its chapter")
            << "T01_102.jpg" << QString() << "8.1.Назначение тоннельной и мостовой сигнализации";
        QTest::addRow("last topic")
            << "T01_108.jpg" << QString() << "15.1. Построение однониточного плана станции";
        QTest::addRow("name matches no section: by number")
            << "T01_99.jpg" << QString("Замки") << "4.1.Назначение и устройство контрольного замка";
        QTest::addRow("course test") << "sv9.jpg" << QString() << QString();
        QTest::addRow("paragraph test") << "T01_P02.jpg" << QString() << QString();
    }
    void repeatedSection()
    {
        QFETCH(QString, bank);
        QFETCH(QString, renamed);
        QFETCH(QString, paragraph);
        TestProgramFolder folder(TestProgramFolder::Content::DemoData);
        SessionState session;
        session.setProgramFolder(folder.path());
        QVERIFY(readTestCatalogue(session, folder.jpg("14_15.jpg")));
        if (!renamed.isEmpty())
            session.catalogue.names[3] = renamed;
        const std::optional<Outline> outline = Outline::load(folder.data("soderjanie.txt"));
        QVERIFY(outline);
        QCOMPARE(sectionToRepeat(session, bank, *outline), paragraph);
    }

    void gradeBoundaries_data()
    {
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("lowest3");
        QTest::addColumn<int>("lowest4");
        QTest::addColumn<int>("lowest5");
        QTest::addRow("10") << 10 << 6 << 7 << 10;
        QTest::addRow("20") << 20 << 11 << 14 << 19;
        QTest::addRow("25") << 25 << 13 << 18 << 23;
        QTest::addRow("100") << 100 << 51 << 70 << 91;
    }
    void gradeBoundaries()
    {
        QFETCH(int, asked);
        QFETCH(int, lowest3);
        QFETCH(int, lowest4);
        QFETCH(int, lowest5);
        for (int correct = 0; correct <= asked; ++correct) {
            const int expected = correct >= lowest5   ? 5
                                 : correct >= lowest4 ? 4
                                 : correct >= lowest3 ? 3
                                                      : 2;
            QCOMPARE(gradeFor(correct, asked), qint16(expected));
        }
    }

    void percentTexts_data()
    {
        QTest::addColumn<int>("correct");
        QTest::addColumn<int>("asked");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("word");
        QTest::addRow("50 of 100") << 50 << 100 << QString("(50%)") << "неуд.";
        QTest::addRow("51 of 100") << 51 << 100 << QString("(51%)") << "удовл.";
        QTest::addRow("7 of 10") << 7 << 10 << QString("(70%)") << "хорошо";
        QTest::addRow("2 of 3") << 2 << 3 << QString("(66.7%)") << "удовл.";
        QTest::addRow("1 of 3") << 1 << 3 << QString("(33.3%)") << "неуд.";
        QTest::addRow("all") << 20 << 20 << QString("(100%)") << "отлично";
        QTest::addRow("none") << 0 << 20 << QString("(0%)") << "неуд.";
        QTest::addRow("1 of 8") << 1 << 8 << QString("(12.5%)") << "неуд.";
    }
    void percentTexts()
    {
        QFETCH(int, correct);
        QFETCH(int, asked);
        QFETCH(QString, text);
        QFETCH(QString, word);
        QCOMPARE(percentText(correct, asked), text);
        QCOMPARE(gradeLookFor(gradeFor(correct, asked)).word, word);
    }

    // Each grade is told apart by its word, colour and verdict; the failing and the top grades
    // are heard, through sound files the program has.
    void gradeLooks()
    {
        QSet<QString> seen;
        for (int grade = 2; grade <= 5; ++grade) {
            const GradeLook look = gradeLookFor(grade);
            seen << look.word << look.verdict << QString::number(look.colour);
            QVERIFY(look.cue.isEmpty() || QFileInfo(TARVEL_DEMO_DATA "/wav/" + look.cue).isFile());
        }
        QCOMPARE(seen.size(), 12);
        QVERIFY(!gradeLookFor(2).cue.isEmpty() && !gradeLookFor(5).cue.isEmpty());
    }

    void elapsedTexts()
    {
        QCOMPARE(elapsedText(59), QStringLiteral("0 мин"));
        QCOMPARE(elapsedText(60), QStringLiteral("1 мин"));
        QCOMPARE(elapsedText(12 * 60 + 59), QStringLiteral("12 мин"));
    }

    void errorReviewOffer_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<bool>("course");
        QTest::addColumn<bool>("oneWrong");
        QTest::addColumn<bool>("shown");
        QTest::addRow("all right") << 1 << false << false << false;
        QTest::addRow("setting 1") << 1 << true << true << true;
        QTest::addRow("setting 2") << 2 << false << true << false;
        QTest::addRow("setting 3 course") << 3 << true << true << false;
        QTest::addRow("setting 3 topic") << 3 << false << true << true;
    }
    void errorReviewOffer()
    {
        QFETCH(int, setting);
        QFETCH(bool, course);
        QFETCH(bool, oneWrong);
        QFETCH(bool, shown);
        SessionRecords records;
        clearSessionRecords(records);
        for (int i = 0; i < 3; ++i)
            records[i].chosenAnswer = records[i].rightAnswer = 2;
        // A wrong answer beyond the questions asked is a leftover and does not count.
        records[5].chosenAnswer = 1;
        if (oneWrong)
            records[2].chosenAnswer = 4;
        QCOMPARE(showErrorsAllowed(3, records, setting, course), shown);
    }

    void compactsWrongAnswers()
    {
        SessionRecords records;
        clearSessionRecords(records);
        for (int i = 1; i <= 10; ++i) {
            SessionRecord &r = records[i - 1];
            r.question = QStringLiteral("Вопрос %1").arg(i);
            r.topic = QStringLiteral("Тема %1").arg(i);
            r.answers[2] = QStringLiteral("ответ %1").arg(i);
            r.picture = i == 5 ? QStringLiteral("p5") : QString();
            r.chosenAnswer = (i == 2 || i == 5 || i == 9) ? 1 : 3;
            r.rightAnswer = 3;
        }
        QCOMPARE(compactWrongAnswers(records), 3);
        for (int i : {0, 1, 2})
            QCOMPARE(records[i].question, QStringLiteral("Вопрос %1").arg(QList{2, 5, 9}[i]));
        QVERIFY(records[3].question.isEmpty());
        QCOMPARE(records[3].chosenAnswer, 0);

        const WrongQuestionView first = showWrongQuestion(records, 1);
        QCOMPARE(first.caption, QStringLiteral("Ошибка № 1"));
        QCOMPARE(first.topic, QStringLiteral("Тема: Тема 2"));
        QVERIFY(!first.previousVisible && first.nextVisible);
        QCOMPARE(first.userAnswer, 1);
        QCOMPARE(first.correctAnswer, 3);
        QCOMPARE(first.answers[2], QStringLiteral("ответ 2"));
        QVERIFY(first.picture.isEmpty());
        const WrongQuestionView second = showWrongQuestion(records, 2);
        QCOMPARE(second.picture, QStringLiteral("p5"));
        const WrongQuestionView third = showWrongQuestion(records, 3);
        QCOMPARE(third.caption, QStringLiteral("Ошибка № 3"));
        QVERIFY(third.previousVisible && !third.nextVisible);

        // Compacting again keeps the same list.
        QCOMPARE(compactWrongAnswers(records), 3);
        QCOMPARE(records[2].question, QStringLiteral("Вопрос 9"));

        // A single wrong answer, the last record: no navigation.
        clearSessionRecords(records);
        records[9].question = QStringLiteral("Последний");
        records[9].chosenAnswer = 2;
        records[9].rightAnswer = 5;
        QCOMPARE(compactWrongAnswers(records), 1);
        const WrongQuestionView view = showWrongQuestion(records, 1);
        QCOMPARE(view.question, QStringLiteral("Последний"));
        QVERIFY(!view.previousVisible && !view.nextVisible);
        QCOMPARE(view.correctAnswer, 5);
    }
};

QTEST_GUILESS_MAIN(tst_grading)
#include "tst_grading.moc"
