#include "fuzzsupport.h"
#include "network/pupilstatus.h"
#include "network/resultslog.h"

#include <QLocale>

namespace {
// The number a statistics line ends with ("… 66.667 %"), or -1 when it has none.
double shownNumber(const QString &text)
{
    QString number = text.section(u':', 1).trimmed();
    if (number.endsWith(u'%'))
        number.chop(1);
    bool ok = false;
    const double value = QLocale::c().toDouble(number.trimmed().remove(u','), &ok);
    return ok ? value : -1;
}
} // namespace

// The class statistics over whatever the pupils' curr_test.ini files hold: the input is split
// at zero bytes into the files of computers 1, 2, … The average is a grade 2..5, both
// percentages lie within 0..100, and every graded computer is listed once.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> files =
        QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0');
    QList<PupilStatus> pupils;
    int graded = 0;
    for (const QByteArray &file : files.first(qMin<qsizetype>(files.size(), 50))) {
        pupils << pupilstatus::fromContents({pupilfiles::Status::Done, file}, PupilStatus());
        graded += pupils.last().graded() ? 1 : 0;
    }
    const resultslog::Log log = resultslog::build(pupils, QLocale::c());
    if (log.lines.size() != graded)
        __builtin_trap();
    if (log.average.endsWith(QStringLiteral("нет оценённых тестов")))
        return 0;
    const double average = shownNumber(log.average);
    if (average < 2 || average > 5)
        __builtin_trap();
    for (const QString &percent : {log.quality, log.absolute}) {
        const double value = shownNumber(percent);
        if (value < 0 || value > 100)
            __builtin_trap();
    }
    return 0;
}
