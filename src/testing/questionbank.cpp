#include "testing/questionbank.h"

#include "app/textfile.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <cmath>
#include <optional>

namespace {

// A whole number as the bank writes it; nothing when the text is not one or leaves 16 bits.
std::optional<qint16> wholeNumber(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (rounded < -32768 || rounded > 32767)
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

QString damaged(const QString &fileName, const QString &fault)
{
    return QStringLiteral("Тест не может быть начат: файл вопросов «%1» повреждён (%2).")
        .arg(fileName, fault);
}

int drawBelow(int bound, QRandomGenerator &random)
{
    // The product is single precision and can round up to the bound itself.
    const int c = static_cast<int>(
        std::floor(static_cast<float>(bound) * static_cast<float>(random.generateDouble())));
    return qBound(0, c, qMax(0, bound - 1));
}

struct BankReader
{
    QuestionBank &bank;
    QString fileName;
    int record = 0;
    std::array<qint16, QuestionBank::Slots> good{};

    // Stores one pair; returns the fault, or an empty text.
    QString store(const QString &key, const QString &value)
    {
        if (key == QLatin1String("name")) {
            bank.name = value;
            return {};
        }
        if (key == QLatin1String("time")) {
            const std::optional<qint16> time = wholeNumber(value);
            if (!time)
                return QStringLiteral("значение «time» не число: «%1»").arg(value);
            bank.time = *time;
            return {};
        }
        if (record >= QuestionBank::Slots)
            return QStringLiteral("в файле больше %1 вопросов").arg(QuestionBank::Slots - 1);
        BankRecord &r = bank.records[record];
        if (key == QLatin1String("temaname"))
            r.topic = value;
        else if (key == QLatin1String("vop"))
            r.question = value;
        else if (key.size() == 4 && key.startsWith(QLatin1String("otv")) && key[3] >= u'1' &&
                 key[3] <= u'5')
            r.answers[key[3].unicode() - u'1'] = value;
        else if (key == QLatin1String("good")) {
            const std::optional<qint16> number = wholeNumber(value);
            if (!number)
                return QStringLiteral("значение «good» вопроса %1 не число: «%2»")
                    .arg(record + 1)
                    .arg(value);
            good[record] = *number;
        } else if (key == QLatin1String("ris")) {
            r.picture = value;
            ++record;
        }
        return {};
    }
};

// A question whose right answer is no answer at all could never be answered right.
int firstWithoutRightAnswer(const QuestionBank &bank)
{
    for (int r = 0; r <= bank.lastIndex; ++r) {
        if (bank.records[r].correct < 1 || bank.records[r].correct > 5)
            return r;
    }
    return -1;
}

} // namespace

void ShuffleAnswers(BankRecord &record, QRandomGenerator &random)
{
    std::array<bool, 5> used{};
    std::array<QString, 5> shuffled;
    for (QString &answer : shuffled) {
        int d = 0;
        do
            d = static_cast<int>(random.bounded(5));
        while (used[d]);
        used[d] = true;
        answer = record.answers[d];
    }
    record.answers = shuffled;
    for (int j = 0; j < 5; ++j) {
        if (record.answers[j].startsWith(u'1'))
            record.correct = static_cast<qint16>(j + 1);
    }
}

PreparedTest parseQuestionBank(const QStringList &lines, const QString &fileName,
                               QRandomGenerator &random)
{
    PreparedTest result;
    QuestionBank &bank = result.bank;
    const qsizetype start = textfile::indexAfterStart(lines);
    if (start < 0) {
        result.error = damaged(fileName, QStringLiteral("нет строки «start»"));
        return result;
    }
    BankReader reader{bank, fileName};
    for (const textfile::KeyValue &pair : textfile::readPairs(lines, start)) {
        if (pair.key == QLatin1String("end"))
            break;
        if (!pair.hasValue) {
            result.error =
                damaged(fileName, QStringLiteral("у ключа «%1» нет значения").arg(pair.key));
            return result;
        }
        if (const QString fault = reader.store(pair.key, pair.value); !fault.isEmpty()) {
            result.error = damaged(fileName, fault);
            return result;
        }
    }
    for (int r = 0; r < QuestionBank::Slots; ++r) {
        bank.records[r].correct = reader.good[r];
        if (r > 0)
            ShuffleAnswers(bank.records[r], random);
        for (QString &answer : bank.records[r].answers)
            answer.remove(0, 1);
    }
    int k = 1;
    while (k < QuestionBank::Slots && !bank.records[k].question.isEmpty())
        ++k;
    bank.lastIndex = k - 1;
    if (bank.records[0].question.isEmpty())
        result.error = damaged(fileName, QStringLiteral("в нём нет ни одного вопроса"));
    else if (bank.questionCount() > QuestionBank::MaxTestQuestions)
        result.error = QStringLiteral("Тест не может быть начат: в файле вопросов «%1» больше %2 "
                                      "вопросов.")
                           .arg(fileName)
                           .arg(QuestionBank::MaxTestQuestions);
    else if (const int r = firstWithoutRightAnswer(bank); r >= 0)
        result.error = damaged(fileName, QStringLiteral("у вопроса %1 нет верного ответа: "
                                                        "«good» %2 не от 1 до 5")
                                             .arg(r + 1)
                                             .arg(bank.records[r].correct));
    return result;
}

PreparedTest LoadQuestionBank(const QString &path, QRandomGenerator &random)
{
    const QString fileName = QFileInfo(path).fileName();
    const std::optional<QStringList> lines = textfile::readLines(path);
    if (!lines) {
        PreparedTest missing;
        missing.error =
            QStringLiteral("Тест не может быть начат: не найден файл вопросов «%1».").arg(fileName);
        return missing;
    }
    return parseQuestionBank(*lines, fileName, random);
}

QList<int> DrawQuestionOrder(int lastIndex, QRandomGenerator &random)
{
    QList<bool> drawn(lastIndex + 1, false);
    QList<int> order;
    order.reserve(lastIndex + 1);
    for (int p = 0; p <= lastIndex; ++p) {
        int c = drawBelow(lastIndex, random);
        while (drawn[c])
            c = c + 1 > lastIndex ? 0 : c + 1;
        drawn[c] = true;
        order.append(c);
    }
    return order;
}

PreparedTest PrepareTest(const QString &path, QRandomGenerator &random)
{
    PreparedTest test = LoadQuestionBank(path, random);
    if (test.ok())
        test.order = DrawQuestionOrder(test.bank.lastIndex, random);
    return test;
}
