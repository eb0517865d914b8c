#pragma once

#include "core/testrequest.h"
#include "testing/questionbank.h"

#include <QObject>

#include <memory>

// The running test: what it was asked as, its prepared questions, how far it got and its grade.
// Made by the introduction and handed to the test, result and review windows; the test session
// moves it on.
class TestRun : public QObject
{
    Q_OBJECT
public:
    static constexpr int Pauses = 3;

    explicit TestRun(TestRequest request, QObject *parent = nullptr);
    // The practice of the user's missed questions, already drawn: it stores no grade and
    // returns to his results.
    static std::shared_ptr<TestRun> practice(std::shared_ptr<const PreparedTest> test);

    const QString &bank() const { return m_request.bank; }
    const QString &name() const { return m_request.name; }
    bool fromChoice() const { return m_request.fromChoice; }
    bool isPractice() const { return m_practice; }
    bool isCourseTest() const;
    const std::shared_ptr<const PreparedTest> &test() const { return m_test; }
    int questionCount() const;

    int asked() const { return m_asked; }
    int correct() const { return m_correct; }
    // Answers kept in temp1.ini: above 0 before the first question, the test goes on after a
    // restart.
    int recorded() const { return m_recorded; }
    int pausesUsed() const { return m_pausesUsed; }
    int pausesLeft() const { return qMax(0, Pauses - m_pausesUsed); }
    bool pauseRequested() const { return m_pauseRequested; }
    int elapsedSeconds() const { return m_elapsedSeconds; }
    // 0 until the test is finished.
    int grade() const { return m_grade; }
    float percent() const;
    QString elapsedText() const;
    // What of the finished test could not be written, one line each; empty when everything was.
    const QString &notice() const { return m_notice; }

    // The test drawn from the bank: named after it, with the bank's time as time used.
    void prepare(std::shared_ptr<const PreparedTest> test);
    // Goes on after the last answer recorded before the program was killed.
    void goOn(int answered, int correct, int pausesUsed, int elapsedSeconds);
    void askNext();
    void answer(bool right);
    // False when no pause is left or one is already requested.
    bool requestPause();
    // True when a pause was requested: it begins now.
    bool takeRequestedPause();
    void setElapsedSeconds(int seconds);
    void finish();
    void setNotice(const QString &notice);

Q_SIGNALS:
    void questionAsked(int number);
    void answered(bool right);
    void pauseChanged();
    void finished(int grade);

private:
    TestRequest m_request;
    bool m_practice = false;
    std::shared_ptr<const PreparedTest> m_test;
    int m_asked = 0;
    int m_correct = 0;
    int m_recorded = 0;
    int m_pausesUsed = 0;
    bool m_pauseRequested = false;
    int m_elapsedSeconds = 0;
    int m_grade = 0;
    QString m_notice;
};
