#include "network/resultslog.h"

#include "core/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace resultslog {

namespace {
QString nameColumn(const PupilStatus &status)
{
    QString name = status.surname + u' ' + status.firstName;
    if (name.size() > 24)
        name = status.surname;
    if (name.size() > 24)
        name = name.left(23) + u'.';
    return name.leftJustified(24);
}

const QString noData = QStringLiteral("нет оценённых тестов");
} // namespace

QString line(int n, const PupilStatus &status)
{
    const QString prefix = (QStringLiteral("  ") + QString::number(n)).leftJustified(6);
    const QString grade =
        QStringLiteral("   ") + QString::number(status.grade) + QStringLiteral("    ");
    const QString correct =
        u' ' + (pupilstatus::countText(status.rightAnswers) + QStringLiteral(" / ") +
                pupilstatus::countText(status.questionCount))
                   .leftJustified(12);
    return prefix + nameColumn(status) + grade + correct + u' ' + status.testName;
}

QString formatAverage(double value, const QLocale &locale)
{
    const double whole = std::round(value);
    if (whole < 1)
        return QString();
    QLocale grouped = locale;
    grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(qint64(whole));
}

QString formatPercent(double value, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = plain.toString(std::round(value * 1000) / 1000, 'f', 3);
    const QString point = locale.decimalPoint();
    while (text.endsWith(u'0') && !text.endsWith(point + u'0'))
        text.chop(1);
    return text;
}

bool countsInStatistics(const PupilStatus &status)
{
    const int max = status.questionCount.value_or(0);
    const int right = status.rightAnswers.value_or(0);
    return status.grade >= 2 && status.grade <= 5 && max >= 1 && max <= MaxQuestions &&
           right >= 0 && right <= max;
}

Log build(const QList<PupilStatus> &pupils, const QLocale &locale)
{
    Log log;
    int counted = 0;
    int sum = 0;
    int count3 = 0;
    int count4 = 0;
    QStringList excluded;
    for (const PupilStatus &status : pupils) {
        if (!status.graded())
            continue;
        const int n = int(log.lines.size()) + 1;
        log.lines << line(n, status);
        if (!countsInStatistics(status)) {
            excluded << QString::number(n);
            continue;
        }
        ++counted;
        sum += status.grade;
        count3 += status.grade > 2 ? 1 : 0;
        count4 += status.grade > 3 ? 1 : 0;
    }
    if (!excluded.isEmpty())
        log.excluded = QStringLiteral("Не учтены в статистике (неверная оценка или число "
                                      "ответов): ") +
                       excluded.join(QStringLiteral(", "));
    const auto lines = float(counted);
    log.average = QStringLiteral("Средний балл: ");
    log.quality = QStringLiteral("Качественная успеваемость: ");
    log.absolute = QStringLiteral("Абсолютная успеваемость: ");
    if (counted == 0) {
        log.average += noData;
        log.quality += noData;
        log.absolute += noData;
        return log;
    }
    log.average += formatAverage(float(sum) / lines, locale);
    log.quality += formatPercent(count4 / lines * 100, locale) + QStringLiteral(" %");
    log.absolute += formatPercent(count3 / lines * 100, locale) + QStringLiteral(" %");
    return log;
}

QString title(const QDate &date)
{
    return QStringLiteral("Результаты теста проведенного ") +
           QLocale(QLocale::Russian).toString(date, TitleDateFormat);
}

QStringList printLines(const Log &log, const QDate &date)
{
    return QStringList{title(date), QString()} + log.lines + QStringList{QString()} +
           log.statistics();
}

QStringList historyBlock(const Log &log, const QDate &date)
{
    return QStringList{title(date), QString(), HeaderLine, QString()} + log.lines +
           QStringList{QString()} + log.statistics() +
           QStringList{QString(), BlockEnd, QString(), QString()};
}

HistorySave appendHistory(const QString &historyFile, const QString &temporaryFile,
                          const QStringList &block)
{
    const std::optional<QStringList> history = textfile::readLines(historyFile);
    if (!history && QFileInfo::exists(historyFile))
        return HistorySave::Unreadable;
    if (!textfile::writeLines(temporaryFile, history.value_or(QStringList()) + block))
        return HistorySave::NotWritten;
    const std::optional<QStringList> copy = textfile::readLines(temporaryFile);
    if (!copy || !textfile::writeLines(historyFile, *copy))
        return HistorySave::NotWritten;
    QFile::remove(temporaryFile);
    return HistorySave::Saved;
}

bool copyHistory(const QString &historyFile, const QString &viewFile)
{
    QDir().mkpath(QFileInfo(viewFile).absolutePath());
    return textfile::writeLines(viewFile, textfile::readLines(historyFile).value_or(QStringList()));
}

} // namespace resultslog
