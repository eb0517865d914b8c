#include "testing/answerclock.h"

#include "core/datafiles.h"
#include "core/textfile.h"

std::optional<QString> AnswerClock::readSetting(const QString &path)
{
    const std::optional<QStringList> lines = textfile::readLines(path);
    if (!lines)
        return std::nullopt;
    return lines->value(0);
}

void AnswerClock::reset(const std::optional<QString> &settingLine)
{
    m_minutes = datafiles::answerTimeSetting(settingLine) - 1;
    m_tens = 6;
    m_units = 0;
    m_text = startText();
}

QString AnswerClock::startText() const
{
    return QString::number(m_minutes) + QStringLiteral(":60");
}

AnswerClock::Tick AnswerClock::tick()
{
    if (!visible())
        return Tick::Hidden;
    if (secondsLeft() == 0) {
        m_text = QStringLiteral("0:00");
        return Tick::Expired;
    }
    if (m_units == 0 && m_tens == 0) {
        --m_minutes;
        m_tens = 6;
    }
    if (--m_units < 0) {
        m_units = 9;
        --m_tens;
    }
    m_text = QStringLiteral("%1:%2%3").arg(m_minutes).arg(m_tens).arg(m_units);
    return m_minutes == 0 && m_tens == 0 && m_units == 4 ? Tick::Warning : Tick::Counted;
}
