#include "network/resultslogcsv.h"

#include "core/textfile.h"
#include "network/resultslog.h"

#include <QRegularExpression>

namespace resultslog::csv {

namespace {
const QString TitleStart = QStringLiteral("Результаты теста проведенного ");

// The title's date is written with the Russian month name; older histories have it in the short
// format of the teacher's locale of that day.
QDate titleDate(const QString &text, const QLocale &locale)
{
    QDate date = QLocale(QLocale::Russian).toDate(text, TitleDateFormat);
    if (!date.isValid())
        date = locale.toDate(text, QLocale::ShortFormat);
    for (const char *format :
         {"dd.MM.yyyy", "dd.MM.yy", "d.M.yy", "M/d/yy", "M/d/yyyy", "yyyy-MM-dd", "dd/MM/yyyy"}) {
        if (date.isValid())
            break;
        date = QDate::fromString(text, QString::fromLatin1(format));
    }
    if (date.isValid() && date.year() < 1950)
        date = date.addYears(100);
    return date;
}

// "  3   Петров Иван               4     7 / 10          Светофоры"
std::optional<Row> resultsLine(const QString &line)
{
    static const QRegularExpression pattern(
        QStringLiteral("^ {2}(\\d+) *(.{0,24}?) {3,}(\\S*) +(\\S*) / (\\S*) +(.*)$"));
    const QRegularExpressionMatch match = pattern.match(line);
    if (!match.hasMatch())
        return std::nullopt;
    Row row;
    row.number = match.captured(1).toInt();
    row.name = match.captured(2).trimmed();
    row.grade = match.captured(3);
    row.correct = match.captured(4);
    row.asked = match.captured(5);
    row.test = match.captured(6).trimmed();
    return row;
}

QString dateField(const Row &row)
{
    return row.date.isValid() ? row.date.toString(QStringLiteral("dd.MM.yyyy")) : row.dateText;
}
} // namespace

QList<Row> logRows(const QList<PupilStatus> &pupils, const QDate &date)
{
    QList<Row> rows;
    for (const PupilStatus &status : pupils) {
        if (!status.graded())
            continue;
        rows << Row{date,
                    QString(),
                    int(rows.size()) + 1,
                    (status.surname + u' ' + status.firstName).trimmed(),
                    QString::number(status.grade),
                    pupilstatus::countText(status.rightAnswers),
                    pupilstatus::countText(status.questionCount),
                    status.testName};
    }
    return rows;
}

QList<Row> historyRows(const QStringList &history, const QLocale &locale)
{
    QList<Row> rows;
    QDate date;
    QString dateText;
    for (const QString &line : history) {
        if (line.startsWith(TitleStart)) {
            dateText = line.mid(TitleStart.size()).trimmed();
            date = titleDate(dateText, locale);
        } else if (line != HeaderLine) {
            if (std::optional<Row> row = resultsLine(line)) {
                row->date = date;
                row->dateText = dateText;
                rows << *row;
            }
        }
    }
    return rows;
}

QString field(const QString &text)
{
    QString value = textfile::oneLine(text);
    static const QString formulaStart = QStringLiteral("=+-@");
    if (!value.isEmpty() && formulaStart.contains(value.front()))
        value.prepend(u'\'');
    const bool quoted = value.contains(u';') || value.contains(u'"') || value != value.trimmed();
    if (!quoted)
        return value;
    value.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + value + u'"';
}

QByteArray document(const QList<Row> &rows)
{
    QStringList lines{QStringLiteral("Дата;№;Фамилия Имя;Оценка;Правильных;Вопросов;Тест")};
    for (const Row &row : rows) {
        lines << QStringList{field(dateField(row)), QString::number(row.number), field(row.name),
                             field(row.grade),      field(row.correct),          field(row.asked),
                             field(row.test)}
                     .join(u';');
    }
    return QByteArray("\xEF\xBB\xBF") + lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

bool write(const QString &path, const QList<Row> &rows)
{
    return textfile::replaceFile(path, document(rows));
}

} // namespace resultslog::csv
