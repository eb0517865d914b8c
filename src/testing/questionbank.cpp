#include "testing/questionbank.h"

#include "core/textfile.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

namespace {

int drawBelow(int bound, QRandomGenerator &random)
{
    // The product is single precision and can round up to the bound itself.
    const int c = static_cast<int>(
        std::floor(static_cast<float>(bound) * static_cast<float>(random.generateDouble())));
    return qBound(0, c, qMax(0, bound - 1));
}

// Places (1..5, in file order) of the answers marked "1".
QList<int> markedPlaces(const BankRecord &record)
{
    QList<int> places;
    for (int k = 0; k < 5; ++k) {
        if (record.answers[k].startsWith(u'1'))
            places << k + 1;
    }
    return places;
}

QString placeList(const QList<int> &places)
{
    QStringList numbers;
    for (int place : places)
        numbers << QString::number(place);
    return numbers.join(QStringLiteral(", "));
}

using GoodValues = std::array<qint16, QuestionBank::Slots>;

// Takes the records of the document into the bank's table.
GoodValues fillBank(const BankDocument &document, QuestionBank &bank)
{
    GoodValues goods{};
    bank.name = document.name;
    bank.time = bankNumber(document.time).value_or(0);
    for (int r = 0; r < int(document.questions.size()); ++r) {
        const BankQuestion &question = document.questions.at(r);
        BankRecord &record = bank.records[r];
        record.topic = question.topic;
        record.question = question.question;
        record.answers = question.answers;
        record.picture = question.picture;
        goods[r] = bankNumber(question.good).value_or(0);
    }
    return goods;
}

int firstLine(const BankDocument &document, int record)
{
    return record < document.questions.size() ? document.questions.at(record).line : 0;
}

// What a bank author should know about a played record, before its answers are shuffled.
void checkRecord(const BankRecord &record, int number, int line, qint16 good,
                 QList<BankProblem> &problems)
{
    const QList<int> marked = markedPlaces(record);
    const bool goodInRange = good >= 1 && good <= 5;
    if (marked.isEmpty() && !goodInRange) {
        problems.append({number, line,
                         good == 0 ? QStringLiteral("верный ответ не указан: ни один ответ не "
                                                    "начинается с «1» и номер верного ответа не "
                                                    "указан в «good»")
                                   : QStringLiteral("верный ответ не указан: ни один ответ не "
                                                    "начинается с «1», а «good» %1 не от 1 до 5")
                                         .arg(good),
                         true});
        return;
    }
    if (marked.size() > 1)
        problems.append({number, line,
                         QStringLiteral("верными («1») отмечены несколько ответов: %1")
                             .arg(placeList(marked))});
    else if (marked.size() == 1 && goodInRange && marked.first() != good)
        problems.append(
            {number, line,
             QStringLiteral("«good» %1 не совпадает с ответом %2, отмеченным «1»; "
                            "засчитывается %3")
                 .arg(good)
                 .arg(marked.first())
                 .arg(number == 1 ? QStringLiteral("«good»") : QStringLiteral("отмеченный"))});
    for (int k = 0; k < 5; ++k) {
        if (record.answers[k].size() < 2)
            problems.append({number, line, QStringLiteral("ответ %1 пуст").arg(k + 1)});
    }
}

// The test ends before the first record after the first one without a question text.
void countQuestions(QuestionBank &bank, const BankDocument &document, QList<BankProblem> &problems)
{
    int k = 1;
    while (k < QuestionBank::Slots && !bank.records[k].question.isEmpty())
        ++k;
    bank.lastIndex = k - 1;
    if (k < QuestionBank::Slots && firstLine(document, k) != 0)
        problems.append({k + 1, firstLine(document, k),
                         QStringLiteral("нет текста вопроса («vop»): тест кончается на вопросе "
                                        "%1, этот и следующие вопросы задаваться не будут")
                             .arg(k)});
    if (bank.records[0].question.isEmpty())
        problems.append({0, 0, QStringLiteral("в файле нет ни одного вопроса"), true});
    else if (bank.questionCount() > QuestionBank::MaxTestQuestions)
        problems.append({QuestionBank::MaxTestQuestions + 1,
                         firstLine(document, QuestionBank::MaxTestQuestions),
                         QStringLiteral("в тесте может быть не больше %1 вопросов, а в файле их %2")
                             .arg(QuestionBank::MaxTestQuestions)
                             .arg(bank.questionCount()),
                         true});
}

// The right answer of every record: the first keeps its file order and its "good" (its marker
// when "good" names no answer), the others are shuffled.
void settleAnswers(QuestionBank &bank, const GoodValues &goods, QRandomGenerator &random)
{
    for (int r = 0; r < QuestionBank::Slots; ++r) {
        BankRecord &record = bank.records[r];
        record.correct = goods[r];
        const QList<int> marked = markedPlaces(record);
        if (r > 0)
            shuffleAnswers(record, random);
        else if ((record.correct < 1 || record.correct > 5) && !marked.isEmpty())
            record.correct = static_cast<qint16>(marked.last());
        for (QString &answer : record.answers)
            answer.remove(0, 1);
    }
}

QString unplayable(const QString &fileName, const BankProblem &problem)
{
    return QStringLiteral("Тест не может быть начат: ошибка в файле вопросов «%1», %2.")
        .arg(fileName, problem.describe());
}

} // namespace

void shuffleAnswers(BankRecord &record, QRandomGenerator &random)
{
    std::array<bool, 5> used{};
    std::array<QString, 5> shuffled;
    std::array<qint8, 5> places{};
    const int goodPlace = record.correct;
    for (int j = 0; j < 5; ++j) {
        int d = 0;
        do
            d = static_cast<int>(random.bounded(5));
        while (used[d]);
        used[d] = true;
        shuffled[j] = record.answers[d];
        places[j] = record.places[d];
        if (d + 1 == goodPlace)
            record.correct = static_cast<qint16>(j + 1);
    }
    record.answers = shuffled;
    record.places = places;
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
    QList<BankProblem> &problems = result.problems;
    BankDocument document;
    const bool read = readBankDocument(lines, document, problems);
    const bool sound = std::none_of(problems.cbegin(), problems.cend(),
                                    [](const BankProblem &problem) { return problem.fatal; });
    if (read && document.questions.size() > QuestionBank::Slots) {
        problems.append({QuestionBank::Slots + 1, firstLine(document, QuestionBank::Slots),
                         QStringLiteral("в файле больше %1 вопросов").arg(QuestionBank::Slots - 1),
                         true});
    } else if (read && sound) {
        const GoodValues goods = fillBank(document, bank);
        countQuestions(bank, document, problems);
        for (int r = 0; r <= bank.lastIndex && !bank.records[0].question.isEmpty(); ++r)
            checkRecord(bank.records[r], r + 1, firstLine(document, r), goods[r], problems);
        settleAnswers(bank, goods, random);
    }
    for (const BankProblem &problem : std::as_const(problems)) {
        if (problem.fatal) {
            result.error = unplayable(fileName, problem);
            break;
        }
    }
    return result;
}

PreparedTest loadQuestionBank(const QString &path, QRandomGenerator &random)
{
    const QString fileName = QFileInfo(path).fileName();
    const textfile::FileRead file = textfile::readFile(path);
    if (!file.isRead()) {
        PreparedTest unread;
        unread.problems.append({0, 0, file.problem(), true});
        unread.error =
            file.status == textfile::FileRead::Status::Missing
                ? QStringLiteral("Тест не может быть начат: не найден файл вопросов «%1».")
                      .arg(fileName)
                : QStringLiteral("Тест не может быть начат: файл вопросов «%1» нельзя "
                                 "прочитать (%2).")
                      .arg(fileName, file.problem());
        return unread;
    }
    const QStringList lines = textfile::splitLines(textfile::decode1251(file.bytes));
    return parseQuestionBank(lines, fileName, random);
}

QList<int> drawQuestionOrder(int lastIndex, QRandomGenerator &random)
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

PreparedTest prepareTest(const QString &path, QRandomGenerator &random)
{
    PreparedTest test = loadQuestionBank(path, random);
    if (test.ok())
        test.order = drawQuestionOrder(test.bank.lastIndex, random);
    return test;
}

QList<BankProblem> checkBankDocument(const BankDocument &document)
{
    QRandomGenerator random(1);
    const QStringList lines = textfile::splitLines(textfile::decode1251(bankBytes(document)));
    QList<BankProblem> problems = parseQuestionBank(lines, QString(), random).problems;
    for (int r = 0; r < document.questions.size(); ++r) {
        const BankQuestion &question = document.questions.at(r);
        const int right = question.rightAnswer();
        if (right == 0)
            continue;
        qsizetype longestWrong = 0;
        for (int k = 0; k < 5; ++k) {
            if (k + 1 != right)
                longestWrong = qMax(longestWrong, question.answerText(k).size());
        }
        if (question.answerText(right - 1).size() > longestWrong)
            problems.append({r + 1, 0,
                             QStringLiteral("верный ответ длиннее всех неверных: его угадают по "
                                            "длине")});
    }
    return problems;
}
