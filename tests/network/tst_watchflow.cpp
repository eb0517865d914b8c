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
        QCOMPARE(session.header.max, QStringLiteral(" 20"));
        WatchFlow flow(12);
        flow.refreshed(session);
        const WatchView v = flow.view();
        QCOMPARE(flow.shown(), 7);
        QVERIFY(!v.nextVisible);
        QVERIFY(v.previousVisible);
        QCOMPARE(v.frameCaption, QStringLiteral("Вопрос № 7"));
        QCOMPARE(v.tema, QStringLiteral("Тема: Тема 7"));
        QCOMPARE(v.slejka, QStringLiteral("Слежение за №12 Петров Иван"));
        QCOMPARE(v.checked, 1);
        QCOMPARE(v.good, QStringLiteral("Правильных: 5"));
        QCOMPARE(v.ocenka, QStringLiteral("Оценка:"));
        QCOMPARE(flow.notice(), WatchFlow::AnswerNotice);

        flow.refreshed(WatchedSession::fromLines(sessionLines(20, 4)));
        QCOMPARE(flow.shown(), 20);
        QCOMPARE(flow.view().ocenka, QStringLiteral("Оценка:4"));
        // The pupil starts a new test: the finished one's grade goes.
        flow.refreshed(WatchedSession::fromLines(sessionLines(1)));
        QCOMPARE(flow.view().ocenka, QStringLiteral("Оценка:"));
    }

    void browsingBackStopsFollowing()
    {
        WatchFlow flow(1);
        flow.refreshed(WatchedSession::fromLines(sessionLines(2)));
        flow.previous();
        QCOMPARE(flow.shown(), 1);
        QCOMPARE(flow.state(), WatchFlow::State::Browsing);
        QVERIFY(!flow.view().previousVisible);
        QVERIFY(flow.view().nextVisible);
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
    }

    void answersAndPictures()
    {
        WatchFlow flow(1);
        flow.refreshed(WatchedSession::fromLines(sessionLines(6)));
        QCOMPARE(flow.view().checked, 0); // question 6 was left without an answer (6 % 6)
        flow.previous();
        flow.previous();
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

        TestProgramFolder folder;
        QVERIFY(!WatchedSession::read(folder.path()));
    }
};

QTEST_GUILESS_MAIN(WatchFlowTest)
#include "tst_watchflow.moc"
