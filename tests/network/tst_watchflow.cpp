#include "core/datafiles.h"
#include "core/textfile.h"
#include "network/watchflow.h"
#include "testsupport.h"

#include <QtTest>

namespace {
// temp1.ini of a 20-question test with `answered` questions recorded.
QStringList sessionLines(int answered, int grade = 0, int max = 20)
{
    QStringList lines{"first", "Иван", "second", "Петров",
                      "name",  "Реле", "max",    textfile::printNumber(max),
                      "ok",    " 5 ",  "ocenka", textfile::printNumber(grade)};
    for (int j = 1; j <= max; ++j) {
        const bool asked = j <= answered;
        lines << "tema" << (asked ? QStringLiteral("Тема %1").arg(j) : QString()) << "vop"
              << (asked ? QStringLiteral("Вопрос %1").arg(j) : QString());
        for (int k = 1; k <= 5; ++k)
            lines << QStringLiteral("otv%1").arg(k) << (asked ? QStringLiteral("О%1").arg(k) : "");
        lines << "ris" << (j == 3 ? "T01_P01.jpg" : "") << "otv_user"
              << (asked ? QString::number(j % 6) : "0") << "otv_ver"
              << "2";
    }
    return lines;
}
} // namespace

class WatchFlowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void opensOnLastAnsweredQuestion()
    {
        const WatchedSession session = WatchedSession::fromLines(sessionLines(7));
        QCOMPARE(session.lastRecorded, 7);
        QCOMPARE(session.header.questionCount, 20);
        WatchFlow flow(12);
        flow.refreshed(session);
        const WatchView v = flow.view();
        QCOMPARE(flow.shown(), 7);
        QVERIFY(!v.nextVisible && v.previousVisible);
        QCOMPARE(v.frameCaption, QStringLiteral("Вопрос № 7"));
        QCOMPARE(v.topic, QStringLiteral("Тема: Тема 7"));
        QCOMPARE(v.watching, QStringLiteral("Слежение за №12 Петров Иван"));
        QCOMPARE(v.checked, 1);
        QCOMPARE(v.rightAnswers, QStringLiteral("Правильных: 5"));
        QCOMPARE(v.grade, QStringLiteral("Оценка:"));
        QCOMPARE(v.test, QStringLiteral("Тест: Реле"));
        QCOMPARE(flow.notice(), WatchFlow::AnswerNotice);

        flow.refreshed(WatchedSession::fromLines(sessionLines(20, 4)));
        QCOMPARE(flow.shown(), 20);
        QCOMPARE(flow.view().grade, QStringLiteral("Оценка:4"));
        // The pupil starts a new test: nothing of the finished one stays on screen.
        PupilStatus next;
        next.firstName = QStringLiteral("Иван");
        next.surname = QStringLiteral("Петров");
        next.testName = QStringLiteral("Сигналы");
        next.questionCount = next.currentQuestion = 1;
        flow.refreshed(WatchedSession::firstQuestionOf(next));
        const WatchView fresh = flow.view();
        QCOMPARE(fresh.test, QStringLiteral("Тест: Сигналы"));
        QVERIFY(fresh.question.isEmpty() && !fresh.answersShown);
        QCOMPARE(fresh.grade, QStringLiteral("Оценка:"));
        QCOMPARE(fresh.rightAnswers, QStringLiteral("Правильных: 0"));
        QVERIFY(!fresh.previousVisible && !fresh.nextVisible && !fresh.pictureVisible);
        QCOMPARE(flow.notice(), WatchFlow::FirstAnswerNotice);
        flow.refreshed(WatchedSession::fromLines(sessionLines(1)));
        QCOMPARE(flow.view().grade, QStringLiteral("Оценка:"));
        QVERIFY(flow.view().answersShown);
    }

    void browsingBackStopsFollowingAndShowsAnswersAndPictures()
    {
        WatchFlow flow(1);
        flow.refreshed(WatchedSession::fromLines(sessionLines(2)));
        flow.previous();
        QCOMPARE(flow.shown(), 1);
        QCOMPARE(flow.state(), WatchFlow::State::Browsing);
        QVERIFY(!flow.view().previousVisible && flow.view().nextVisible);
        QCOMPARE(flow.notice(), WatchFlow::BrowsingNotice);
        flow.next();
        QCOMPARE(flow.shown(), 2);
        QVERIFY(!flow.view().nextVisible);
        int blinks = 0;
        while (flow.blink())
            ++blinks;
        QCOMPARE(blinks, WatchFlow::BlinkLimit);
        QVERIFY(!flow.blinkLit());
        flow.follow();
        QCOMPARE(flow.state(), WatchFlow::State::Following);
        QVERIFY(flow.blink());

        // The pupil's answers and the question's picture.
        flow.refreshed(WatchedSession::fromLines(sessionLines(6)));
        QCOMPARE(flow.view().checked, 0); // question 6 was left without an answer (6 % 6)
        for (int back = 0; back < 3; ++back)
            flow.previous();
        const WatchView three = flow.view();
        QCOMPARE(three.checked, 3);
        QVERIFY(three.pictureVisible);
        QCOMPARE(three.picture, QStringLiteral("T01_P01.jpg"));
        QCOMPARE(three.answers.at(4), QStringLiteral("О5"));
    }

    void clearAndDamagedFiles()
    {
        WatchFlow flow(3);
        flow.refreshed(WatchedSession::fromLines({"clear"}));
        const WatchView v = flow.view();
        QVERIFY(v.noTest);
        QCOMPARE(flow.notice(), WatchFlow::NoTestNotice);
        QCOMPARE(v.question, QStringLiteral("Вопрос"));
        QCOMPARE(v.answers.at(2), QStringLiteral("Ответ 3"));
        QVERIFY(!v.nextVisible && !v.previousVisible && !v.pictureVisible);

        // Truncated in the middle of a block, garbage, max 0 or too large: always a slot 1..150.
        QStringList truncated = sessionLines(5).mid(0, 12 + 18 * 3 + 3);
        const QList<QStringList> damaged = {truncated,
                                            {QString::fromLatin1("\xff\xfe"), "max", "-3"},
                                            {"max", "0"},
                                            {"max", "9999", "tema", "x", "vop", "y"}};
        for (const QStringList &lines : damaged) {
            const WatchedSession session = WatchedSession::fromLines(lines);
            QVERIFY(session.lastRecorded >= 1 && session.lastRecorded <= SessionSlots);
            flow.refreshed(session);
            flow.view();
        }
        QCOMPARE(WatchedSession::fromLines(truncated).lastRecorded, 3);

        // Numbers beyond the file's 16 bits are clamped; a number that is no grade is not shown.
        flow.refreshed(WatchedSession::fromLines(
            {"ok", "99999999999", "ocenka", "-5", "max", "1", "tema", "Т", "vop", "В"}));
        QCOMPARE(flow.view().rightAnswers, QStringLiteral("Правильных: 32767"));
        QCOMPARE(flow.view().grade, QStringLiteral("Оценка:"));

        // A file that cannot be read: said, and the last question read stays.
        flow.readFailed(pupilfiles::Status::Failed);
        QVERIFY(flow.notice().contains(QStringLiteral("temp1.ini на компьютере № 3")));
        QCOMPARE(flow.view().question, QStringLiteral("В"));
        flow.setLost(true);
        QVERIFY(flow.notice().contains(PupilLive::NoConnectionText));
        flow.setLost(false);
        flow.refreshed(WatchedSession::fromLines(sessionLines(2)));
        QCOMPARE(flow.notice(), WatchFlow::AnswerNotice);
        // Nothing read yet: no placeholder passes for a question.
        WatchFlow unread(4);
        unread.readFailed(pupilfiles::Status::Damaged);
        QVERIFY(unread.notice().contains(QStringLiteral("повреждён")));
        QVERIFY(unread.view().question.isEmpty() && !unread.view().answersShown);
    }

    // Both files are looked at: a pupil on the first question of a test begun after temp1.ini
    // was written has left the test it holds. A look whose reading failed is not taken as seen.
    void looksAtBothFiles()
    {
        TestProgramFolder folder;
        const QString session = folder.data(datafiles::SessionFile);
        const QString progress = folder.data(datafiles::ProgressFile);
        const QDateTime answered = QDateTime::currentDateTime().addSecs(-60);
        const qint64 wall = QDateTime::currentMSecsSinceEpoch();
        writeBytes(session, textfile::joinLines(sessionLines(20, 4)));
        QVERIFY(writeProgressFile(progress, {"Иван", "Петров", "Сигналы", 10, 1, 0, 0}));
        // Between the two writes of the first answer: curr_test.ini is the older.
        QVERIFY(setModified(session, answered));
        QVERIFY(setModified(progress, answered.addSecs(-2)));
        WatchedFiles seen;
        WatchLook look = WatchLook::take(folder.path(), seen, 0);
        QVERIFY(look.read);
        QCOMPARE(look.status, pupilfiles::Status::Done);
        QCOMPARE(look.watched.header.grade, 4);
        seen.looked(look, 0, wall);
        // Read once more, as a coarse file clock asks for, then no more.
        seen.looked(WatchLook::take(folder.path(), seen, 100), 100, wall);
        QVERIFY(!WatchLook::take(folder.path(), seen, 150).read);

        QVERIFY(setModified(progress, answered.addSecs(30)));
        look = WatchLook::take(folder.path(), seen, 200);
        QVERIFY(look.watched.awaitingFirstAnswer);
        QCOMPARE(look.watched.header.testName, QStringLiteral("Сигналы"));
        seen.looked(look, 200, wall);
        // The pupil's program started again: no temp1.ini at all.
        QVERIFY(QFile::remove(session));
        look = WatchLook::take(folder.path(), seen, 300);
        QVERIFY(look.watched.awaitingFirstAnswer);

        QVERIFY(QFile::remove(progress));
        QVERIFY(QDir().mkpath(session));
        look = WatchLook::take(folder.path(), seen, 400);
        QCOMPARE(look.status, pupilfiles::Status::Damaged);
        seen.looked(look, 400, wall);
        QVERIFY(WatchLook::take(folder.path(), seen, 500).read);
    }
};

QTEST_GUILESS_MAIN(WatchFlowTest)
#include "tst_watchflow.moc"
