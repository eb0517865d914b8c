#pragma once

#include <QString>
#include <QStringList>

#include <array>

// curr_test.ini (progress of the running test) and temp1.ini (the full record of the test)
// in data/. The teacher's computer reads both over the network, so the layouts are fixed
// and every write replaces the whole file.

// One asked question as recorded in temp1.ini; answers in the order shown.
struct SessionRecord
{
    QString tema;
    QString vop;
    QString otv1;
    QString otv2;
    QString otv3;
    QString otv4;
    QString otv5;
    QString ris;
    QString otv_user;
    QString otv_ver;

    // Answer k (1..5).
    QString &otv(int k);
    const QString &otv(int k) const;
};

// Slot i (1..150) lives at index i - 1.
inline constexpr int SessionSlots = 150;
using SessionRecords = std::array<SessionRecord, SessionSlots>;

// The header of temp1.ini as read back; max keeps the print form of its number (" 100").
struct SessionHeader
{
    QString first;
    QString second;
    QString name;
    QString max;
    int ok = 0;
    int grade = 0;
};

// What the writers put into the headers of both files.
struct SessionProgress
{
    QString first;
    QString second;
    QString name;
    int max = 0;
    int curr = 0;
    int ok = 0;
    int grade = 0;
};

QStringList progressFileLines(const SessionProgress &progress);
bool writeProgressFile(const QString &path, const SessionProgress &progress);

// Header and slots 1..max (at most 150).
QStringList sessionFileLines(const SessionProgress &progress, const SessionRecords &records);
bool writeSessionFile(const QString &path, const SessionProgress &progress,
                      const SessionRecords &records);

// Fills header and records from temp1.ini; a line that does not fit is skipped. Returns false
// when the file could not be read (header and records are then left as they were).
bool readSessionFile(const QString &path, SessionHeader &header, SessionRecords &records);
void parseSessionFile(const QStringList &lines, SessionHeader &header, SessionRecords &records);

// Empty texts, otv_user and otv_ver "0".
void clearSessionRecords(SessionRecords &records);

// A number as the session reader holds it: the print form without its trailing blank (" 3").
QString sessionNumberText(QStringView value);
