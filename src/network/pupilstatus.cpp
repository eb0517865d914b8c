#include "network/pupilstatus.h"

#include "core/datafiles.h"
#include "core/textfile.h"

namespace pupilstatus {

namespace {
// The file holds 16-bit numbers: anything beyond is damage, never shown or counted as it stands.
int numberOf(const QString &value)
{
    return textfile::leadingInt16(value);
}

void apply(PupilStatus &status, const QString &key, const QString &value)
{
    if (key == u"first")
        status.firstName = value;
    else if (key == u"second")
        status.surname = value;
    else if (key == u"name")
        status.testName = value;
    else if (key == u"max")
        status.questionCount = value.isEmpty() ? std::nullopt : std::optional(numberOf(value));
    else if (key == u"curr")
        status.currentQuestion = value.isEmpty() ? std::nullopt : std::optional(numberOf(value));
    else if (key == u"ok")
        status.rightAnswers = value.isEmpty() ? std::nullopt : std::optional(numberOf(value));
    else if (key == u"ocenka")
        status.grade = numberOf(value);
}
} // namespace

QString countText(std::optional<int> count)
{
    return count ? QString::number(*count) : QString();
}

PupilStatus applyLines(const QStringList &lines, PupilStatus status)
{
    status.damaged = false;
    for (const textfile::KeyValue &pair : textfile::readPairs(lines)) {
        if (!pair.hasValue)
            break;
        apply(status, pair.key.trimmed(), pair.value.trimmed());
    }
    return status;
}

PupilStatus fromContents(const pupilfiles::Contents &contents, const PupilStatus &previous)
{
    switch (contents.status) {
    case pupilfiles::Status::Missing:
        return PupilStatus();
    case pupilfiles::Status::Damaged: {
        PupilStatus damaged;
        damaged.damaged = true;
        return damaged;
    }
    case pupilfiles::Status::Failed:
        return previous;
    case pupilfiles::Status::Done:
        break;
    }
    const QStringList lines = textfile::splitLines(textfile::decode1251(contents.bytes));
    if (textfile::isClearMarker(lines))
        return previous;
    return applyLines(lines, previous);
}

PupilStatus read(const QString &programFolder, const PupilStatus &previous)
{
    return fromContents(pupilfiles::read(programFolder,
                                         QStringLiteral("data/") + datafiles::ProgressFile,
                                         pupilfiles::StateFileLimit),
                        previous);
}

Row row(int computer, const PupilStatus &status)
{
    Row r;
    r.computer = QStringLiteral("№") + QString::number(computer);
    r.pupil = status.damaged ? DamagedText : status.surname;
    const int max = status.questionCount.value_or(100);
    const int current = status.currentQuestion.value_or(1);
    r.maximum = qMax(1, max);
    r.value = qBound(r.minimum, current, r.maximum);
    r.grade = status.graded() ? QString::number(status.grade) : QString();
    if (status.hasPupil()) {
        r.right = countText(status.rightAnswers) + QLatin1Char('/') + QString::number(max);
        r.current = QString::number(current);
    }
    return r;
}

} // namespace pupilstatus
