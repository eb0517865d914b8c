// Medians of the program's file work: banks, session files, the user base.
#include "core/sessionfiles.h"
#include "core/textfile.h"
#include "testing/bankimport.h"
#include "testing/questionbank.h"
#include "users/userbase.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

QStringList bankLines(int records)
{
    QStringList lines{
        QStringLiteral("Банк для замера"), QStringLiteral("start"), QStringLiteral("name"),
        QStringLiteral("Светофоры"),       QStringLiteral("time"),  QStringLiteral("0")};
    for (int r = 0; r < records; ++r) {
        lines << QStringLiteral("temaname") << QStringLiteral("Светофоры. Тема %1").arg(r % 7)
              << QStringLiteral("vop")
              << QStringLiteral("Как часто проверяется видимость сигнальных огней светофора %1?")
                     .arg(r);
        for (int k = 1; k <= 5; ++k) {
            lines << QStringLiteral("otv%1").arg(k)
                  << QStringLiteral("%1Ответ номер %2 на вопрос %3").arg(k == 3).arg(k).arg(r);
        }
        lines << QStringLiteral("good") << QStringLiteral("3") << QStringLiteral("ris")
              << (r % 5 ? QString() : QStringLiteral("q_svet_vid"));
    }
    lines << QStringLiteral("end");
    return lines;
}

void loadBankAndPrepareTest(benchmark::State &state)
{
    const QString path = folder().filePath(QStringLiteral("bank200.jpg"));
    textfile::writeLines(path, bankLines(200));
    QRandomGenerator random(20261208);
    for (auto _ : state) {
        const PreparedTest test = loadQuestionBank(path, random);
        benchmark::DoNotOptimize(drawQuestionOrder(test.bank.lastIndex, random));
    }
}

// What the editor does when it opens a bank: read the file and run its check.
void openBankForEditing(benchmark::State &state)
{
    const QString path = folder().filePath(QStringLiteral("bank1000.jpg"));
    textfile::writeLines(path, bankLines(1000));
    for (auto _ : state) {
        const BankFileRead read = readBankFile(path);
        benchmark::DoNotOptimize(checkBankDocument(read.document));
    }
}

// Saving keeps the replaced file as a backup, so a save writes two files.
void saveEditedBank(benchmark::State &state)
{
    const QString path = folder().filePath(QStringLiteral("bank1000.jpg"));
    textfile::writeLines(path, bankLines(1000));
    const BankFileRead read = readBankFile(path);
    for (auto _ : state)
        benchmark::DoNotOptimize(saveBankFile(path, read.document, read.bytes));
}

void importCsvRows(benchmark::State &state)
{
    BankDocument bank;
    QList<BankProblem> problems;
    readBankDocument(textfile::joinLines(bankLines(1000)), bank, problems);
    const QByteArray csv = bankimport::toCsv(bank);
    for (auto _ : state) {
        BankDocument target = BankDocument::named(QStringLiteral("Импорт"));
        bankimport::Result result = bankimport::fromFile(QStringLiteral("q.csv"), csv);
        bankimport::appendTo(target, result, 1000);
        benchmark::DoNotOptimize(target);
    }
}

SessionRecords fullRecords()
{
    SessionRecords records;
    for (int i = 0; i < SessionSlots; ++i) {
        SessionRecord &r = records[i];
        r.topic = QStringLiteral("Рельсовые цепи. Тема %1").arg(i);
        r.question =
            QStringLiteral("Какое сопротивление нормативного шунта при проверке %1?").arg(i);
        for (int k = 1; k <= 5; ++k)
            r.answers[k - 1] = QStringLiteral("Вариант ответа %1 к вопросу %2").arg(k).arg(i);
        r.picture = i % 4 ? QString() : QStringLiteral("q_rc_shunt");
        r.chosenAnswer = QString::number(1 + i % 5);
        r.rightAnswer = QString::number(1 + i % 3);
    }
    return records;
}

SessionProgress progress150()
{
    return {QStringLiteral("Иван"),
            QStringLiteral("Петров"),
            QStringLiteral("Рельсовые цепи"),
            150,
            150,
            120,
            4};
}

void writeSessionFileBench(benchmark::State &state)
{
    const QString path = folder().filePath(QStringLiteral("temp1.ini"));
    const SessionRecords records = fullRecords();
    const SessionProgress progress = progress150();
    for (auto _ : state)
        benchmark::DoNotOptimize(writeSessionFile(path, progress, records));
}

void buildSessionFileText(benchmark::State &state)
{
    const SessionRecords records = fullRecords();
    const SessionProgress progress = progress150();
    for (auto _ : state)
        benchmark::DoNotOptimize(textfile::joinLines(sessionFileLines(progress, records)));
}

void loadFindSaveUserBase(benchmark::State &state)
{
    const QString path = folder().filePath(QStringLiteral("2_17.jpg"));
    UserBase base;
    for (int i = 0; i < 999; ++i) {
        UserRecord record;
        record.firstName = QStringLiteral("Имя%1").arg(i);
        record.surname = QStringLiteral("Фамилия%1").arg(i);
        record.password = QStringLiteral("пароль%1").arg(i);
        record.bookmark = QStringLiteral("3.2.Регулировка стрелочного перевода");
        for (int k = 0; k < 14; ++k)
            record.results[k] = textfile::printNumber(2 + (i + k) % 4);
        base.records.append(record);
    }
    base.records.append(UserRecord());
    base.save(path);
    for (auto _ : state) {
        UserBase loaded = *UserBase::load(path);
        benchmark::DoNotOptimize(loaded.find(QStringLiteral("Имя998"), QStringLiteral("Фамилия998"),
                                             QStringLiteral("пароль998")));
        loaded.save(path);
    }
}

} // namespace

BENCHMARK(loadBankAndPrepareTest)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(openBankForEditing)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(saveEditedBank)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(importCsvRows)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(writeSessionFileBench)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(buildSessionFileText)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(loadFindSaveUserBase)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
