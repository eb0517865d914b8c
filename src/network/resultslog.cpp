#include "network/resultslog.h"

#include "app/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace resultslog {

namespace {
QString nameColumn(const PupilStatus &status)
{
    QString name = status.second + u' ' + status.first;
    if (name.size() > 24)
        name = status.second;
    if (name.size() > 24)
        name = name.left(23) + u'.';
    return name.leftJustified(24);
}

const QString noData = QStringLiteral("нет оценённых тестов");
} // namespace

QString line(int n, const PupilStatus &status)
{
    const QString prefix = (QStringLiteral("  ") + QString::number(n)).leftJustified(6);
    const QString grade = QStringLiteral("   ") + status.ocenka + QStringLiteral("    ");
    const QString correct =
        u' ' + (status.ok + QStringLiteral(" / ") + status.max).leftJustified(12);
    return prefix + nameColumn(status) + grade + correct + u' ' + status.name;
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

Log build(const std::array<PupilStatus, SessionState::MaxComputers> &pupils, int count,
          const QLocale &locale)
{
    Log log;
    float sum = 0;
    int count3 = 0;
    int count4 = 0;
    for (int i = 1; i <= qBound(0, count, SessionState::MaxComputers); ++i) {
        const PupilStatus &status = pupils.at(i - 1);
        if (status.ocenka.isEmpty())
            continue;
        log.lines << line(int(log.lines.size()) + 1, status);
        const double g = textfile::leadingNumber(status.ocenka);
        sum += float(g);
        count3 += g > 2 ? 1 : 0;
        count4 += g > 3 ? 1 : 0;
    }
    const auto lines = float(log.lines.size());
    log.average = QStringLiteral("Средний балл: ");
    log.quality = QStringLiteral("Качественная успеваемость: ");
    log.absolute = QStringLiteral("Абсолютная успеваемость: ");
    if (log.lines.isEmpty()) {
        log.average += noData;
        log.quality += noData;
        log.absolute += noData;
        return log;
    }
    log.average += formatAverage(sum / lines, locale);
    log.quality += formatPercent(count4 / lines * 100, locale) + QStringLiteral(" %");
    log.absolute += formatPercent(count3 / lines * 100, locale) + QStringLiteral(" %");
    return log;
}

QString title(const QDate &date, const QLocale &locale)
{
    return QStringLiteral("Результаты теста проведенного ") +
           locale.toString(date, QLocale::ShortFormat);
}

QStringList printLines(const Log &log, const QDate &date, const QLocale &locale)
{
    return QStringList{title(date, locale), QString()} + log.lines + QStringList{QString()} +
           log.statistics();
}

QStringList historyBlock(const Log &log, const QDate &date, const QLocale &locale)
{
    return QStringList{title(date, locale), QString(), HeaderLine, QString()} + log.lines +
           QStringList{QString()} + log.statistics() +
           QStringList{QString(), BlockEnd, QString(), QString()};
}

bool appendHistory(const QString &historyFile, const QString &temporaryFile,
                   const QStringList &block)
{
    const QStringList history = textfile::readLines(historyFile).value_or(QStringList());
    if (!textfile::writeLines(temporaryFile, history + block))
        return false;
    const std::optional<QStringList> copy = textfile::readLines(temporaryFile);
    if (!copy || !textfile::writeLines(historyFile, *copy))
        return false;
    QFile::remove(temporaryFile);
    return true;
}

bool copyHistory(const QString &historyFile, const QString &viewFile)
{
    QDir().mkpath(QFileInfo(viewFile).absolutePath());
    return textfile::writeLines(viewFile, textfile::readLines(historyFile).value_or(QStringList()));
}

} // namespace resultslog
