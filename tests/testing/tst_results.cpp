#include "core/sessionstate.h"
#include "core/textfile.h"
#include "testing/catalogue.h"
#include "testing/journal.h"
#include "testing/results.h"
#include "testsupport.h"
#include "users/userbase.h"

#include <QTest>

class tst_results : public QObject
{
    Q_OBJECT

private:
    static QStringList catalogue()
    {
        QStringList lines{"Каталог", "start"};
        for (const QString &topic : achievementTopics().mid(0, 13))
            lines << "-" << topic << "T01_x.jpg";
        lines << "-"
              << "Тест по всему курсу"
              << "sv9.jpg";
        for (int k = 15; k <= 20; ++k)
            lines << "-"
                  << ""
                  << "";
        return lines;
    }

private Q_SLOTS:
    void journalGrowsAndKeepsWhatItCannotRead()
    {
        TestProgramFolder folder;
        const QString path = folder.data("attempts.txt");
        const QByteArray damaged = "2026-13-40 25:00:00\tIvan\r\nstray line";
        writeBytes(path, damaged);
        const journal::Attempt first{QDateTime(QDate(2026, 12, 9), QTime(10, 5, 7)),
                                     "Иван\tИ.",
                                     "Петров",
                                     "Светофоры",
                                     5,
                                     6,
                                     83.3,
                                     4,
                                     95};
        journal::Attempt second = first;
        second.first = "Пётр";
        second.when = first.when.addDays(1);
        second.grade = 2;
        second.correct = 1;
        second.percent = 16.7;
        QVERIFY(journal::append(path, first));
        QVERIFY(journal::append(path, second));
        QVERIFY(textfile::decode1251(readBytes(path))
                    .startsWith(damaged + "\r\n2026-12-09 10:05:07\tИван И.\t"));
        const QList<journal::Attempt> all = journal::read(path);
        QCOMPARE(all.size(), 2);
        QCOMPARE(all[1], second);
        QCOMPARE(journal::ofUser(all, "Иван\tИ.", "Петров").size(), 1);
        QCOMPARE(journal::users(all).size(), 2);
        QCOMPARE(journal::userName(journal::users(all)[0]), QStringLiteral("Петров Иван И."));
        // More right answers than asked, a grade above 5, a missing field: not an attempt.
        for (const char *bad : {"2026-12-09 10:05:07\ta\tb\tt\t7\t6\t83.3\t4\t95",
                                "2026-12-09 10:05:07\ta\tb\tt\t5\t6\t83.3\t6\t95",
                                "2026-12-09 10:05:07\ta\tb\tt\t5\t6\t83.3\t4"})
            QVERIFY(!journal::parseLine(QString::fromUtf8(bad)));
    }

    void storesByNameAndRenewsTheBase()
    {
        TestProgramFolder folder;
        const QString base = folder.jpg("2_17.jpg");
        UserBase users = UserBase::fromLines({});
        const qsizetype slot =
            users.registerUser("Иван", "Петров", "п", users.find("Иван", "Петров", "п").freeSlot);
        QVERIFY(slot >= 0);
        QVERIFY(users.save(base));

        SessionState s;
        parseTestCatalogue(s, catalogue());
        s.UserFirstName = "Иван";
        s.UserSurname = "Петров";
        s.CurrentTestName = "Светофоры";
        s.Grade = 5;
        QCOMPARE(storeTestResult(s, base), ResultStore::Stored);
        s.Grade = 3;
        QCOMPARE(storeTestResult(s, base), ResultStore::Stored);
        QCOMPARE(s.UserResults[1], QStringLiteral("3"));
        s.CurrentTestName = "Тест по всему курсу";
        s.Grade = 5;
        QCOMPARE(storeTestResult(s, base), ResultStore::Stored);
        const UserRecord stored = UserBase::load(base)->records.at(users.indexOf("Иван", "Петров"));
        QCOMPARE(stored.resultNumber(1), 3);
        QCOMPARE(stored.resultNumber(13), 5);
        QStringList grades = achievementGrades(s);
        QCOMPARE(grades.size(), 14);
        QCOMPARE(grades[1], QStringLiteral("удовл."));
        QCOMPARE(grades[13], QStringLiteral("отлично"));
        QVERIFY(grades[0].isEmpty());

        // A paragraph test is in no slot: nothing changes, the base is still written.
        s.CurrentTestName = "Параграф 1.1";
        s.Grade = 2;
        QCOMPARE(storeTestResult(s, base), ResultStore::NoCatalogueSlot);
        QCOMPARE(achievementGrades(s), grades);

        // An interrupted test stores 0 and shows an empty row.
        s.CurrentTestName = "Светофоры";
        s.Grade = 0;
        QCOMPARE(storeTestResult(s, base), ResultStore::Stored);
        QCOMPARE(s.UserResults[1], QStringLiteral("0"));
        QVERIFY(achievementGrades(s)[1].isEmpty());

        QFile::remove(base);
        QVERIFY(QDir().mkpath(base));
        QCOMPARE(storeTestResult(s, base), ResultStore::BaseNotWritten);
    }

    void achievementRows()
    {
        const QStringList topics = achievementTopics();
        QCOMPARE(topics.size(), 14);
        QCOMPARE(topics.first(), QStringLiteral("Проверка зависимостей"));
        QCOMPARE(topics.at(12), QStringLiteral("Железобетонные конструкции"));
        QCOMPARE(topics.last(), QStringLiteral("Тест по курсу"));
        SessionState fresh;
        QCOMPARE(achievementGrades(fresh), QStringList(14, QString()));
        QCOMPARE(gradeWord(7), QString());
    }

    void descriptionsAndReturnTargets()
    {
        QCOMPARE(testDescriptionForBank("T01_96.jpg"),
                 testDescriptionForName("Проверка зависимостей"));
        QCOMPARE(testDescriptionForBank("t01_108.JPG"),
                 testDescriptionForName("Железобетонные конструкции"));
        QCOMPARE(testDescriptionForBank("sv9.jpg"),
                 QStringLiteral("Тест содержит 100 вопросов по всем темам предмета."));
        QVERIFY(testDescriptionForBank("par_1.jpg").isEmpty());
        QVERIFY(testDescriptionForName("нет такого").isEmpty());

        // A paragraph test states its own number of questions, every sentence once.
        const QString ready = pauseSentence() + "  И так, готовы?";
        QCOMPARE(testIntroduction("par_1.jpg", 12), "Тест содержит 12 вопросов." + ready);
        QCOMPARE(testIntroduction("par_1.jpg", 21), "Тест содержит 21 вопрос." + ready);
        QCOMPARE(testIntroduction("par_1.jpg", 3), "Тест содержит 3 вопроса." + ready);
        QCOMPARE(testIntroduction("par_1.jpg", 111), "Тест содержит 111 вопросов." + ready);
        QCOMPARE(testIntroduction("sv9.jpg", 100), testDescriptionForBank("sv9.jpg") + ready);

        SessionState s;
        QCOMPARE(testReturnTarget(s), TestReturn::Reader);
        s.Mode = SessionMode::CourseTest;
        QCOMPARE(testReturnTarget(s), TestReturn::MainMenu);
        s.TestFromChoice = true;
        QCOMPARE(testReturnTarget(s), TestReturn::TopicChoice);
    }
};

QTEST_GUILESS_MAIN(tst_results)
#include "tst_results.moc"
