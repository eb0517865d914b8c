#include "core/sessionstate.h"
#include "core/textfile.h"
#include "testing/answerjournal.h"
#include "testing/grading.h"
#include "testing/journal.h"
#include "testing/results.h"
#include "testing/resume.h"
#include "testing/testrun.h"
#include "testing/testsession.h"
#include "testsupport.h"
#include "users/userbase.h"

#include <QDir>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

namespace {
QStringList bankLines(int count)
{
    QStringList lines{"start", "name", "Светофоры", "time", "30"};
    for (int i = 0; i < count; ++i) {
        lines << QStringList{"temaname", "Тема", "vop", QStringLiteral("Вопрос %1").arg(i)};
        for (int k = 1; k <= 5; ++k)
            lines << QStringLiteral("otv%1").arg(k) << (k == 2 ? "1" : "0") + QString::number(k);
        lines << QStringList{"good", "2", "ris", i == 1 ? "ris1" : ""};
    }
    return lines << "end";
}

std::shared_ptr<const PreparedTest> bankOf(int count)
{
    QRandomGenerator random(42);
    auto test =
        std::make_shared<PreparedTest>(parseQuestionBank(bankLines(count), "b.jpg", random));
    test->order = drawQuestionOrder(test->bank.lastIndex, random);
    return test;
}

// The state of a program over that folder with that user logged in.
SessionState signedIn(const QString &program, const QString &first)
{
    SessionState state;
    state.setProgramFolder(program);
    state.user.firstName = first;
    state.user.surname = "Петров";
    return state;
}
} // namespace

class tst_testsession : public QObject
{
    Q_OBJECT

private:
    struct Run
    {
        TestProgramFolder folder;
        SessionState state;
        std::shared_ptr<TestRun> test;
        std::unique_ptr<TestSession> session;
        qint64 now = 0;          // the monotonic clock, in milliseconds
        QList<int> chosenPlaces; // the answer texts of the bank are their places in the file

        Run(int questions, const QByteArray &answerTime = QByteArray(), bool fromChoice = false)
            : state(signedIn(folder.path(), "Иван")),
              test(std::make_shared<TestRun>(TestRequest{"b.jpg", {}, fromChoice}))
        {
            test->prepare(bankOf(questions)); // "Светофоры", 30 seconds
            if (!answerTime.isNull())
                writeBytes(folder.jpg("14_16.jpg"), answerTime);
            session = std::make_unique<TestSession>(state, test, files());
            session->setClock([this] { return now; });
        }
        TestSession::Files files() const
        {
            return {folder.data("curr_test.ini"), folder.data("temp1.ini"),
                    folder.jpg("14_16.jpg"),      folder.jpg("2_17.jpg"),
                    folder.data("resume.ini"),    folder.data("attempts.txt"),
                    folder.data("answers.txt")};
        }
        // Иван in the user base and his test in the catalogue: the grade has its place.
        void registerOwner()
        {
            QVERIFY(
                baseOf({user("Иван", "Петров", "п"), UserRecord()}).save(folder.jpg("2_17.jpg")));
            state.catalogue.names[1] = "Светофоры";
        }
        void tick()
        {
            now += 1000;
            session->tick();
        }
        // Selects the right (or a wrong) answer a second after the question appeared and
        // submits it; after the last one, returns once the test has finished with its grade
        // stored.
        void answer(bool right, qint64 afterMs = 1000)
        {
            now += afterMs;
            const int correct = session->question().correct;
            const int shown = right ? correct : correct % 5 + 1;
            chosenPlaces << session->question().answers[shown - 1].toInt();
            session->select(shown);
            QSignalSpy finished(session.get(), &TestSession::finished);
            session->submit();
            if (session->state() == TestSession::State::Finished)
                QVERIFY(finished.wait());
        }
        QList<answerjournal::Answer> answers() const
        {
            return answerjournal::parse(readBytes(folder.data("answers.txt")));
        }
        QStringList progress() const { return readLinesOrEmpty(folder.data("curr_test.ini")); }
    };

private Q_SLOTS:
    void clockThroughOneAnswer_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("seconds");
        QTest::addRow("1 minute") << QByteArray(" 1 \r\n") << "0:60" << 61;
        QTest::addRow("3 minutes") << QByteArray(" 3 \r\n") << "2:60" << 181;
        QTest::addRow("no file") << QByteArray() << "0:60" << 61;
        QTest::addRow("empty line") << QByteArray("\r\n") << "0:60" << 61;
        QTest::addRow("zero") << QByteArray(" 0 \r\n") << "0:60" << 61;
        QTest::addRow("negative") << QByteArray("-4 \r\n") << "0:60" << 61;
        QTest::addRow("text") << QByteArray("много\r\n") << "0:60" << 61;
    }
    void clockThroughOneAnswer()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, start);
        QFETCH(int, seconds);
        Run run(3, file);
        QSignalSpy warnings(run.session.get(), &TestSession::clockWarning);
        QSignalSpy timeUps(run.session.get(), &TestSession::timeUp);
        run.session->begin();
        QCOMPARE(run.session->clock().text(), start);
        QVERIFY(run.session->clock().visible());
        QStringList shown;
        for (int i = 1; i < seconds; ++i) {
            run.tick();
            shown << run.session->clock().text();
        }
        QCOMPARE(shown.first(), QString(start.left(start.indexOf(':')) + ":59"));
        QCOMPARE(shown.last(), QStringLiteral("0:00"));
        QCOMPARE(shown.at(shown.size() - 5), QStringLiteral("0:04"));
        QCOMPARE(warnings.count(), 1);
        QCOMPARE(run.test->asked(), 1);
        run.tick();
        QCOMPARE(timeUps.count(), 1);
        // Answer 1 was selected and submitted; the next question has a fresh clock.
        QCOMPARE(run.test->asked(), 2);
        QCOMPARE(run.session->clock().text(), start);
        QCOMPARE(run.test->elapsedSeconds(), 30 + seconds);
        const QStringList session = readLinesOrEmpty(run.folder.data("temp1.ini"));
        QCOMPARE(session.at(12 + 17), QStringLiteral("1"));
        run.answer(true);
        run.answer(true);
        // Nothing was chosen on the first question: the journal of answers says so.
        const QList<answerjournal::Answer> answers = run.answers();
        QCOMPARE(answers.size(), 3);
        QCOMPARE(answers[0].chosen, 0);
        QCOMPARE(answers[0].seconds, seconds);
        QCOMPARE(answers[1].chosen, 2);
    }

    void filesFollowEveryStep()
    {
        Run run(10);
        run.registerOwner();
        run.session->begin();
        QCOMPARE(run.progress().mid(6),
                 (QStringList{"max", " 10 ", "curr", " 1 ", "ok", " 0 ", "ocenka", " 0 "}));
        QVERIFY(!QFile::exists(run.folder.data("temp1.ini")));
        run.answer(true);
        run.answer(true);
        QCOMPARE(run.progress().mid(8), (QStringList{"curr", " 3 ", "ok", " 2 ", "ocenka", " 0 "}));
        QCOMPARE(run.session->frameCaption(), QStringLiteral("  Boпpoc нomep    3  "));
        QCOMPARE(run.session->windowCaption(), QStringLiteral("  Вопрос № 3"));
        for (int i = 3; i <= 9; ++i)
            run.answer(i <= 7);
        QCOMPARE(run.session->frameCaption(), QStringLiteral("  Boпpoc нomep   10  "));
        QSignalSpy finished(run.session.get(), &TestSession::finished);
        run.answer(false);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(run.session->state(), TestSession::State::Finished);
        QCOMPARE(run.progress().mid(8),
                 (QStringList{"curr", " 10 ", "ok", " 7 ", "ocenka", " 4 "}));
        QCOMPARE(run.test->grade(), 4);
        QCOMPARE(run.test->elapsedText(), QStringLiteral("0 мин"));
        // Stored the moment the test ends.
        QVERIFY(run.test->notice().isEmpty());
        const std::optional<UserBase> stored = UserBase::load(run.folder.jpg("2_17.jpg"));
        QCOMPARE(stored->records.at(stored->indexOf("Иван", "Петров")).resultNumber(1), 4);
        const QList<journal::Attempt> attempts = journal::read(run.folder.data("attempts.txt"));
        QCOMPARE(attempts.size(), 1);
        QCOMPARE(journal::line(attempts[0]).section(u'\t', 1),
                 QStringLiteral("Иван\tПетров\tСветофоры\t7\t10\t70.0\t4\t40"));
        // One line per question: its record in the bank file and the place in the file of the
        // answer chosen, whatever order the questions and answers were shown in.
        const QList<answerjournal::Answer> answers = run.answers();
        QCOMPARE(answers.size(), 10);
        const QList<int> order = bankOf(10)->order;
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(answers[i].record, order[i] + 1);
            QCOMPARE(answers[i].chosen, run.chosenPlaces[i]);
            QCOMPARE(answers[i].right, answers[i].chosen == 2);
            QCOMPARE(answers[i].seconds, 1);
            QCOMPARE(answerjournal::line(answers[i]).section(u'\t', 1, 3), "Иван\tПетров\tb.jpg");
        }
        const QStringList session = readLinesOrEmpty(run.folder.data("temp1.ini"));
        QCOMPARE(session.size(), 12 + 10 * 20);
        QCOMPARE(session.mid(8, 4), (QStringList{"ok", " 7 ", "ocenka", " 4 "}));
        for (int i = 0; i < 10; ++i)
            QVERIFY(!session.at(12 + 20 * i + 3).isEmpty());
        // No more questions after the end.
        run.session->submit();
        QCOMPARE(run.test->asked(), 10);
    }

    // A pause asked for comes after the answer and stops the clock; the third is the last.
    void pausesComeAfterTheAnswerThreeTimesAtMost()
    {
        Run run(12);
        QSignalSpy pauses(run.session.get(), &TestSession::pauseStarted);
        run.session->begin();
        for (int i = 1; i < 4; ++i)
            run.answer(true);
        run.session->requestPause();
        QCOMPARE(run.test->pausesUsed(), 1);
        QVERIFY(!run.session->pauseAvailable());
        QCOMPARE(run.session->windowCaption(), "Пауза будет активирована после ответа на вопрос");
        QCOMPARE(pauses.count(), 0);
        for (int i = 0; i < 5; ++i)
            run.tick();
        run.answer(true);
        QCOMPARE(pauses.count(), 1);
        QCOMPARE(run.session->state(), TestSession::State::Paused);
        const QStringList counts{"У Вас есть еще 2 паузы", "У вас осталась только 1 пауза",
                                 "Это ваша последняя пауза"};
        QCOMPARE(pauseTexts(run.test->pausesUsed()).count, counts.at(0));
        QVERIFY(!run.test->pauseRequested());
        QCOMPARE(run.test->asked(), 4);
        const int elapsed = run.test->elapsedSeconds();
        run.tick();
        QCOMPARE(run.test->elapsedSeconds(), elapsed);
        run.session->endPause();
        QCOMPARE(run.test->asked(), 5);
        QCOMPARE(run.session->clock().text(), QStringLiteral("0:60"));
        QCOMPARE(run.session->windowCaption(), QStringLiteral("  Вопрос № 5"));
        for (int p = 2; p <= 3; ++p) {
            QVERIFY(run.session->pauseAvailable());
            run.session->requestPause();
            run.answer(true);
            QCOMPARE(run.session->state(), TestSession::State::Paused);
            QCOMPARE(pauseTexts(run.test->pausesUsed()).count, counts.at(p - 1));
            run.session->endPause();
        }
        QCOMPARE(run.test->pausesUsed(), 4);
        for (int i = 0; i < 4; ++i) {
            QVERIFY(!run.session->pauseAvailable());
            run.session->requestPause();
            run.answer(true);
            QCOMPARE(run.session->state() == TestSession::State::Paused, false);
        }
    }

    void interruptedTestGoesOn()
    {
        Run run(6);
        QVERIFY(textfile::writeLines(run.folder.jpg("b.jpg"), bankLines(6)));
        run.session->begin();
        run.answer(true);
        run.answer(false);
        run.session->requestPause();
        run.answer(true);
        run.session->endPause();
        run.session->tick();
        const QList<int> order = bankOf(6)->order;
        run.session.reset(); // killed while question 4 is shown

        QRandomGenerator random(7);
        SessionState state = signedIn(run.folder.path(), "Иван");
        const std::optional<InterruptedTest> test = findInterruptedTest(state, random);
        QVERIFY(test);
        QCOMPARE(test->answered, 3);
        QCOMPARE(test->correct, 2);
        QCOMPARE(test->test->order, order);
        auto goingOn = std::make_shared<TestRun>(selectInterruptedTest(state, *test));
        continueInterruptedTest(*goingOn, *test);
        QCOMPARE(goingOn->pausesUsed(), 1);
        QCOMPARE(goingOn->name(), QStringLiteral("Светофоры"));
        TestSession again(state, goingOn, run.files());
        qint64 now = 0;
        again.setClock([&now] { return now; });
        again.begin();
        QCOMPARE(again.question().question, test->test->bank.records[order[3]].question);
        QCOMPARE(again.clock().text(), QStringLiteral("0:60"));
        QCOMPARE(run.progress().mid(8), (QStringList{"curr", " 4 ", "ok", " 2 ", "ocenka", " 0 "}));
        while (again.state() == TestSession::State::Answering) {
            now += 1000;
            again.select(again.question().correct);
            again.submit();
        }
        QCOMPARE(goingOn->correct(), 5);
        QCOMPARE(goingOn->grade(), int(gradeFor(5, 6)));
        // The questions asked before the kill keep their places; each is asked once.
        for (int i = 0; i < 6; ++i)
            QCOMPARE(again.records()[i].question, test->test->bank.records[order[i]].question);
        // The answers given before the kill are in the journal of answers by their file places.
        const QList<answerjournal::Answer> answers = run.answers();
        QCOMPARE(answers.size(), 6);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(answers[i].record, order[i] + 1);
            QCOMPARE(answers[i].chosen, i < 3 ? run.chosenPlaces[i] : 2);
        }
        // A finished test is never offered again.
        QVERIFY(!findInterruptedTest(state, random));
    }

    // Whether another user logged in after the crash or the files were damaged, the lost test
    // ends with 0 in its owner's results and he is told once, at his login.
    void lostTestEndsWithZeroAndIsToldToItsOwner()
    {
        Run run(4);
        UserRecord ivan = user("Иван", "Петров", "п");
        ivan.results[1] = "5";
        QVERIFY(baseOf({ivan, user("Пётр", "Петров", "п"), UserRecord()})
                    .save(run.folder.jpg("2_17.jpg")));
        QVERIFY(textfile::writeLines(run.folder.jpg("14_15.jpg"), {"start", "-", "Стрелки", "a.jpg",
                                                                   "-", "Светофоры", "b.jpg"}));
        run.session->begin();
        run.answer(true);
        run.session.reset(); // killed while question 2 is shown
        const auto storedFor = [&run](const char *first) {
            const std::optional<UserBase> base = UserBase::load(run.folder.jpg("2_17.jpg"));
            return base ? base->records.at(base->indexOf(first, "Петров")).results[1].trimmed()
                        : "none";
        };

        SessionState other = signedIn(run.folder.path(), "Пётр");
        QRandomGenerator random(7);
        QVERIFY(!findInterruptedTest(other, random));
        const std::optional<LostTest> lost = findLostTest(other);
        QVERIFY(lost);
        QVERIFY(settleLostTest(other, *lost).result().isEmpty());
        QVERIFY(takeLostTestNotices(other).isEmpty());
        QCOMPARE(storedFor("Иван"), QStringLiteral("0"));
        QCOMPARE(storedFor("Пётр"), QString());
        const QStringList told = takeLostTestNotices(run.state);
        QCOMPARE(told.size(), 1);
        QVERIFY(told.first().contains("«Светофоры»") && told.first().contains("другой"));
        QVERIFY(takeLostTestNotices(run.state).isEmpty());

        // A damaged temp1.ini: the owner is told at once, the grade follows the same rule.
        run.state.user.results[1] = "4";
        QVERIFY(textfile::writeLines(run.folder.data("temp1.ini"), {"first"}));
        QVERIFY(!findInterruptedTest(run.state, random));
        const std::optional<LostTest> damaged = findLostTest(run.state);
        QVERIFY(damaged);
        const QStringList own = settleLostTest(run.state, *damaged).result();
        QCOMPARE(own.size(), 1);
        QVERIFY(own.first().contains("«Светофоры»") && own.first().contains("нельзя"));
        QCOMPARE(run.state.user.results[1], QStringLiteral("0"));
        QCOMPARE(storedFor("Иван"), QStringLiteral("0"));
        QVERIFY(takeLostTestNotices(run.state).isEmpty());

        // A test left on purpose has no resume.ini and is lost to no one.
        QVERIFY(QFile::remove(run.folder.data("resume.ini")));
        QVERIFY(!findLostTest(run.state));
    }

    void noPauseAfterTheLastQuestion()
    {
        Run run(3, {}, true); // a topic test, though missing from the catalogue
        QSignalSpy pauses(run.session.get(), &TestSession::pauseStarted);
        run.session->begin();
        run.answer(true);
        // The second click of a double-click, a repeated key, a click queued while the
        // question was being shown: all too soon to be meant for question 2.
        run.session->submit();
        run.now += TestSession::SightMs - 1;
        run.session->submit();
        QCOMPARE(run.test->asked(), 2);
        QCOMPARE(readLinesOrEmpty(run.folder.data("temp1.ini")).at(12 + 20 + 3), QString());
        run.now += 1;
        run.session->submit();
        QCOMPARE(run.test->asked(), 3);
        run.session->requestPause();
        run.answer(true);
        QCOMPARE(pauses.count(), 0);
        QCOMPARE(run.session->state(), TestSession::State::Finished);
        QCOMPARE(run.test->grade(), 3);
        QCOMPARE(run.test->notice(),
                 QStringLiteral("Оценка не записана в ваши результаты: теста «Светофоры» нет в "
                                "каталоге тестов."));
    }

    // Without a time limit no clock is shown and nothing is submitted for the pupil.
    void answeringTimeIsRealTimeWithoutPauses()
    {
        Run run(100, " 9 \r\n");
        run.session->begin();
        QVERIFY(!run.session->clock().visible());
        for (int i = 0; i < 1000; ++i)
            run.tick();
        QCOMPARE(run.test->asked(), 1);
        for (int i = 1; i <= 100; ++i) {
            if (i == 50)
                run.session->requestPause();
            run.answer(true, 1300);
            if (i == 50) {
                run.now += 10 * 60 * 1000;
                run.session->endPause();
            }
        }
        QCOMPARE(run.session->state(), TestSession::State::Finished);
        QCOMPARE(run.test->elapsedSeconds(), 30 + 1000 + 130);
        QCOMPARE(run.test->elapsedText(), QStringLiteral("19 мин"));
    }

    void failedWritesAreNamedAndLeaveNoStaleState()
    {
        Run run(3);
        run.registerOwner();
        run.session->begin();
        run.answer(true);
        QVERIFY(run.session->writeProblems().isEmpty());
        // A full disk or a folder turned read-only: no file is renewed from here on.
        const auto restore = qScopeGuard([] { textfile::setRenameStep({}); });
        textfile::setRenameStep(
            [](const QString &, const QString &) { return textfile::RenameOutcome::Refused; });
        QSignalSpy changes(run.session.get(), &TestSession::writeProblemsChanged);
        run.answer(false);
        QVERIFY(changes.count() > 0);
        const QString named = run.session->writeProblems().join(u'\n');
        QCOMPARE(run.session->writeProblems().size(), 3);
        for (const char *file : {"temp1.ini", "curr_test.ini", "resume.ini"}) {
            QVERIFY2(named.contains(QDir::toNativeSeparators(run.folder.data(file))), file);
            // Question 2's state is not left for the teacher's computer or a later start.
            QVERIFY2(!QFile::exists(run.folder.data(file)), file);
        }
        run.answer(true);
        QCOMPARE(run.session->state(), TestSession::State::Finished);
        const QString notice = run.test->notice();
        for (const QString &file : {run.folder.jpg("2_17.jpg"), run.folder.data("attempts.txt"),
                                    run.folder.data("answers.txt"), run.folder.data("temp1.ini")})
            QVERIFY2(notice.contains(QDir::toNativeSeparators(file)), qPrintable(notice));
        QVERIFY(!notice.contains(QStringLiteral("не найден")));
        // The answers stay in memory for the result and the error review.
        QVERIFY(run.session->records()[1].chosenAnswer != run.session->records()[1].rightAnswer);
        QCOMPARE(run.session->records()[2].chosenAnswer, run.session->records()[2].rightAnswer);
    }
};

QTEST_GUILESS_MAIN(tst_testsession)
#include "tst_testsession.moc"
