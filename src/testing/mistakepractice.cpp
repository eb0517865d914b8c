#include "testing/mistakepractice.h"

#include "core/textfile.h"

#include <QDir>

#include <algorithm>

MistakePractice::MistakePractice(const QList<answerjournal::Answer> &journal, const QString &first,
                                 const QString &second)
{
    QList<answerjournal::Answer> mine;
    for (const answerjournal::Answer &answer : journal) {
        if (answer.firstName == first && answer.surname == second)
            mine << answer;
    }
    // The journal grows in the order of the attempts, unless the computer's clock was set back.
    std::stable_sort(mine.begin(), mine.end(),
                     [](const auto &a, const auto &b) { return a.start < b.start; });
    QHash<QPair<QString, int>, qsizetype> index;
    for (const answerjournal::Answer &answer : std::as_const(mine)) {
        const auto key = qMakePair(answer.bank, answer.record);
        if (!index.contains(key)) {
            index.insert(key, m_histories.size());
            History fresh;
            fresh.question = {answer.bank, answer.record, {}};
            m_histories.append(fresh);
        }
        m_histories[index.value(key)].note(answer);
    }
}

void MistakePractice::History::note(const answerjournal::Answer &answer)
{
    if (answer.right) {
        rightPlaces << answer.chosen;
        if (missed && !rightDaysSince.contains(answer.start.date()))
            rightDaysSince << answer.start.date();
        return;
    }
    if (answer.chosen != 0)
        wrongPlaces << answer.chosen;
    missed = true;
    question.lastWrong = answer.start;
    rightDaysSince.clear();
}

bool MistakePractice::History::agreesWith(int key) const
{
    return key != 0 && !wrongPlaces.contains(key) &&
           std::all_of(rightPlaces.cbegin(), rightPlaces.cend(),
                       [key](int place) { return place == key; });
}

QStringList MistakePractice::banks() const
{
    QStringList names;
    for (const History &history : m_histories) {
        if (!history.mastered() && !names.contains(history.question.bank))
            names << history.question.bank;
    }
    return names;
}

QList<MistakePractice::Question> MistakePractice::questions(const BankKeys &keys) const
{
    QList<Question> open;
    for (const History &history : m_histories) {
        const Question &question = history.question;
        const QList<int> bankKeys = keys.value(question.bank);
        if (!history.mastered() && history.agreesWith(bankKeys.value(question.record - 1)))
            open << question;
    }
    std::stable_sort(open.begin(), open.end(), [](const Question &a, const Question &b) {
        return a.lastWrong > b.lastWrong;
    });
    return open.mid(0, MaxQuestions);
}

PreparedTest practiceTest(const QList<MistakePractice::Question> &questions,
                          const QHash<QString, QuestionBank> &banks)
{
    PreparedTest test;
    test.bank.name = QStringLiteral("Работа над ошибками");
    for (const MistakePractice::Question &question : questions) {
        const auto bank = banks.constFind(question.bank);
        if (bank == banks.cend() || question.record < 1 ||
            question.record > bank->questionCount() || test.order.size() >= QuestionBank::Slots)
            continue;
        test.bank.records[test.order.size()] = bank->records[question.record - 1];
        test.order << int(test.order.size());
        test.sources << QuestionSource{question.bank, question.record};
    }
    test.bank.lastIndex = qMax(0, int(test.order.size()) - 1);
    if (test.order.isEmpty())
        test.error = QStringLiteral("Работать над ошибками пока не над чем: каждый вопрос, на "
                                    "который вы ответили неверно, вы потом верно ответили дважды, "
                                    "в разные дни.");
    return test;
}

namespace {
// A bank is named by the journal, which is a file anyone may have written: only a plain file
// name of data/jpg is looked up.
bool isPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(u'/') && !name.contains(u'\\') && !name.contains(u':');
}

// The place in the file of the right answer of every record.
QList<int> keysOf(const QuestionBank &bank)
{
    QList<int> keys;
    for (int r = 0; r < bank.questionCount(); ++r)
        keys << bank.records[r].filePlace(bank.records[r].correct);
    return keys;
}
} // namespace

PreparedTest prepareMistakePractice(const QString &answersPath,
                                    const std::function<QString(const QString &)> &bankPath,
                                    const QString &first, const QString &second,
                                    QRandomGenerator &random)
{
    const textfile::FileRead journal =
        textfile::readBounded(answersPath, answerjournal::ReadLimit, textfile::Links::Refuse);
    if (journal.status == textfile::FileRead::Status::Unreadable) {
        PreparedTest unread;
        unread.error = QStringLiteral("Не удалось прочитать файл %1: %2.")
                           .arg(QDir::toNativeSeparators(answersPath), journal.problem());
        return unread;
    }
    const MistakePractice practice(answerjournal::parse(journal.bytes), first, second);
    QHash<QString, QuestionBank> banks;
    MistakePractice::BankKeys keys;
    for (const QString &name : practice.banks()) {
        if (!isPlainFileName(name))
            continue;
        const PreparedTest loaded = loadQuestionBank(bankPath(name), random);
        if (!loaded.ok())
            continue;
        banks.insert(name, loaded.bank);
        keys.insert(name, keysOf(loaded.bank));
    }
    return practiceTest(practice.questions(keys), banks);
}
