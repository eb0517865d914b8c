#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "reading/readerflow.h"
#include "reading/readingorder.h"
#include "testsupport.h"
#include "users/userbase.h"

#include <QSignalSpy>
#include <QtTest>

namespace {
const QString P = QStringLiteral("1.2.Паспорт");
const QString Q = QStringLiteral("1.3.Журнал");
const QString Tail = QStringLiteral("20.1.Приложение");
} // namespace

class ReaderFlowTest : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<SessionState> m_session;
    std::unique_ptr<ReaderFlow> m_flow;
    int m_choicesAsked = 0;
    TestChoice m_choice = TestChoice::None;
    bool m_testStarts = true;
    QString m_testBank; // of the test last started

    QString text(const QString &title) const { return m_flow->textPage(title); }
    QString questions(const QString &title) const { return m_flow->questionPage(title); }

    void openOn(const QString &paragraph, bool learn, bool control)
    {
        m_session->mode = learn     ? SessionMode::Learning
                          : control ? SessionMode::Control
                                    : SessionMode::Reading;
        m_flow->load(paragraph);
        m_flow->openParagraph();
    }

    int stepCues(void (ReaderFlow::*step)())
    {
        QSignalSpy cues(m_flow.get(), &ReaderFlow::pageTurned);
        (m_flow.get()->*step)();
        return int(cues.count());
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        textfile::writeLines(m_folder->data(datafiles::OutlineFile),
                             {"Курс", "Раздел 1", "Глава 1", paragraphs::First, P, Q, "Раздел 2",
                              paragraphs::SingleLinePlan, "  " + Q + "x  ", paragraphs::Last,
                              Tail});
        textfile::writeLines(m_folder->jpg(datafiles::TestDescriptionFile),
                             {"start", "name", paragraphs::First, "qstn", "y", "test", "n", "name",
                              P, "qstn", "y", "test", "T01_P01.jpg", "name", Q, "qstn", "y", "test",
                              ""});
        m_session = std::make_unique<SessionState>();
        m_session->setProgramFolder(m_folder->path());
        m_flow = std::make_unique<ReaderFlow>(*m_session);
        m_choicesAsked = 0;
        m_choice = TestChoice::None;
        m_testStarts = true;
        m_testBank.clear();
        m_flow->askTestChoice = [this] {
            ++m_choicesAsked;
            return m_choice;
        };
        m_flow->startTest = [this](const QString &bank) {
            m_testBank = bank;
            return m_testStarts;
        };
    }

    void readingModeWalksTextPagesBetweenFixedEnds()
    {
        openOn(paragraphs::First, false, false);
        QCOMPARE(m_flow->shownPage(), text(paragraphs::First));
        QVERIFY(!m_flow->testVisible());
        QCOMPARE(stepCues(&ReaderFlow::stepForward), 2);
        QCOMPARE(m_flow->paragraph(), P);
        QCOMPARE(m_flow->shownPage(), text(P));
        QVERIFY(m_flow->shownPage().endsWith(QStringLiteral("/data/htm/1.2.Паспорт.htm")));
        m_flow->stepForward();
        m_flow->stepForward(); // over the section heading
        QCOMPARE(m_flow->paragraph(), paragraphs::SingleLinePlan);
        m_flow->stepForward(); // a title with blanks is trimmed
        QCOMPARE(m_flow->paragraph(), Q + "x");
        QCOMPARE(stepCues(&ReaderFlow::stepBack), 2);
        QCOMPARE(m_flow->paragraph(), paragraphs::SingleLinePlan);
        QCOMPARE(m_choicesAsked, 0);
        // Titles outside the order lead into it or stay put, never loop.
        openOn(QStringLiteral("Глава 1"), false, false);
        m_flow->stepForward();
        QCOMPARE(m_flow->paragraph(), paragraphs::First);
        openOn(QStringLiteral("9.9.Убран из курса"), false, false);
        QCOMPARE(stepCues(&ReaderFlow::stepForward), 2);
        QCOMPARE(stepCues(&ReaderFlow::stepBack), 2);
        QCOMPARE(m_flow->paragraph(), QStringLiteral("9.9.Убран из курса"));
        // The fixed first and last pages end the steps.
        openOn(paragraphs::Last, false, false);
        QCOMPARE(stepCues(&ReaderFlow::stepForward), 1);
        QVERIFY(!m_flow->nextEnabled());
        QCOMPARE(m_flow->paragraph(), paragraphs::Last);
        m_flow->stepBack();
        QVERIFY(m_flow->nextEnabled());
        // Learning: the last paragraph's questions come before the reader stops.
        openOn(paragraphs::Last, true, false);
        m_flow->stepForward();
        QCOMPARE(m_flow->shownPage(), questions(paragraphs::Last));
        QVERIFY(m_flow->nextEnabled());
        QCOMPARE(stepCues(&ReaderFlow::stepForward), 1);
        QVERIFY(!m_flow->nextEnabled());
        QCOMPARE(m_flow->shownPage(), questions(paragraphs::Last));
        openOn(paragraphs::First, false, false);
        QCOMPARE(stepCues(&ReaderFlow::stepBack), 1);
        QVERIFY(!m_flow->previousEnabled());
        m_flow->stepForward();
        QVERIFY(m_flow->previousEnabled());
        m_flow->load(m_flow->paragraph());
        QVERIFY(m_flow->previousEnabled());
        // Forward from the outline's last entry, which is not the last page, shows no page.
        openOn(Tail, false, false);
        QSignalSpy pages(m_flow.get(), &ReaderFlow::pageShown);
        QCOMPARE(stepCues(&ReaderFlow::stepForward), 2);
        QCOMPARE(m_flow->paragraph(), Tail);
        QCOMPARE(pages.count(), 0);
        QVERIFY(m_flow->nextEnabled());
    }

    void learningModeShowsQuestionsBeforeMovingOn()
    {
        m_choice = TestChoice::Questions;
        openOn(P, true, false);
        QVERIFY(m_flow->testVisible());
        QCOMPARE(stepCues(&ReaderFlow::stepForward), 2);
        QCOMPARE(m_flow->paragraph(), P);
        QCOMPARE(m_flow->shownPage(), questions(P));
        QVERIFY(m_flow->questionsShown());
        QCOMPARE(m_choicesAsked, 1);
        QVERIFY(!m_flow->hiddenForTest());
        m_flow->stepForward();
        QCOMPARE(m_flow->paragraph(), Q);
        QCOMPARE(m_flow->shownPage(), text(Q));
        QVERIFY(!m_flow->questionsShown());
        // Q's record has an empty test: its questions come without the choice, and P's test
        // is not offered again.
        m_flow->stepForward();
        QCOMPARE(m_flow->shownPage(), questions(Q));
        QCOMPARE(m_choicesAsked, 1);
        // The plan page has no questions: the next press moves straight on.
        m_flow->stepForward();
        QCOMPARE(m_flow->paragraph(), paragraphs::SingleLinePlan);
        QVERIFY(!m_flow->testVisible());
        m_flow->stepForward();
        QCOMPARE(m_flow->paragraph(), Q + "x");
        QCOMPARE(m_flow->shownPage(), text(Q + "x"));
        QVERIFY(m_flow->testVisible());
    }

    void questionToggle()
    {
        openOn(Q, true, false);
        m_flow->toggleQuestions();
        QCOMPARE(m_flow->shownPage(), questions(Q));
        m_flow->toggleQuestions();
        QCOMPARE(m_flow->shownPage(), text(Q));
        QVERIFY(!m_flow->questionsShown());
        QCOMPARE(m_choicesAsked, 0);
        // Stepping back from the questions leaves no stale flag: the next press shows P's
        // questions rather than skipping them.
        m_flow->toggleQuestions();
        m_flow->stepBack();
        QCOMPARE(m_flow->shownPage(), text(P));
        QVERIFY(!m_flow->questionsShown());
        m_flow->stepForward();
        QCOMPARE(m_flow->shownPage(), questions(P));
        // On a plan page the toggle changes nothing but the button.
        openOn(paragraphs::DoubleLinePlan, true, false);
        QSignalSpy pages(m_flow.get(), &ReaderFlow::pageShown);
        m_flow->toggleQuestions();
        QCOMPARE(pages.count(), 0);
        QVERIFY(!m_flow->testVisible());
        QVERIFY(!m_flow->testEnabled());
    }

    void checkModeShowsQuestionsInsteadOfText()
    {
        openOn(paragraphs::First, false, true);
        QCOMPARE(m_flow->shownPage(), questions(paragraphs::First));
        QVERIFY(!m_flow->testVisible());
        m_flow->stepForward();
        QCOMPARE(m_flow->shownPage(), questions(P));
        QCOMPARE(m_choicesAsked, 1);
        m_flow->stepBack();
        QCOMPARE(m_flow->shownPage(), questions(paragraphs::First));
        openOn(paragraphs::SingleLinePlan, false, true);
        QCOMPARE(m_flow->shownPage(), text(paragraphs::SingleLinePlan));
        QVERIFY(!m_flow->testVisible());
        // A paragraph without a record in the description offers no test.
        openOn(Tail, false, true);
        QCOMPARE(m_flow->shownPage(), questions(Tail));
        QCOMPARE(m_choicesAsked, 1);
    }

    void choosingTheTestHidesTheReader()
    {
        m_choice = TestChoice::Test;
        openOn(P, false, true);
        QCOMPARE(m_choicesAsked, 1);
        QCOMPARE(m_testBank, QStringLiteral("T01_P01.jpg"));
        QVERIFY(m_flow->hiddenForTest());
        QCOMPARE(m_flow->shownPage(), questions(P));
        m_flow->showAgainAfterTest();
        QVERIFY(!m_flow->hiddenForTest());
        // Without a test window the choice changes nothing.
        m_testStarts = false;
        openOn(P, false, true);
        QVERIFY(!m_flow->hiddenForTest());
    }

    void missingFilesAreReported()
    {
        openOn(P, false, false);
        QFile::remove(m_folder->data(datafiles::OutlineFile));
        QSignalSpy failures(m_flow.get(), &ReaderFlow::failed);
        m_flow->stepForward();
        m_flow->stepBack();
        QCOMPARE(failures.count(), 2);
        QCOMPARE(failures.first().first().toString(), ReaderFlow::OutlineMissingText);
        QCOMPARE(m_flow->paragraph(), P);

        textfile::writeLines(m_folder->jpg(datafiles::TestDescriptionFile), {"name", P});
        m_flow->toggleQuestions();
        QCOMPARE(failures.count(), 3);
        QCOMPARE(failures.last().first().toString(), ReaderFlow::DescriptionUnusableText);
        QCOMPARE(m_flow->shownPage(), text(P));
    }

    void bookmarkIsStoredAtOnce()
    {
        QVERIFY(baseOf({user("Иван", "Петров", "1"), UserRecord()})
                    .save(m_folder->jpg(datafiles::UserBaseFile)));
        m_session->user.firstName = QStringLiteral("Иван");
        m_session->user.surname = QStringLiteral("Петров");
        openOn(Q, false, false);
        QVERIFY(!m_flow->goToBookmarkEnabled());
        QVERIFY(m_flow->setBookmark());
        QVERIFY(m_flow->goToBookmarkEnabled());
        const auto stored = UserBase::load(m_folder->jpg(datafiles::UserBaseFile));
        QCOMPARE(stored->records.first().bookmark, Q);

        m_flow->stepBack();
        m_flow->toggleQuestions();
        m_flow->goToBookmark();
        QCOMPARE(m_flow->paragraph(), Q);
        QCOMPARE(m_flow->shownPage(), text(Q));

        // A base that cannot be written keeps the bookmark where it was, and says why.
        m_flow->stepBack();
        QFile::remove(m_folder->jpg(datafiles::UserBaseFile));
        QVERIFY(!m_flow->setBookmark());
        QCOMPARE(m_session->user.bookmark, Q);
        QVERIFY(m_flow->bookmarkProblem().contains(QStringLiteral("data/jpg/2_17.jpg")));
    }
};

QTEST_GUILESS_MAIN(ReaderFlowTest)
#include "tst_readerflow.moc"
