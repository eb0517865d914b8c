// The item analysis of a class: 100,000 answer lines in the journals of 50 computers, read and
// analysed as the window does off its thread; fails above 300 ms. Prints the peak memory.
#include "benchsupport.h"
#include "core/textfile.h"
#include "testing/itemanalysis.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {
constexpr int Computers = 50;
constexpr int LinesPerComputer = 2000;
constexpr int Questions = 20;
constexpr qint64 LimitMs = 300;
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString bankPath = QStringLiteral(TARVEL_DEMO_DATA "/jpg/T01_96.jpg");
    QList<itemanalysis::Computer> computers;
    for (int c = 1; c <= Computers; ++c) {
        const QString folder = dir.filePath(QStringLiteral("pc%1").arg(c));
        QDir().mkpath(folder + QStringLiteral("/data"));
        QByteArray bytes;
        for (int i = 0; i < LinesPerComputer; ++i) {
            const int attempt = i / Questions;
            const int question = i % Questions + 1;
            const int chosen = (attempt * 7 + question * 3 + c) % 5 + 1;
            textfile::appendLine(
                bytes, QStringLiteral("2026-12-%1 09:%2:00\tУченик\t%3\tT01_96.jpg\t%4\t%5\t%6\t%7")
                           .arg(attempt % 28 + 1, 2, 10, QLatin1Char('0'))
                           .arg(attempt % 60, 2, 10, QLatin1Char('0'))
                           .arg(c)
                           .arg(question)
                           .arg(chosen)
                           .arg(chosen == 2 ? 1 : 0)
                           .arg(10 + i % 50));
        }
        textfile::replaceFile(folder + QStringLiteral("/data/answers.txt"), bytes);
        computers.append({QStringLiteral("Компьютер %1").arg(c), folder});
    }
    QElapsedTimer timer;
    timer.start();
    const itemanalysis::Report report = itemanalysis::buildReport(
        computers, bankPath, QStringLiteral("T01_96.jpg"), QDate(), QDate());
    const qint64 ms = timer.elapsed();
    int asked = 0;
    for (const itemanalysis::Item &item : report.items)
        asked += item.asked;
    std::printf("item analysis of %d answer lines from %d computers: %lld ms (limit %lld), "
                "journals read %d, questions %lld, peak resident memory %.1f MB\n",
                asked, Computers, static_cast<long long>(ms), static_cast<long long>(LimitMs),
                report.journalsRead, static_cast<long long>(report.items.size()),
                peakResidentMegabytes());
    return ms <= LimitMs && asked == Computers * LinesPerComputer ? 0 : 1;
}
