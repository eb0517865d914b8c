#pragma once

#include "network/watchedsession.h"

#include <QString>

#include <array>
#include <optional>

// What the watch window shows for the question it is on.
struct WatchView
{
    bool noTest = false; // the pupil's computer has no test: placeholders only
    bool answersShown = true;
    QString test; // "Тест: " and the test's name
    QString frameCaption;
    QString topic;
    QString watching; // whom the teacher watches
    QString question;
    std::array<QString, 5> answers;
    int checked = 0; // 1..5, 0 for none
    QString rightAnswers;
    QString grade; // "Оценка:" with the grade once the test is over
    bool previousVisible = false;
    bool nextVisible = false;
    bool pictureVisible = false;
    QString picture;
};

// Following one pupil: either following (every refresh jumps to the latest answered question)
// or browsing (the teacher went back; refreshes are off until "Обновить").
class WatchFlow
{
public:
    enum class State { Following, Browsing };

    static const QString AnswerNotice;
    static const QString NoTestNotice;
    static const QString BrowsingNotice;
    static const QString FirstAnswerNotice;
    static constexpr int BlinkLimit = 30;

    explicit WatchFlow(int computer) : m_computer(computer) {}

    State state() const { return m_state; }
    int shown() const { return m_shown; }
    int computer() const { return m_computer; }
    const WatchedSession &session() const { return m_session; }

    // A new reading of the session file: the flow moves to the latest answered question.
    void refreshed(const WatchedSession &session);
    // The file could not be read: the notice says so, and what was read before stays.
    void readFailed(pupilfiles::Status status);
    // A look at the pupil's files has not come back for long (true), or came back.
    void setLost(bool lost) { m_lost = lost; }
    bool lost() const { return m_lost; }
    void next();
    // Going back stops following; the notice starts blinking.
    void previous();
    // "Обновить": following again, blinking over.
    void follow();
    // One blink step; false when the notice has blinked long enough and stays put.
    bool blink();
    bool blinkLit() const { return m_blinkLit; }

    QString notice() const;
    WatchView view() const;

private:
    int m_computer;
    WatchedSession m_session;
    bool m_read = false; // m_session was read from the pupil's files
    std::optional<pupilfiles::Status> m_failure;
    bool m_lost = false;
    State m_state = State::Following;
    int m_shown = 1;
    int m_blinks = 0;
    bool m_blinkLit = false;
};
