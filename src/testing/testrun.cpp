#include "testing/testrun.h"

#include "core/datafiles.h"
#include "testing/grading.h"

TestRun::TestRun(TestRequest request, QObject *parent)
    : QObject(parent), m_request(std::move(request))
{
}

std::shared_ptr<TestRun> TestRun::practice(std::shared_ptr<const PreparedTest> test)
{
    auto run = std::make_shared<TestRun>(TestRequest());
    run->m_practice = true;
    run->prepare(std::move(test));
    return run;
}

bool TestRun::isCourseTest() const
{
    return bank().compare(datafiles::CourseBankFile, Qt::CaseInsensitive) == 0;
}

int TestRun::questionCount() const
{
    return m_test ? m_test->bank.questionCount() : 0;
}

float TestRun::percent() const
{
    return resultPercent(m_correct, m_asked);
}

QString TestRun::elapsedText() const
{
    return ::elapsedText(m_elapsedSeconds);
}

void TestRun::prepare(std::shared_ptr<const PreparedTest> test)
{
    m_test = std::move(test);
    m_asked = m_correct = m_recorded = m_pausesUsed = m_grade = m_elapsedSeconds = 0;
    m_pauseRequested = false;
    if (m_test && m_test->ok()) {
        m_request.name = m_test->bank.name;
        m_elapsedSeconds = m_test->bank.time;
    }
}

void TestRun::goOn(int answered, int correct, int pausesUsed, int elapsedSeconds)
{
    m_asked = m_recorded = answered;
    m_correct = correct;
    m_pausesUsed = pausesUsed;
    m_elapsedSeconds = elapsedSeconds;
    m_pauseRequested = false;
    m_grade = 0;
}

void TestRun::askNext()
{
    // Counted as one more once the last pause is over, as resume.ini keeps it.
    if (m_pausesUsed == Pauses)
        m_pausesUsed = Pauses + 1;
    ++m_recorded;
    ++m_asked;
    Q_EMIT questionAsked(m_asked);
}

void TestRun::answer(bool right)
{
    if (right)
        ++m_correct;
    Q_EMIT answered(right);
}

bool TestRun::requestPause()
{
    if (m_pausesUsed >= Pauses || m_pauseRequested)
        return false;
    ++m_pausesUsed;
    m_pauseRequested = true;
    Q_EMIT pauseChanged();
    return true;
}

bool TestRun::takeRequestedPause()
{
    if (!m_pauseRequested)
        return false;
    m_pauseRequested = false;
    Q_EMIT pauseChanged();
    return true;
}

void TestRun::setElapsedSeconds(int seconds)
{
    m_elapsedSeconds = seconds;
}

void TestRun::finish()
{
    m_grade = gradeFor(m_correct, m_asked);
    Q_EMIT finished(m_grade);
}

void TestRun::setNotice(const QString &notice)
{
    m_notice = notice;
}
