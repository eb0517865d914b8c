#include "testing/itemanalysis.h"

#include "network/pupilfiles.h"

#include "core/datafiles.h"

#include <QHash>
#include <QMap>
#include <QRandomGenerator>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace itemanalysis {

namespace {
const QString CheckKey = QStringLiteral("проверьте ключ");
const QString TooHard = QStringLiteral("слишком трудный");
const QString TooEasy = QStringLiteral("слишком лёгкий");

struct AttemptKey
{
    int journal;
    QDateTime start;
    QString firstName;
    QString surname;

    bool operator==(const AttemptKey &) const = default;
};

size_t qHash(const AttemptKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.journal, key.start, key.firstName, key.surname);
}

struct Score
{
    int right = 0;
    int asked = 0;

    double share() const { return asked > 0 ? double(right) / asked : 0; }
};

// One asking of a question: the attempt it belongs to and the answer given.
struct Asking
{
    int attempt;
    const answerjournal::Answer *answer;
};

bool inRange(const QDateTime &start, const QDate &from, const QDate &to)
{
    const QDate day = start.date();
    return (!from.isValid() || day >= from) && (!to.isValid() || day <= to);
}

std::optional<double> discrimination(QList<Asking> askings, const QList<Score> &attempts)
{
    const int group = int(std::lround(GroupShare * double(askings.size())));
    if (group < MinGroup)
        return std::nullopt;
    std::stable_sort(askings.begin(), askings.end(), [&](const Asking &a, const Asking &b) {
        return attempts[a.attempt].share() > attempts[b.attempt].share();
    });
    const auto rightIn = [&](qsizetype from) {
        int right = 0;
        for (qsizetype i = from; i < from + group; ++i)
            right += askings[i].answer->right ? 1 : 0;
        return double(right) / group;
    };
    return rightIn(0) - rightIn(askings.size() - group);
}

QString flagFor(const Item &item)
{
    const int topWrongCount = item.topWrong > 0 ? item.chosen[item.topWrong] : 0;
    if ((item.discrimination && *item.discrimination < 0) || topWrongCount > item.right)
        return CheckKey;
    if (item.facility < 30)
        return TooHard;
    if (item.facility > 90)
        return TooEasy;
    return QString();
}

Item itemOf(int question, const QList<Asking> &askings, const QList<Score> &attempts)
{
    Item item;
    item.question = question;
    item.asked = int(askings.size());
    std::array<int, 6> wrong{};
    qint64 seconds = 0;
    for (const Asking &asking : askings) {
        const answerjournal::Answer &answer = *asking.answer;
        item.right += answer.right ? 1 : 0;
        ++item.chosen[answer.chosen];
        if (!answer.right)
            ++wrong[answer.chosen];
        seconds += answer.seconds;
    }
    for (int place = 1; place <= 5; ++place) {
        if (wrong[place] > 0 && (item.topWrong == 0 || wrong[place] > wrong[item.topWrong]))
            item.topWrong = place;
    }
    item.facility = 100.0 * item.right / item.asked;
    item.topWrongShare = item.topWrong > 0 ? 100.0 * wrong[item.topWrong] / item.asked : 0;
    item.meanSeconds = double(seconds) / item.asked;
    item.discrimination = discrimination(askings, attempts);
    item.flag = flagFor(item);
    return item;
}

QString decimal(double value, int decimals)
{
    return QString::number(value, 'f', decimals).replace(u'.', u',');
}
} // namespace

QList<Item> analyse(const QList<QList<answerjournal::Answer>> &journals, const QString &bank,
                    const QDate &from, const QDate &to, int questionCount)
{
    QHash<AttemptKey, int> attemptOf;
    QList<Score> attempts;
    QMap<int, QList<Asking>> askingsOf;
    for (int j = 0; j < journals.size(); ++j) {
        for (const answerjournal::Answer &answer : journals[j]) {
            if (answer.bank != bank || answer.record > questionCount ||
                !inRange(answer.start, from, to))
                continue;
            const AttemptKey key{j, answer.start, answer.firstName, answer.surname};
            auto found = attemptOf.constFind(key);
            if (found == attemptOf.cend()) {
                found = attemptOf.insert(key, int(attempts.size()));
                attempts.append(Score{});
            }
            Score &score = attempts[*found];
            score.right += answer.right ? 1 : 0;
            ++score.asked;
            askingsOf[answer.record].append({*found, &answer});
        }
    }
    QList<Item> items;
    for (auto it = askingsOf.cbegin(); it != askingsOf.cend(); ++it)
        items << itemOf(it.key(), it.value(), attempts);
    return items;
}

ClassJournals readJournals(const QList<Computer> &computers, const QString &bank)
{
    static const QString Relative = QStringLiteral("data/") + datafiles::AnswerJournalFile;
    ClassJournals read;
    for (const Computer &computer : computers) {
        const pupilfiles::Contents file =
            pupilfiles::read(computer.folder, Relative, answerjournal::ReadLimit);
        switch (file.status) {
        case pupilfiles::Status::Done:
            read.journals << answerjournal::parse(file.bytes, bank);
            continue;
        case pupilfiles::Status::Missing:
            read.failures << QStringLiteral("%1: журнал ответов %2 не найден")
                                 .arg(computer.name, pupilfiles::pathOf(computer.folder, Relative));
            continue;
        case pupilfiles::Status::Damaged:
            read.failures << QStringLiteral("%1: журнал ответов %2 не прочитан: это не обычный "
                                            "файл или он больше %3 МБ")
                                 .arg(computer.name, pupilfiles::pathOf(computer.folder, Relative))
                                 .arg(answerjournal::ReadLimit / (1024 * 1024));
            continue;
        case pupilfiles::Status::Failed:
            read.failures << QStringLiteral("%1: журнал ответов %2 не удалось прочитать")
                                 .arg(computer.name, pupilfiles::pathOf(computer.folder, Relative));
            continue;
        }
    }
    return read;
}

Report buildReport(const QList<Computer> &computers, const QString &bankPath, const QString &bank,
                   const QDate &from, const QDate &to)
{
    Report report;
    QRandomGenerator random(1);
    const PreparedTest test = loadQuestionBank(bankPath, random);
    if (!test.ok()) {
        report.bankError = test.error;
        return report;
    }
    report.bank = test.bank;
    const ClassJournals read = readJournals(computers, bank);
    report.failures = read.failures;
    report.journalsRead = int(read.journals.size());
    report.items = analyse(read.journals, bank, from, to, test.bank.questionCount());
    return report;
}

std::array<QString, 5> fileOrderAnswers(const BankRecord &record)
{
    std::array<QString, 5> answers;
    for (int k = 1; k <= 5; ++k)
        answers[qBound(1, record.filePlace(k), 5) - 1] = record.answers[k - 1];
    return answers;
}

QString percentText(double percent)
{
    return decimal(percent, 1);
}

QString discriminationText(const std::optional<double> &value)
{
    return value ? decimal(*value, 2) : QStringLiteral("—");
}

QByteArray csv(const QList<Item> &items)
{
    QStringList lines{QStringLiteral("question;asked;facility;discrimination;top_wrong_answer;"
                                     "top_wrong_share;mean_seconds;flag")};
    for (const Item &item : items) {
        const bool wrong = item.topWrong > 0;
        lines << QStringList{QString::number(item.question),
                             QString::number(item.asked),
                             percentText(item.facility),
                             item.discrimination ? decimal(*item.discrimination, 2) : QString(),
                             wrong ? QString::number(item.topWrong) : QString(),
                             wrong ? percentText(item.topWrongShare) : QString(),
                             decimal(item.meanSeconds, 1),
                             item.flag}
                     .join(u';');
    }
    return QByteArray("\xEF\xBB\xBF") + lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

} // namespace itemanalysis
