#include "testing/bankimport.h"

#include "core/textfile.h"
#include "reading/pagetext.h"

#include <QRegularExpression>

namespace bankimport {
namespace {

const QString LatinLabels = QStringLiteral("ABCDE");
const QString CyrillicLabels = QStringLiteral("АБВГД");

// Why the question cannot go into a bank, or nothing when it can.
// `wrongRight` says why the right answer named in the file names none.
QString refusalOf(const BankQuestion &question, int answerCount, const QString &wrongRight)
{
    if (question.question.trimmed().isEmpty())
        return QStringLiteral("нет текста вопроса");
    if (answerCount < 5)
        return QStringLiteral("нужно пять ответов, а их %1").arg(answerCount);
    if (answerCount > 5)
        return QStringLiteral("в банке у вопроса пять ответов, а здесь их %1").arg(answerCount);
    for (int k = 0; k < 5; ++k) {
        if (question.answerText(k).trimmed().isEmpty())
            return QStringLiteral("ответ %1 пуст").arg(k + 1);
    }
    if (question.rightAnswer() == 0)
        return wrongRight;
    QString text = question.topic + question.question + question.picture;
    for (const QString &answer : question.answers)
        text += answer;
    const QString foreign = textfile::charactersWithout1251Form(text);
    if (!foreign.isEmpty())
        return QStringLiteral("знаки «%1» нельзя записать в банк: его кодировка Windows-1251 их "
                              "не знает")
            .arg(foreign);
    static const QRegularExpression pathSign(QStringLiteral("[/\\\\:]|^\\.\\.?$"));
    if (question.picture.contains(pathSign))
        return QStringLiteral("рисунок «%1» должен быть именем файла из папки data/jpg, без "
                              "папок")
            .arg(question.picture);
    return QString();
}

void take(Result &result, int line, const BankQuestion &question, int answerCount,
          const QString &wrongRight)
{
    const QString refusal = refusalOf(question, answerCount, wrongRight);
    if (refusal.isEmpty())
        result.taken.append({line, question});
    else
        result.refused.append({line, refusal});
}

QString pictureName(const QString &field)
{
    QString name = field.trimmed();
    if (name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

int answerNumber(const QString &text)
{
    const int number = bankNumber(text).value_or(0);
    return number >= 1 && number <= 5 && text.trimmed().size() == 1 ? number : 0;
}

// ----- CSV

struct CsvRecord
{
    int line = 0;
    QStringList fields;
};

QChar detectSeparator(const QString &text)
{
    const QString first = text.section(u'\n', 0, 0);
    return first.count(u',') > first.count(u';') ? u',' : u';';
}

QList<CsvRecord> csvRecords(const QString &text, QChar separator)
{
    QList<CsvRecord> records;
    CsvRecord record{1, {QString()}};
    int line = 1;
    bool quoted = false;
    bool fieldStart = true;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        QString &field = record.fields.last();
        if (quoted) {
            if (c == u'"' && i + 1 < size && text.at(i + 1) == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                line += c == u'\n' ? 1 : 0;
                field += c;
            }
        } else if (c == u'"' && fieldStart) {
            quoted = true;
        } else if (c == separator) {
            record.fields.append(QString());
            fieldStart = true;
            continue;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n')
                ++i;
            ++line;
            records.append(record);
            record = {line, {QString()}};
            fieldStart = true;
            continue;
        } else {
            field += c;
        }
        fieldStart = false;
    }
    if (record.fields.size() > 1 || !record.fields.first().isEmpty())
        records.append(record);
    return records;
}

bool isBlank(const CsvRecord &record)
{
    return std::all_of(record.fields.cbegin(), record.fields.cend(),
                       [](const QString &field) { return field.trimmed().isEmpty(); });
}

// A header names its first column and has no number in the column of the right answer.
bool isHeader(const CsvRecord &record)
{
    const QString first = record.fields.first().trimmed().toLower();
    return (first == QLatin1String("topic") || first == QStringLiteral("тема")) &&
           !bankNumber(record.fields.value(7));
}

void takeCsvRecord(Result &result, const CsvRecord &record)
{
    const QStringList &fields = record.fields;
    if (fields.size() < 8) {
        result.refused.append({record.line, QStringLiteral("полей %1, а нужно 8 или 9: тема, "
                                                           "вопрос, пять ответов, номер "
                                                           "верного, рисунок")
                                                .arg(fields.size())});
        return;
    }
    for (qsizetype k = 9; k < fields.size(); ++k) {
        if (!fields.at(k).trimmed().isEmpty()) {
            result.refused.append(
                {record.line,
                 QStringLiteral("после рисунка стоит ещё поле «%1»").arg(fields.at(k))});
            return;
        }
    }
    const QString right = fields.at(7);
    const std::array<QString, 5> answers{fields.at(2), fields.at(3), fields.at(4), fields.at(5),
                                         fields.at(6)};
    const BankQuestion question =
        BankQuestion::withAnswers(textfile::oneLine(fields.at(0)), textfile::oneLine(fields.at(1)),
                                  answers, answerNumber(right), pictureName(fields.value(8)));
    take(result, record.line, question, 5,
         QStringLiteral("номер верного ответа должен быть от 1 до 5, а стоит «%1»").arg(right));
}

// ----- Aiken

struct AikenBlock
{
    int line = 0;
    QStringList lines;
};

int labelPlace(QChar label)
{
    const qsizetype latin = LatinLabels.indexOf(label);
    return int(latin >= 0 ? latin : CyrillicLabels.indexOf(label)) + 1;
}

// The answer that the letter names among the block's labels; a Cyrillic letter that looks like
// a Latin one (or the other way round) is taken for the label it looks like.
int rightPlace(const QString &letter, const QString &labels)
{
    static const QString cyrillicLook = QStringLiteral("АВСЕ");
    static const QString latinLook = QStringLiteral("ABCE");
    if (letter.size() != 1)
        return 0;
    const QChar upper = letter.at(0).toUpper();
    qsizetype place = labels.indexOf(upper);
    if (place < 0 && cyrillicLook.contains(upper))
        place = labels.indexOf(latinLook.at(cyrillicLook.indexOf(upper)));
    if (place < 0 && latinLook.contains(upper))
        place = labels.indexOf(cyrillicLook.at(latinLook.indexOf(upper)));
    return place >= 0 && place < 5 ? int(place) + 1 : 0;
}

void takeAikenBlock(Result &result, const AikenBlock &block, const QString &topic)
{
    static const QRegularExpression answerLine(QStringLiteral("^\\s*([A-EА-Д])[).]\\s*(.*)$"));
    static const QRegularExpression rightLine(
        QStringLiteral("^\\s*(?:ANSWER|ОТВЕТ)\\s*:\\s*(.*?)\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList question;
    QStringList answers;
    QString labels;
    std::optional<QString> right;
    for (const QString &line : block.lines) {
        const QRegularExpressionMatch rightMatch = rightLine.match(line);
        const QRegularExpressionMatch answerMatch = answerLine.match(line);
        if (right) {
            result.refused.append({block.line, QStringLiteral("после строки «ANSWER:» стоит "
                                                              "«%1»; между вопросами нужна "
                                                              "пустая строка")
                                                   .arg(line)});
            return;
        }
        if (rightMatch.hasMatch()) {
            right = rightMatch.captured(1);
        } else if (answerMatch.hasMatch() && !question.isEmpty()) {
            const QChar label = answerMatch.captured(1).at(0);
            if (labelPlace(label) != answers.size() + 1) {
                result.refused.append({block.line, QStringLiteral("ответы должны идти по "
                                                                  "порядку, от A) до E), а "
                                                                  "здесь «%1)» стоит %2-м")
                                                       .arg(label)
                                                       .arg(answers.size() + 1)});
                return;
            }
            labels += label;
            answers << answerMatch.captured(2);
        } else if (answers.isEmpty()) {
            question << line.trimmed();
        } else {
            result.refused.append({block.line, QStringLiteral("строка «%1» не ответ A)–E) и не "
                                                              "«ANSWER:»")
                                                   .arg(line)});
            return;
        }
    }
    if (!right) {
        result.refused.append(
            {block.line, QStringLiteral("нет строки «ANSWER:» с буквой верного ответа")});
        return;
    }
    std::array<QString, 5> texts;
    for (int k = 0; k < 5 && k < answers.size(); ++k)
        texts[k] = answers.at(k);
    const BankQuestion record = BankQuestion::withAnswers(topic, question.join(u' '), texts,
                                                          rightPlace(*right, labels), QString());
    take(result, block.line, record, int(answers.size()),
         QStringLiteral("буква верного ответа «%1» не называет ни один из ответов %2")
             .arg(*right, labels));
}

QString csvField(const QString &text)
{
    // No leading apostrophe before "=" as the results table has: the import reads the field back
    // as it stands.
    const QString value = textfile::oneLine(text);
    if (!value.contains(u';') && !value.contains(u',') && !value.contains(u'"') &&
        value == value.trimmed())
        return value;
    return u'"' + QString(value).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

} // namespace

QString decode(const QByteArray &bytes)
{
    return pagetext::decodePage(bytes);
}

Result fromCsv(const QString &text)
{
    Result result;
    bool first = true;
    for (const CsvRecord &record : csvRecords(text, detectSeparator(text))) {
        if (isBlank(record))
            continue;
        if (!(first && isHeader(record)))
            takeCsvRecord(result, record);
        first = false;
    }
    return result;
}

Result fromAiken(const QString &text)
{
    Result result;
    QString topic;
    AikenBlock block;
    const auto close = [&] {
        if (!block.lines.isEmpty())
            takeAikenBlock(result, block, topic);
        block = AikenBlock();
    };
    const QStringList lines = textfile::splitLines(text);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.trimmed().isEmpty()) {
            close();
        } else if (line.trimmed().startsWith(u'#')) {
            close();
            topic = line.trimmed().mid(1).trimmed();
        } else {
            if (block.lines.isEmpty())
                block.line = int(i) + 1;
            block.lines << line;
        }
    }
    close();
    return result;
}

Result fromFile(const QString &fileName, const QByteArray &bytes)
{
    const QString text = decode(bytes);
    return fileName.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? fromCsv(text)
                                                                         : fromAiken(text);
}

void appendTo(BankDocument &document, Result &result, int limit)
{
    QList<Taken> kept;
    for (const Taken &taken : std::as_const(result.taken)) {
        if (document.questions.size() >= limit) {
            result.refused.append(
                {taken.line,
                 QStringLiteral("в тесте может быть не больше %1 вопросов").arg(limit)});
            continue;
        }
        document.questions.append(taken.question);
        kept.append(taken);
    }
    result.taken = kept;
    std::sort(result.refused.begin(), result.refused.end(),
              [](const Refusal &a, const Refusal &b) { return a.line < b.line; });
}

QByteArray toCsv(const BankDocument &document)
{
    QStringList lines{
        QStringLiteral("topic;question;answer1;answer2;answer3;answer4;answer5;right;picture")};
    for (const BankQuestion &question : document.questions) {
        QStringList fields{csvField(question.topic), csvField(question.question)};
        for (int k = 0; k < 5; ++k)
            fields << csvField(question.answerText(k));
        fields << QString::number(question.rightAnswer()) << csvField(question.picture);
        lines << fields.join(u';');
    }
    return QByteArray("\xEF\xBB\xBF") + lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

} // namespace bankimport
