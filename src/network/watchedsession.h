#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// One answered question of a pupil's temp1.ini as the watch window shows it.
struct WatchedQuestion
{
    QString tema;
    QString vop;
    std::array<QString, 5> otv;
    QString ris;
    QString otvUser; // the number of the pupil's answer as text, "0" when none
};

// The watch window's own reading of a pupil's temp1.ini: it honours "clear", ignores the
// correct answers and works out the last recorded question.
struct WatchedSession
{
    static constexpr int Slots = 150;

    bool noTest = false; // the file starts with "clear"
    QString first;
    QString second;
    QString name;
    QString max;
    qint16 ok = 0;
    qint16 ocenka = 0;
    std::array<WatchedQuestion, Slots> slots;
    int lastRecorded = 1;

    static WatchedSession fromLines(const QStringList &lines);
    // The file below a pupil's program folder; nothing when it is missing, cannot be read, is
    // too big or is not a regular file (blocking: a share may be slow).
    static std::optional<WatchedSession> read(const QString &programFolder);
};
