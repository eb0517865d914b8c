#include "testing/errorreview.h"

#include "core/sessionstate.h"
#include "core/textfile.h"
#include "reading/outline.h"

#include <QRegularExpression>

namespace {
constexpr int TopicTestRecords = 13;

QString sectionName(const QString &title)
{
    static const QRegularExpression number(QStringLiteral("^\\S+\\s+\\d+\\.?\\s*"));
    return QString(title).remove(number).trimmed();
}

int answerNumbered(int value)
{
    return value >= 1 && value <= 5 ? value : 0;
}
} // namespace

int compactWrongAnswers(SessionRecords &records)
{
    int wrong = 0;
    for (const SessionRecord &record : records) {
        if (record.chosenAnswer != record.rightAnswer)
            records[wrong++] = record;
    }
    SessionRecords emptied;
    clearSessionRecords(emptied);
    std::copy(emptied.begin() + wrong, emptied.end(), records.begin() + wrong);
    return wrong;
}

WrongQuestionView showWrongQuestion(const SessionRecords &records, int position)
{
    WrongQuestionView view;
    const int r = qBound(1, position, SessionSlots);
    const SessionRecord &record = records[r - 1];
    view.previousVisible = r != 1;
    view.nextVisible = r < SessionSlots && !records[r].question.isEmpty();
    view.caption = QStringLiteral("Ошибка № ") + QString::number(r);
    view.topic = QStringLiteral("Тема: ") + record.topic;
    view.question = record.question;
    view.answers = record.answers;
    view.userAnswer = answerNumbered(record.chosenAnswer);
    view.correctAnswer = answerNumbered(record.rightAnswer);
    view.picture = record.picture;
    return view;
}

QString sectionToRepeat(const SessionState &session, const QString &testBank,
                        const Outline &outline)
{
    const QString bank = testBank.trimmed();
    for (int k = 0; k < TopicTestRecords && !bank.isEmpty(); ++k) {
        if (session.catalogue.files.at(k).trimmed().compare(bank, Qt::CaseInsensitive) != 0)
            continue;
        const QString name = session.catalogue.names.at(k).trimmed();
        for (int section = 1; section <= outline.sections.size(); ++section) {
            if (sectionName(outline.sections.at(section - 1).title)
                    .compare(name, Qt::CaseInsensitive) == 0)
                return outline.resolve(Outline::sectionKey(section));
        }
        return outline.resolve(Outline::sectionKey(k + 1));
    }
    return {};
}
