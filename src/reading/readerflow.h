#pragma once

#include <QObject>
#include <QString>

#include <functional>

class ReadingOrder;
struct SessionState;

// What the pupil chose when offered the paragraph's test.
enum class TestChoice { None, Questions, Test };

// Where the reader is and what its buttons allow: the paragraph shown (text or questions),
// steps forward and back in course order in the three reading modes, the bookmark, the
// question toggle with its offer of the paragraph's test. The window shows the pages and
// buttons it reports and forwards the clicks.
class ReaderFlow : public QObject
{
    Q_OBJECT
public:
    static const QString OutlineMissingText;
    static const QString OutlineEmptyText;
    static const QString DescriptionUnusableText;

    explicit ReaderFlow(SessionState &session, QObject *parent = nullptr);

    // Shows the choice between questions and test modally and returns the answer.
    std::function<TestChoice()> askTestChoice;
    // Starts the test of the bank; false when no test window can run it.
    std::function<bool(const QString &bank)> startTest;

    // The state of a freshly opened reader on that paragraph.
    void load(const QString &paragraph);
    // The first page of a freshly opened reader: the text, or the questions in the check mode.
    void openParagraph();
    void stepForward();
    void stepBack();
    // Stores the bookmark in the user base at once; false when the base could not be written.
    // Stores the bookmark in the user base; false when it could not, see bookmarkProblem().
    bool setBookmark();
    QString bookmarkProblem() const { return m_bookmarkProblem; }
    void goToBookmark();
    void toggleQuestions();
    void showAgainAfterTest() { m_hiddenForTest = false; }

    bool previousEnabled() const { return m_previousEnabled; }
    bool nextEnabled() const { return m_nextEnabled; }
    bool goToBookmarkEnabled() const { return m_goToBookmarkEnabled; }
    bool testVisible() const { return m_testVisible; }
    bool testEnabled() const { return m_testEnabled; }
    bool hiddenForTest() const { return m_hiddenForTest; }
    QString shownPage() const { return m_shownPage; }
    QString paragraph() const { return m_paragraph; }
    // Whether the paragraph's questions, not its text, are on screen.
    bool questionsShown() const { return m_questionsShown; }

    QString textPage(const QString &title) const;
    QString questionPage(const QString &title) const;

Q_SIGNALS:
    void pageShown(const QString &path);
    // The page-turn cue; a step plays it at its start and again at its end.
    void pageTurned();
    void buttonsChanged();
    // A data file the reader cannot do without is missing; the reader cannot go on.
    void failed(const QString &message);

private:
    void showText();
    void showQuestions();
    void show(const QString &path);
    // Runs the toggle when the check mode shows questions instead of text.
    void showParagraphForMode();
    using Neighbour = QString (ReadingOrder::*)(const QString &) const;
    void step(const QString &end, Neighbour neighbour, bool &towardsEnabled);
    void offerTest(const QString &bank);
    void updateButtons();

    SessionState &m_session;
    QString m_paragraph;
    bool m_questionsShown = false;
    bool m_previousEnabled = true;
    bool m_nextEnabled = true;
    bool m_goToBookmarkEnabled = false;
    QString m_bookmarkProblem;
    bool m_testVisible = false;
    bool m_testEnabled = true;
    bool m_hiddenForTest = false;
    QString m_shownPage;
};
