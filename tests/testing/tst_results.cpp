#include "core/sessionstate.h"
#include "core/textfile.h"
#include "testing/answerjournal.h"
#include "testing/catalogue.h"
#include "testing/itemanalysis.h"
#include "testing/journal.h"
#include "testing/mistakepractice.h"
#include "testing/results.h"
#include "testing/testrun.h"
#include "testsupport.h"
#include "users/userbase.h"

#include <QDir>
#include <QLockFile>
#include <QRandomGenerator>
#include <QTest>

class tst_results : public QObject
{
    Q_OBJECT

private:
    static QStringList catalogue()
    {
        QStringList lines{"Каталог", "start"};
        for (const QString &topic : achievementTopics(SessionState()).mid(0, 13))
            lines << "-" << topic << "T01_x.jpg";
        lines << "-" << QString("Тест по всему курсу") << "sv9.jpg";
        for (int k = 15; k <= 20; ++k)
            lines << "-" << QString() << QString();
        return lines;
    }

    // A class of 40 attempts on two computers (attempt i and i + 1 share name and start), the
    // first 20 strong, and 10 more that asked question 9 alone. Question 1: everyone right;
    // 2: the strong get it wrong; 3: distractor 4 catches 70 %; 4, 6-8: the strong get them right;
    // 5: hard, its wrong answers spread evenly; 9: too few attempts for the groups.
    static QList<QList<answerjournal::Answer>> plantedClass()
    {
        const QDateTime start(QDate(2026, 12, 1), QTime(9, 0));
        QList<QList<answerjournal::Answer>> journals(2);
        int hardWrong = 0;
        const auto chosen = [&](int i, int question) {
            const bool strong = i < 20;
            switch (question) {
            case 1:
                return 2;
            case 2:
                return strong ? 3 : 1;
            case 3:
                return i % 10 >= 7 ? 1 : 4;
            case 5:
                return i % 10 >= 8 ? 5 : 1 + hardWrong++ % 4;
            default:
                return strong ? 2 : 5;
            }
        };
        const QList<int> rightPlace{0, 2, 1, 1, 2, 5, 2, 2, 2};
        for (int i = 0; i < 40; ++i) {
            for (int question = 1; question <= 8; ++question) {
                const int place = chosen(i, question);
                const bool right = place == rightPlace[question];
                const QString pupil = QString::number(i / 2);
                const QDateTime when = start.addSecs(i / 2 * 60);
                journals[i % 2] << answerjournal::Answer{when,     "Ученик", pupil, "T01_96.jpg",
                                                         question, place,    right, 3};
            }
        }
        for (int i = 0; i < 10; ++i)
            journals[0] << answerjournal::Answer{
                start.addDays(1).addSecs(i), "Ученик", "9", "T01_96.jpg", 9, 3, true, 3};
        // Outside the range or of another bank: never counted.
        journals[1]
            << answerjournal::Answer{start.addDays(-1), "Ученик", "0", "T01_96.jpg", 1, 4, false, 3}
            << answerjournal::Answer{start, "Ученик", "0", "T02_96.jpg", 1, 4, false, 3};
        return journals;
    }

    // An answer of Иван Петров (or of another surname) to question "A3" (record 3 of bank A) on
    // day `day` of December at minute `minute` of 9 o'clock.
    static answerjournal::Answer answered(int day, int minute, const QString &question, int chosen,
                                          bool right, const QString &surname = "Петров")
    {
        return {QDateTime(QDate(2026, 12, day), QTime(9, minute)),
                "Иван",
                surname,
                QStringLiteral("T0%1.jpg").arg(question.front()),
                question.mid(1).toInt(),
                chosen,
                right,
                5};
    }

private Q_SLOTS:
    void itemAnalysisOfAPlantedClass_data()
    {
        QTest::addColumn<int>("question");
        QTest::addColumn<QString>("csvLine");
        QTest::addRow("everyone right") << 1 << "1;40;100,0;0,00;;;3,0;слишком лёгкий";
        QTest::addRow("the best get it wrong") << 2 << "2;40;50,0;-1,00;3;50,0;3,0;проверьте ключ";
        QTest::addRow("a distractor catches most")
            << 3 << "3;40;30,0;0,55;4;70,0;3,0;проверьте ключ";
        QTest::addRow("a wrong answer as often as the right one")
            << 4 << "4;40;50,0;1,00;5;50,0;3,0;";
        QTest::addRow("hard") << 5 << "5;40;20,0;0,36;1;20,0;3,0;слишком трудный";
        QTest::addRow("groups under five") << 9 << "9;10;100,0;;;;3,0;слишком лёгкий";
    }
    void itemAnalysisOfAPlantedClass()
    {
        QFETCH(int, question);
        QFETCH(QString, csvLine);
        const QList<itemanalysis::Item> items = itemanalysis::analyse(
            plantedClass(), "T01_96.jpg", QDate(2026, 12, 1), QDate(2026, 12, 2), 9);
        QCOMPARE(items.size(), 9);
        const QByteArray csv = itemanalysis::csv(items);
        QVERIFY(csv.startsWith("\xEF\xBB\xBFquestion;"));
        const QStringList lines = QString::fromUtf8(csv.mid(3)).split("\r\n");
        QCOMPARE(lines.first(),
                 QStringLiteral("question;asked;facility;discrimination;"
                                "top_wrong_answer;top_wrong_share;mean_seconds;flag"));
        const auto row =
            std::find_if(items.begin(), items.end(),
                         [&](const itemanalysis::Item &item) { return item.question == question; });
        QVERIFY(row != items.end());
        QCOMPARE(lines.at(row - items.begin() + 1), csvLine);
        // The range ends the day before question 9 was asked and opens before the class.
        const QList<itemanalysis::Item> firstDay =
            itemanalysis::analyse(plantedClass(), "T01_96.jpg", QDate(), QDate(2026, 12, 1), 9);
        QCOMPARE(firstDay.size(), 8);
        QCOMPARE(firstDay.first().asked, 41);
    }

    void mistakesToPractise_data()
    {
        QTest::addColumn<QList<answerjournal::Answer>>("journal");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("wrong then right twice on different days leaves")
            << QList{answered(1, 0, "A3", 2, false), answered(2, 0, "A3", 1, true),
                     answered(3, 0, "A3", 1, true)}
            << QStringList();
        QTest::addRow("right twice the same day stays")
            << QList{answered(1, 0, "A3", 2, false), answered(2, 0, "A3", 1, true),
                     answered(2, 30, "A3", 1, true)}
            << QStringList{"A3"};
        QTest::addRow("right answers before the mistake do not count")
            << QList{answered(1, 0, "A3", 1, true), answered(2, 0, "A3", 1, true),
                     answered(3, 0, "A3", 0, false)}
            << QStringList{"A3"};
        QTest::addRow("wrong again after mastering comes back")
            << QList{answered(1, 0, "A3", 2, false), answered(2, 0, "A3", 1, true),
                     answered(3, 0, "A3", 1, true), answered(4, 0, "A3", 5, false)}
            << QStringList{"A3"};
        // Bank A's right answer is in place 1, but record 5's is in place 4 and record 30 is the
        // last; bank B's is in place 2; bank C could not be loaded.
        QTest::addRow("changed record dropped")
            << QList{answered(1, 0, "A5", 4, false), answered(1, 1, "A6", 3, true),
                     answered(2, 1, "A6", 2, false), answered(1, 2, "A31", 2, false),
                     answered(1, 3, "C1", 2, false), answered(1, 4, "B1", 1, false),
                     answered(1, 5, "A7", 0, false)}
            << QStringList{"A7", "B1"};
        QTest::addRow("only his own")
            << QList{answered(1, 0, "A3", 2, false, "Сидоров"), answered(1, 1, "A4", 2, false),
                     answered(2, 0, "A4", 1, true, "Сидоров"),
                     answered(3, 0, "A4", 1, true, "Сидоров")}
            << QStringList{"A4"};
        QList<answerjournal::Answer> many;
        QStringList latest;
        for (int record = 1; record <= 25; ++record)
            many << answered(1, record, QStringLiteral("A%1").arg(record), 3, false);
        for (int record = 25; record > 5; --record)
            latest << QStringLiteral("A%1").arg(record);
        QTest::addRow("at most 20, most recent first") << many << latest;
        // A clock set back puts the journal out of time order: the answers count in time order.
        QTest::addRow("journal out of time order")
            << QList{answered(3, 0, "A3", 1, true), answered(2, 0, "A3", 1, true),
                     answered(1, 0, "A3", 2, false)}
            << QStringList();
    }
    void mistakesToPractise()
    {
        QFETCH(QList<answerjournal::Answer>, journal);
        QFETCH(QStringList, expected);
        MistakePractice::BankKeys keys{{"T0A.jpg", QList<int>(30, 1)},
                                       {"T0B.jpg", QList<int>(30, 2)}};
        keys["T0A.jpg"][4] = 4;
        QStringList chosen;
        for (const MistakePractice::Question &question :
             MistakePractice(journal, "Иван", "Петров").questions(keys))
            chosen << question.bank.mid(2, 1) + QString::number(question.record);
        QCOMPARE(chosen, expected);
    }

    void journalsGrowAndKeepWhatTheyCannotRead()
    {
        TestProgramFolder folder;
        const QString path = folder.data("answers.txt");
        const QByteArray damaged = "2026-12-01 09:00:00\tИван\r\nstray";
        writeBytes(path, textfile::encode1251(QString::fromUtf8(damaged)));
        const QList<answerjournal::Answer> attempt = plantedClass().first().mid(0, 8);
        QVERIFY(answerjournal::append(path, attempt));
        QVERIFY(textfile::decode1251(readBytes(path))
                    .startsWith(QString::fromUtf8(damaged) + "\r\n2026-12-01 09:00:00\tУченик\t0\t"
                                                             "T01_96.jpg\t1\t2\t1\t3\r\n"));
        QCOMPARE(answerjournal::parse(readBytes(path)), attempt);
        QCOMPARE(answerjournal::parse(readBytes(path), "T02_96.jpg").size(), 0);
        // A record number 0, a place above 5, a right mark 2, a missing field: not an answer.
        for (const char *bad : {"0\t1\t1\t3", "1\t6\t1\t3", "1\t1\t2\t3", "1\t1\t1"})
            QVERIFY(!answerjournal::parseLine("2026-12-09 10:05:07\ta\tb\tT.jpg\t" + QString(bad)));

        // The practice of mistakes names a journal it cannot read and looks up only plain bank
        // names, in data/jpg.
        QStringList looked;
        const auto bankPath = [&](const QString &bank) {
            looked << bank;
            return folder.jpg(bank);
        };
        QRandomGenerator random(1);
        const QString notAFile = folder.data("answers_folder.txt");
        QVERIFY(QDir().mkpath(notAFile));
        QVERIFY(prepareMistakePractice(notAFile, bankPath, "Иван", "Петров", random)
                    .error.contains(QDir::toNativeSeparators(notAFile)));
        answerjournal::Answer outside = answered(1, 0, "A3", 2, false);
        outside.bank = "../2_17.jpg";
        answerjournal::Answer missing = answered(1, 1, "A3", 2, false);
        missing.bank = "nothere.jpg";
        QVERIFY(answerjournal::append(path, {outside, missing}));
        const PreparedTest nothing =
            prepareMistakePractice(path, bankPath, "Иван", "Петров", random);
        QCOMPARE(looked, QStringList{"nothere.jpg"});
        QVERIFY(!nothing.ok());
        QVERIFY(nothing.error.startsWith(QStringLiteral("Работать над ошибками пока не над чем")));

        // The journal of attempts, likewise.
        const QString attempts = folder.data("attempts.txt");
        const QByteArray damagedAttempts = "2026-13-40 25:00:00\tIvan\r\nstray line";
        writeBytes(attempts, damagedAttempts);
        const QDateTime when(QDate(2026, 12, 9), QTime(10, 5, 7));
        const journal::Attempt first{when, "Иван\tИ.", "Петров", "Светофоры", 5, 6, 83.3, 4, 95};
        const journal::Attempt second{
            when.addDays(1), "Пётр", "Петров", "Светофоры", 1, 6, 16.7, 2, 95};
        QVERIFY(journal::append(attempts, first));
        QVERIFY(journal::append(attempts, second));
        QVERIFY(textfile::decode1251(readBytes(attempts))
                    .startsWith(damagedAttempts + "\r\n2026-12-09 10:05:07\tИван И.\t"));
        const QList<journal::Attempt> all = journal::read(attempts);
        QCOMPARE(all.size(), 2);
        QCOMPARE(all[1], second);
        QCOMPARE(journal::ofUser(all, "Иван\tИ.", "Петров").size(), 1);
        QCOMPARE(journal::users(all).size(), 2);
        QCOMPARE(journal::userName(journal::users(all)[0]), QStringLiteral("Петров Иван И."));
        // More right answers than asked, a grade above 5, a missing field: not an attempt.
        for (const char *bad : {"7\t6\t83.3\t4\t95", "5\t6\t83.3\t6\t95", "5\t6\t83.3\t4"})
            QVERIFY(!journal::parseLine("2026-12-09 10:05:07\ta\tb\tt\t" + QString(bad)));
    }

    void storesDescribesAndReturnsByName()
    {
        TestProgramFolder folder;
        const QString base = folder.jpg("2_17.jpg");
        QVERIFY(baseOf({user("Иван", "Петров", "п"), UserRecord()}).save(base));

        SessionState s;
        parseTestCatalogue(s, catalogue());
        s.user.firstName = "Иван";
        s.user.surname = "Петров";
        // The 14 rows of the course, without grades yet.
        const QStringList topics = achievementTopics(s);
        QCOMPARE(topics.size(), 14);
        QCOMPARE(topics.first(), QStringLiteral("Проверка зависимостей"));
        QCOMPARE(topics.at(12), QStringLiteral("Железобетонные конструкции"));
        QCOMPARE(topics.last(), QStringLiteral("Тест по курсу"));
        QCOMPARE(achievementGrades(s), QStringList(14, QString()));
        QCOMPARE(gradeWord(7), QString());
        QCOMPARE(storeTestResult(s, {"Светофоры", 5}, base).result(), ResultStore::Stored);
        QCOMPARE(storeTestResult(s, {"Светофоры", 3}, base).result(), ResultStore::Stored);
        QCOMPARE(s.user.results[1], QStringLiteral("3"));
        QCOMPARE(storeTestResult(s, {"Тест по всему курсу", 5}, base).result(),
                 ResultStore::Stored);
        const UserRecord stored = UserBase::load(base)->records.at(0);
        QCOMPARE(stored.resultNumber(1), 3);
        QCOMPARE(stored.resultNumber(13), 5);
        QStringList grades = achievementGrades(s);
        QCOMPARE(grades.size(), 14);
        QCOMPARE(grades[1], QStringLiteral("удовл."));
        QCOMPARE(grades[13], QStringLiteral("отлично"));
        QVERIFY(grades[0].isEmpty());

        // A paragraph test is in no slot: nothing changes, the base is still written, and the
        // pupil is told so in plain words rather than as a missing catalogue entry.
        const TestRun paragraph({"par_1.jpg", "Параграф 1.1"});
        QCOMPARE(storeTestResult(s, gradeOf(s, paragraph), base).result(),
                 ResultStore::ParagraphTest);
        QCOMPARE(achievementGrades(s), grades);
        const TestRun chosen({"par_1.jpg", "Параграф 1.1", true});
        QCOMPARE(storeTestResult(s, gradeOf(s, chosen), base).result(),
                 ResultStore::NoCatalogueSlot);

        // An interrupted test stores 0 and shows an empty row.
        QCOMPARE(storeTestResult(s, {"Светофоры", 0}, base).result(), ResultStore::Stored);
        QCOMPARE(s.user.results[1], QStringLiteral("0"));
        QVERIFY(achievementGrades(s)[1].isEmpty());

        // A base another program holds: the caller goes on at once, the grades land in the
        // order given once it is let go.
        QLockFile held(UserBase::lockFile(base));
        QVERIFY(held.tryLock(0));
        QFuture<ResultStore> first = storeTestResult(s, {"Светофоры", 5}, base);
        QFuture<ResultStore> second = storeTestResult(s, {"Светофоры", 4}, base);
        QVERIFY(!second.isFinished());
        held.unlock();
        QCOMPARE(first.result(), ResultStore::Stored);
        QCOMPARE(second.result(), ResultStore::Stored);
        const UserBase after = *UserBase::load(base);
        QCOMPARE(after.records.at(after.indexOf("Иван", "Петров")).resultNumber(1), 4);

        QFile::remove(base);
        QVERIFY(QDir().mkpath(base));
        QCOMPARE(storeTestResult(s, {"Светофоры", 4}, base).result(), ResultStore::BaseNotWritten);

        // The school's own tests of slots 15-20 follow with their grades.
        s.catalogue.names[16] = QStringLiteral("Переезды");
        s.user.results[16] = QStringLiteral("4");
        s.user.results[15] = QStringLiteral("5");
        QCOMPARE(achievementTopics(s).mid(14), QStringList{"Переезды"});
        QCOMPARE(achievementGrades(s).mid(14), QStringList{"хорошо"});

        // Each test is described by its bank or name and returns where it was chosen.
        QCOMPARE(testDescriptionForBank("T01_96.jpg"),
                 testDescriptionForName("Проверка зависимостей"));
        QCOMPARE(testDescriptionForBank("t01_108.JPG"),
                 testDescriptionForName("Железобетонные конструкции"));
        QVERIFY(testDescriptionForBank("par_1.jpg").isEmpty());
        QVERIFY(testDescriptionForName("нет такого").isEmpty());

        // A paragraph test states its own number of questions, every sentence once.
        const QString ready = pauseSentence() + "  И так, готовы?";
        QCOMPARE(testIntroduction("par_1.jpg", 12), "Тест содержит 12 вопросов." + ready);
        QCOMPARE(testIntroduction("par_1.jpg", 21), "Тест содержит 21 вопрос." + ready);
        QCOMPARE(testIntroduction("par_1.jpg", 3), "Тест содержит 3 вопроса." + ready);
        QCOMPARE(testIntroduction("par_1.jpg", 111), "Тест содержит 111 вопросов." + ready);
        QCOMPARE(testIntroduction("sv9.jpg", 100), testDescriptionForBank("sv9.jpg") + ready);

        QCOMPARE(testReturnTarget(s, TestRun({"par_1.jpg"})), TestReturn::Reader);
        s.mode = SessionMode::CourseTest;
        QCOMPARE(testReturnTarget(s, TestRun({"sv9.jpg"})), TestReturn::MainMenu);
        QCOMPARE(testReturnTarget(s, TestRun({"t01_97.jpg", "Светофоры", true})),
                 TestReturn::TopicChoice);
    }
};

QTEST_GUILESS_MAIN(tst_results)
#include "tst_results.moc"
