#include "testing/bankdocument.h"

#include "core/datafiles.h"
#include "core/textfile.h"

#include <cmath>

namespace {

const QString StartKey = QStringLiteral("start");
const QString EndKey = QStringLiteral("end");

bool isRecordKey(const QString &key)
{
    return key == QLatin1String("temaname") || key == QLatin1String("vop") ||
           datafiles::answerKeyIndex(key) >= 0 || key == QLatin1String("good") ||
           key == QLatin1String("ris");
}

// Reads the key/value pairs into the document, record by record, and notes what it finds wrong.
class BankReader
{
public:
    BankReader(BankDocument &document, QList<BankProblem> &problems)
        : m_document(document), m_problems(problems)
    {
    }

    void store(const QString &key, const QString &value, int line)
    {
        if (key == QLatin1String("name")) {
            m_document.name = value;
            return;
        }
        if (key == QLatin1String("time")) {
            m_document.time = value;
            // "time" belongs to the whole bank, not to the question it stands in.
            if (!bankNumber(value))
                m_problems.append({0, line,
                                   QStringLiteral("значение «time» должно быть целым числом "
                                                  "секунд, а стоит «%1»")
                                       .arg(value),
                                   true});
            return;
        }
        if (!isRecordKey(key)) {
            warn(line, QStringLiteral("неизвестный ключ «%1» пропущен вместе со строкой значения")
                           .arg(key));
            return;
        }
        if (m_record.line == 0)
            m_record.line = line;
        if (key == QLatin1String("temaname"))
            m_record.topic = value;
        else if (key == QLatin1String("vop"))
            m_record.question = value;
        else if (const int k = datafiles::answerKeyIndex(key); k >= 0)
            m_record.answers[k] = value;
        else if (key == QLatin1String("good"))
            storeGood(value, line);
        else
            closeRecord(value);
    }

    // A key on the last line, without its value line.
    void danglingKey(const QString &key, int line)
    {
        if (key == QLatin1String("ris") && m_record.line != 0) {
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
        if (m_record.line == 0)
            return;
        m_problems.append({number(), m_record.line,
                           QStringLiteral("вопрос не закончен строкой «ris» (файл обрезан?) и "
                                          "задаваться не будет"),
                           false});
        m_record = BankQuestion();
    }

private:
    int number() const { return int(m_document.questions.size()) + 1; }

    void storeGood(const QString &value, int line)
    {
        m_record.good = value;
        if (!bankNumber(value))
            m_problems.append({number(), line,
                               QStringLiteral("значение «good» должно быть номером верного ответа "
                                              "от 1 до 5, а стоит «%1»")
                                   .arg(value),
                               true});
    }

    void closeRecord(const QString &picture)
    {
        m_record.picture = picture;
        m_document.questions.append(m_record);
        m_record = BankQuestion();
    }

    void warn(int line, const QString &text) { m_problems.append({number(), line, text}); }

    BankDocument &m_document;
    QList<BankProblem> &m_problems;
    BankQuestion m_record;
};

void appendPair(QByteArray &bytes, QLatin1String key, const QString &value)
{
    bytes += key;
    bytes += "\r\n";
    textfile::appendLine(bytes, value);
}

} // namespace

std::optional<qint16> bankNumber(const QString &text)
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

QString BankProblem::describe() const
{
    QStringList place;
    if (question > 0)
        place << QStringLiteral("вопрос %1").arg(question);
    if (line > 0)
        place << QStringLiteral("строка %1").arg(line);
    return place.isEmpty() ? text : place.join(QStringLiteral(", ")) + QStringLiteral(": ") + text;
}

BankQuestion BankQuestion::withAnswers(const QString &topic, const QString &question,
                                       const std::array<QString, 5> &texts, int right,
                                       const QString &picture)
{
    BankQuestion record;
    record.topic = topic;
    record.question = question;
    for (int k = 0; k < 5; ++k)
        record.answers[k] = (k + 1 == right ? u'1' : u'0') + texts[k];
    record.good = QString::number(right);
    record.picture = picture;
    return record;
}

int BankQuestion::rightAnswer() const
{
    int marked = 0;
    for (int k = 0; k < 5; ++k) {
        if (answers[k].startsWith(u'1'))
            marked = marked == 0 ? k + 1 : -1;
    }
    if (marked > 0)
        return marked;
    const int number = bankNumber(good).value_or(0);
    return number >= 1 && number <= 5 ? number : 0;
}

BankDocument BankDocument::named(const QString &name)
{
    BankDocument document;
    document.preamble = {QStringLiteral("Тест «%1».").arg(name), StartKey};
    document.name = name;
    document.time = QStringLiteral("0");
    return document;
}

bool readBankDocument(const QStringList &lines, BankDocument &document,
                      QList<BankProblem> &problems)
{
    const qsizetype start = textfile::indexAfterStart(lines);
    if (start < 0) {
        problems.append(
            {0, 0, QStringLiteral("нет строки «start», после которой начинаются вопросы"), true});
        return false;
    }
    document.preamble = lines.mid(0, start);
    BankReader reader(document, problems);
    const QList<textfile::KeyValue> pairs = textfile::readPairs(lines, start);
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        const textfile::KeyValue &pair = pairs.at(i);
        const int line = int(start + 2 * i + 1);
        if (pair.key == EndKey) {
            document.trailer = lines.mid(line);
            break;
        }
        if (!pair.hasValue) {
            reader.danglingKey(pair.key, line);
            break;
        }
        reader.store(pair.key, pair.value, line);
    }
    reader.finish();
    return true;
}

bool readBankDocument(const QByteArray &bytes, BankDocument &document, QList<BankProblem> &problems)
{
    document.lineBreakAtEnd = bytes.isEmpty() || bytes.endsWith('\n') || bytes.endsWith('\r');
    return readBankDocument(textfile::splitLines(textfile::decode1251(bytes)), document, problems);
}

QByteArray bankBytes(const BankDocument &document)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(document.questions.size()) * 600 + 1024);
    for (const QString &line : document.preamble)
        textfile::appendLine(bytes, line);
    appendPair(bytes, QLatin1String("name"), document.name);
    if (!document.time.isEmpty())
        appendPair(bytes, QLatin1String("time"), document.time);
    static const std::array<QLatin1String, 5> answerKeys{
        QLatin1String("otv1"), QLatin1String("otv2"), QLatin1String("otv3"), QLatin1String("otv4"),
        QLatin1String("otv5")};
    for (const BankQuestion &record : document.questions) {
        appendPair(bytes, QLatin1String("temaname"), record.topic);
        appendPair(bytes, QLatin1String("vop"), record.question);
        for (int k = 0; k < 5; ++k)
            appendPair(bytes, answerKeys[k], record.answers[k]);
        // A record without "good" is played by its marker; an empty "good" would stop the test.
        if (!record.good.isEmpty())
            appendPair(bytes, QLatin1String("good"), record.good);
        appendPair(bytes, QLatin1String("ris"), record.picture);
    }
    textfile::appendLine(bytes, EndKey);
    for (const QString &line : document.trailer)
        textfile::appendLine(bytes, line);
    if (!document.lineBreakAtEnd)
        bytes.chop(2);
    return bytes;
}

BankFileRead readBankFile(const QString &path)
{
    BankFileRead result;
    const textfile::FileRead file = textfile::readFile(path);
    if (!file.isRead()) {
        result.status = file.status == textfile::FileRead::Status::Missing
                            ? BankFileRead::Status::Missing
                            : BankFileRead::Status::Unreadable;
        result.failure = file.problem();
        return result;
    }
    if (!readBankDocument(file.bytes, result.document, result.problems)) {
        result.status = BankFileRead::Status::Unreadable;
        result.failure = result.problems.constLast().text;
        return result;
    }
    result.status = BankFileRead::Status::Read;
    result.bytes = file.bytes;
    result.writesBackTheSame = bankBytes(result.document) == file.bytes;
    return result;
}

QString bankBackupPath(const QString &path)
{
    return path + QStringLiteral(".bak");
}

bool saveBankFile(const QString &path, const BankDocument &document, const QByteArray &previous)
{
    if (!previous.isEmpty() && !textfile::replaceFile(bankBackupPath(path), previous))
        return false;
    return textfile::replaceFile(path, bankBytes(document));
}
