#include "testing/questionbank.h"

#include "core/textfile.h"

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

int drawBelow(int bound, QRandomGenerator &random)
{
    // The product is single precision and can round up to the bound itself.
    const int c = static_cast<int>(
        std::floor(static_cast<float>(bound) * static_cast<float>(random.generateDouble())));
    return qBound(0, c, qMax(0, bound - 1));
}

bool isAnswerKey(const QString &key)
{
    return key.size() == 4 && key.startsWith(QLatin1String("otv")) && key[3] >= u'1' &&
           key[3] <= u'5';
}

bool isRecordKey(const QString &key)
{
    return key == QLatin1String("temaname") || key == QLatin1String("vop") || isAnswerKey(key) ||
           key == QLatin1String("good") || key == QLatin1String("ris");
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

// Reads the key/value pairs into the bank, record by record, and notes what it finds wrong.
class BankReader
{
public:
    BankReader(QuestionBank &bank, QList<BankProblem> &problems)
        : m_bank(bank), m_problems(problems)
    {
    }

    // Stores one pair that stands on `line`; false when the bank cannot be played.
    bool store(const QString &key, const QString &value, int line)
    {
        if (key == QLatin1String("name")) {
            m_bank.name = value;
            return true;
        }
        if (key == QLatin1String("time"))
            return storeTime(value, line);
        if (!isRecordKey(key)) {
            warn(line, QStringLiteral("неизвестный ключ «%1» пропущен вместе со строкой значения")
                           .arg(key));
            return true;
        }
        if (m_record >= QuestionBank::Slots) {
            fail(line, QStringLiteral("в файле больше %1 вопросов").arg(QuestionBank::Slots - 1));
            return false;
        }
        if (m_firstLine[m_record] == 0)
            m_firstLine[m_record] = line;
        BankRecord &r = m_bank.records[m_record];
        if (key == QLatin1String("temaname"))
            r.topic = value;
        else if (key == QLatin1String("vop"))
            r.question = value;
        else if (isAnswerKey(key))
            r.answers[key[3].unicode() - u'1'] = value;
        else if (key == QLatin1String("good"))
            return storeGood(value, line);
        else
            closeRecord(value);
        return true;
    }

    // A key on the last line, without its value line.
    void danglingKey(const QString &key, int line)
    {
        if (key == QLatin1String("ris") && m_record < QuestionBank::Slots &&
            m_firstLine[m_record] != 0) {
            warn(line, QStringLiteral("после «ris» нет строки значения; вопрос принят без "
                                      "рисунка"));
            closeRecord(QString());
            return;
        }
        warn(line, QStringLiteral("ключ «%1» стоит в последней строке файла без строки "
                                  "значения; файл, видимо, обрезан")
                       .arg(key));
    }

    // The file ended: a record that was begun but not closed by "ris" is not played.
    void finish()
    {
        if (m_record >= QuestionBank::Slots || m_firstLine[m_record] == 0)
            return;
        m_problems.append({m_record + 1, m_firstLine[m_record],
                           QStringLiteral("вопрос не закончен строкой «ris» (файл обрезан?) и "
                                          "задаваться не будет"),
                           false});
        m_bank.records[m_record] = BankRecord();
        m_good[m_record] = 0;
        m_firstLine[m_record] = 0;
    }

    qint16 good(int record) const { return m_good[record]; }
    int firstLine(int record) const { return m_firstLine[record]; }

private:
    bool storeTime(const QString &value, int line)
    {
        const std::optional<qint16> time = wholeNumber(value);
        if (!time) {
            // "time" belongs to the whole bank, not to the question it stands in.
            m_problems.append({0, line,
                               QStringLiteral("значение «time» должно быть целым числом секунд, "
                                              "а стоит «%1»")
                                   .arg(value),
                               true});
            return false;
        }
        m_bank.time = *time;
        return true;
    }

    bool storeGood(const QString &value, int line)
    {
        const std::optional<qint16> number = wholeNumber(value);
        if (!number) {
            fail(line, QStringLiteral("значение «good» должно быть номером верного ответа от 1 до "
                                      "5, а стоит «%1»")
                           .arg(value));
            return false;
        }
        m_good[m_record] = *number;
        return true;
    }

    void closeRecord(const QString &picture)
    {
        m_bank.records[m_record].picture = picture;
        ++m_record;
    }

    void warn(int line, const QString &text) { m_problems.append({m_record + 1, line, text}); }
    void fail(int line, const QString &text)
    {
        m_problems.append({m_record + 1, line, text, true});
    }

    QuestionBank &m_bank;
    QList<BankProblem> &m_problems;
    int m_record = 0;
    std::array<qint16, QuestionBank::Slots> m_good{};
    std::array<int, QuestionBank::Slots> m_firstLine{};
};

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
void countQuestions(QuestionBank &bank, const BankReader &reader, QList<BankProblem> &problems)
{
    int k = 1;
    while (k < QuestionBank::Slots && !bank.records[k].question.isEmpty())
        ++k;
    bank.lastIndex = k - 1;
    if (k < QuestionBank::Slots && reader.firstLine(k) != 0)
        problems.append({k + 1, reader.firstLine(k),
                         QStringLiteral("нет текста вопроса («vop»): тест кончается на вопросе "
                                        "%1, этот и следующие вопросы задаваться не будут")
                             .arg(k)});
    if (bank.records[0].question.isEmpty())
        problems.append({0, 0, QStringLiteral("в файле нет ни одного вопроса"), true});
    else if (bank.questionCount() > QuestionBank::MaxTestQuestions)
        problems.append({QuestionBank::MaxTestQuestions + 1,
                         reader.firstLine(QuestionBank::MaxTestQuestions),
                         QStringLiteral("в тесте может быть не больше %1 вопросов, а в файле их %2")
                             .arg(QuestionBank::MaxTestQuestions)
                             .arg(bank.questionCount()),
                         true});
}

// The right answer of every record: the first keeps its file order and its "good" (its marker
// when "good" names no answer), the others are shuffled.
void settleAnswers(QuestionBank &bank, const BankReader &reader, QRandomGenerator &random)
{
    for (int r = 0; r < QuestionBank::Slots; ++r) {
        BankRecord &record = bank.records[r];
        record.correct = reader.good(r);
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

QString BankProblem::describe() const
{
    QStringList place;
    if (question > 0)
        place << QStringLiteral("вопрос %1").arg(question);
    if (line > 0)
        place << QStringLiteral("строка %1").arg(line);
    return place.isEmpty() ? text : place.join(QStringLiteral(", ")) + QStringLiteral(": ") + text;
}

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
    const qsizetype start = textfile::indexAfterStart(lines);
    if (start < 0) {
        problems.append(
            {0, 0, QStringLiteral("нет строки «start», после которой начинаются вопросы"), true});
        result.error = unplayable(fileName, problems.last());
        return result;
    }
    BankReader reader(bank, problems);
    const QList<textfile::KeyValue> pairs = textfile::readPairs(lines, start);
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        const textfile::KeyValue &pair = pairs.at(i);
        const int line = int(start + 2 * i + 1);
        if (pair.key == QLatin1String("end"))
            break;
        if (!pair.hasValue) {
            reader.danglingKey(pair.key, line);
            break;
        }
        if (!reader.store(pair.key, pair.value, line)) {
            result.error = unplayable(fileName, problems.last());
            return result;
        }
    }
    reader.finish();

    countQuestions(bank, reader, problems);
    for (int r = 0; r <= bank.lastIndex && !bank.records[0].question.isEmpty(); ++r)
        checkRecord(bank.records[r], r + 1, reader.firstLine(r), reader.good(r), problems);

    settleAnswers(bank, reader, random);

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
