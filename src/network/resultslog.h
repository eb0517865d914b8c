#pragma once

#include "network/pupilstatus.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>

// The class results of the finished tests as the monitor last read them: fixed-width lines,
// three statistics, the printed page and the blocks of the results history.
namespace resultslog {

inline const QString HeaderLine =
    QStringLiteral("  №   Фамилия Имя           Оценка   Правильных   Название теста  ");
inline const QString BlockEnd = QString(60, u'=');

// The results line of a graded computer, numbered n in the list.
QString line(int n, const PupilStatus &status);

struct Log
{
    QStringList lines;
    QString average;  // "Средний балл: …"
    QString quality;  // "Качественная успеваемость: … %"
    QString absolute; // "Абсолютная успеваемость: … %"
    QString excluded; // the listed lines kept out of the statistics, or empty
    QStringList statistics() const
    {
        return excluded.isEmpty() ? QStringList{average, quality, absolute}
                                  : QStringList{average, quality, absolute, excluded};
    }
};

// The most questions a test has.
constexpr int MaxQuestions = 150;

// A grade and counts that can come from a test: a whole grade 2..5, 1..MaxQuestions questions
// and no more right answers than questions. Anything else a pupil's file says is listed but kept
// out of the statistics.
bool countsInStatistics(const PupilStatus &status);

// Lines of every graded pupil of the computers in order, and the statistics over them.
Log build(const QList<PupilStatus> &pupils, const QLocale &locale);

// "#,###": a whole number with group separators, nothing for a value below 0.5.
QString formatAverage(double value, const QLocale &locale);
// "##0.0##": at least one and at most three decimals.
QString formatPercent(double value, const QLocale &locale);

// The date of a title, written with the Russian month name whatever the system's locale, as
// every other text of the program: "10 декабря 2026".
inline const QString TitleDateFormat = QStringLiteral("d MMMM yyyy");
// "Результаты теста проведенного " and the date.
QString title(const QDate &date);
// The lines sent to the printer.
QStringList printLines(const Log &log, const QDate &date);
// The block appended to the history.
QStringList historyBlock(const Log &log, const QDate &date);

enum class HistorySave {
    Saved,
    Unreadable, // the history exists but cannot be read: it is kept as it is
    NotWritten
};
// Appends the block to the history through the temporary copy: the history is replaced only
// once the copy with the new block is complete. A missing history is started; one that exists
// but cannot be read is never replaced.
HistorySave appendHistory(const QString &historyFile, const QString &temporaryFile,
                          const QStringList &block);
// Copies the history for viewing (an empty copy when there is no history yet).
bool copyHistory(const QString &historyFile, const QString &viewFile);

} // namespace resultslog
