#pragma once

#include "core/datafiles.h"

#include <QString>

#include <optional>

// The per-answer countdown. A setting of S minutes shows S-1:60 when the question appears,
// reaches 0:00 after 60 * S ticks and expires at the next tick. Setting 9 hides the clock and
// never expires. Any other value, a missing file or an empty line counts as one minute.
class AnswerClock
{
public:
    static constexpr int Unlimited = datafiles::UnlimitedAnswerTime;

    enum class Tick { Counted, Warning, Expired, Hidden };

    // The first line of the answer-time file (nothing when the file is missing).
    static std::optional<QString> readSetting(const QString &path);

    // Sets the clock from the first line of the answer-time file.
    void reset(const std::optional<QString> &settingLine);

    // The text shown while the question appears, e.g. "0:60".
    QString startText() const;
    // The text after the last tick.
    QString text() const { return m_text; }
    bool visible() const { return m_minutes != Unlimited - 1; }
    int secondsLeft() const { return m_minutes * 60 + m_tens * 10 + m_units; }

    // One second passed.
    Tick tick();

private:
    int m_minutes = 0;
    int m_tens = 6;
    int m_units = 0;
    QString m_text;
};
