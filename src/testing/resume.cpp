#include "testing/resume.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/textfile.h"
#include "testing/catalogue.h"
#include "testing/results.h"
#include "testing/testrun.h"
#include "users/userbase.h"

#include <QDir>
#include <QFile>
#include <QLockFile>

#include <algorithm>

namespace {

QString orderLine(const QList<int> &order)
{
    QStringList numbers;
    numbers.reserve(order.size());
    for (int index : order)
        numbers << QString::number(index);
    return numbers.join(u' ');
}

std::optional<QList<int>> parseOrder(const QString &line)
{
    QList<int> order;
    for (const QString &number : line.split(u' ', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int index = number.toInt(&ok);
        if (!ok || index < 0 || index >= QuestionBank::Slots)
            return std::nullopt;
        order << index;
    }
    return order;
}

// Every index 0..lastIndex exactly once.
bool orderFits(QList<int> order, int lastIndex)
{
    std::sort(order.begin(), order.end());
    for (int i = 0; i < order.size(); ++i) {
        if (order[i] != i)
            return false;
    }
    return order.size() == lastIndex + 1;
}

// Answered slots lead the records: their given answer is 1..5.
int answeredCount(const SessionRecords &records, int max)
{
    int answered = 0;
    while (answered < max && answered < SessionSlots) {
        const int given = records[answered].chosenAnswer;
        if (given < 1 || given > 5)
            break;
        ++answered;
    }
    return answered;
}

int correctCount(const SessionRecords &records, int answered)
{
    int correct = 0;
    for (int i = 0; i < answered; ++i)
        correct += records[i].chosenAnswer == records[i].rightAnswer;
    return correct;
}

bool sameUser(const SessionState &session, const QString &first, const QString &second)
{
    return first == session.user.firstName.trimmed() && second == session.user.surname.trimmed();
}

QString ownLostTestNotice(const QString &name)
{
    // Damaged files, a changed bank or a crash before the first answer: the pupil needs only
    // the outcome.
    return QStringLiteral("Тест «%1» был прерван сбоем программы, и продолжить его нельзя. Тест "
                          "записан в ваши результаты как незаконченный.")
        .arg(name);
}

QString othersLostTestNotice(const QString &name)
{
    return QStringLiteral("Тест «%1» был прерван сбоем программы, и продолжить его нельзя: "
                          "после сбоя на этом компьютере работал другой пользователь. Тест "
                          "записан в ваши результаты как незаконченный.")
        .arg(name);
}

QString notWrittenNotice(const QString &path)
{
    return QStringLiteral("Не удалось записать файл %1.").arg(QDir::toNativeSeparators(path));
}

QList<LostTest> readLostTests(const QString &path)
{
    QList<LostTest> tests;
    const QList<textfile::KeyValue> pairs =
        textfile::readPairs(textfile::readLines(path).value_or(QStringList()));
    for (const textfile::KeyValue &pair : pairs) {
        const QString key = pair.key.trimmed();
        const QString value = pair.value.trimmed();
        if (key == QLatin1String("first"))
            tests.append({value, {}, {}});
        else if (!tests.isEmpty() && key == QLatin1String("second"))
            tests.last().surname = value;
        else if (!tests.isEmpty() && key == QLatin1String("test"))
            tests.last().testName = value;
    }
    return tests;
}

bool writeLostTests(const QString &path, const QList<LostTest> &tests)
{
    if (tests.isEmpty())
        return !QFile::exists(path) || QFile::remove(path);
    QStringList lines;
    for (const LostTest &test : tests) {
        using textfile::oneLine;
        lines << QStringLiteral("first") << oneLine(test.firstName) << QStringLiteral("second")
              << oneLine(test.surname) << QStringLiteral("test") << oneLine(test.testName);
    }
    return textfile::writeLines(path, lines);
}

// The result slots of another user's lost test get 0, as an interrupted test leaves them.
bool storeOthersLostGrade(const SessionState &session, const LostTest &lost)
{
    const QString base = session.jpgPath(datafiles::UserBaseFile);
    const UserBase::Access access = UserBase::update(base, [&](UserBase &users) {
        const qsizetype index = users.indexOf(lost.firstName, lost.surname);
        if (index < 0)
            return false;
        for (int k = 0; k < SessionState::CatalogueSlots; ++k) {
            if (session.catalogue.names.at(k) == lost.testName)
                users.records[index].results[k] = QStringLiteral("0");
        }
        return true;
    });
    return access == UserBase::Access::Done || access == UserBase::Access::Declined;
}

} // namespace

QStringList resumeFileLines(const ResumeRecord &record)
{
    using textfile::oneLine;
    return {QStringLiteral("first"),   oneLine(record.firstName),
            QStringLiteral("second"),  oneLine(record.surname),
            QStringLiteral("bank"),    oneLine(record.bank),
            QStringLiteral("order"),   orderLine(record.order),
            QStringLiteral("pauses"),  QString::number(record.pausesUsed),
            QStringLiteral("elapsed"), QString::number(record.elapsedSeconds)};
}

std::optional<ResumeRecord> parseResumeFile(const QStringList &lines)
{
    ResumeRecord record;
    bool hasOrder = false;
    for (const textfile::KeyValue &pair : textfile::readPairs(lines)) {
        const QString key = pair.key.trimmed();
        const QString value = pair.value.trimmed();
        if (!pair.hasValue)
            return std::nullopt;
        if (key == QLatin1String("first"))
            record.firstName = value;
        else if (key == QLatin1String("second"))
            record.surname = value;
        else if (key == QLatin1String("bank"))
            record.bank = value;
        else if (key == QLatin1String("pauses"))
            record.pausesUsed = qBound(0, textfile::leadingInt(value), 4);
        else if (key == QLatin1String("elapsed"))
            record.elapsedSeconds = qBound(0, textfile::leadingInt(value), 32767);
        else if (key == QLatin1String("order")) {
            const std::optional<QList<int>> order = parseOrder(value);
            if (!order)
                return std::nullopt;
            record.order = *order;
            hasOrder = true;
        }
    }
    if (!hasOrder || record.bank.isEmpty())
        return std::nullopt;
    return record;
}

bool writeResumeFile(const QString &path, const ResumeRecord &record)
{
    return textfile::writeLines(path, resumeFileLines(record));
}

std::optional<ResumeRecord> readResumeFile(const QString &path)
{
    const std::optional<QStringList> lines = textfile::readLines(path);
    if (!lines)
        return std::nullopt;
    return parseResumeFile(*lines);
}

std::optional<InterruptedTest> findInterruptedTest(const SessionState &session,
                                                   QRandomGenerator &random)
{
    const std::optional<ResumeRecord> resume =
        readResumeFile(session.dataPath(datafiles::ResumeFile));
    SessionProgress progress;
    SessionProgress header;
    SessionRecords records;
    clearSessionRecords(records);
    SessionRecords unused;
    if (!resume || !sameUser(session, resume->firstName, resume->surname) ||
        !readSessionFile(session.dataPath(datafiles::ProgressFile), progress, unused) ||
        !readSessionFile(session.dataPath(datafiles::SessionFile), header, records) ||
        !sameUser(session, header.firstName, header.surname) ||
        !sameUser(session, progress.firstName, progress.surname) || header.grade != 0 ||
        progress.grade != 0)
        return std::nullopt;
    auto test =
        std::make_shared<PreparedTest>(loadQuestionBank(session.jpgPath(resume->bank), random));
    // A resume file left behind by an earlier test never takes over another test's records.
    if (!test->ok() || !orderFits(resume->order, test->bank.lastIndex) ||
        header.questionCount != test->bank.questionCount() ||
        test->bank.name.trimmed() != header.testName)
        return std::nullopt;
    test->order = resume->order;
    const int answered = answeredCount(records, test->bank.questionCount());
    if (answered == 0 || answered >= test->bank.questionCount())
        return std::nullopt;
    return InterruptedTest{*resume, test, answered, correctCount(records, answered)};
}

QString interruptedTestQuestion(const InterruptedTest &test)
{
    return QStringLiteral("Продолжить тест «%1» с вопроса %2 из %3?\n\nЕсли начать заново, "
                          "данные ответы будут удалены, а тест записан в ваши результаты как "
                          "незаконченный.")
        .arg(test.test->bank.name)
        .arg(test.answered + 1)
        .arg(test.test->bank.questionCount());
}

TestRequest selectInterruptedTest(SessionState &session, const InterruptedTest &test)
{
    session.mode = test.resume.bank.compare(datafiles::CourseBankFile, Qt::CaseInsensitive) == 0
                       ? SessionMode::CourseTest
                       : SessionMode::Reading;
    return {test.resume.bank, test.test->bank.name, false};
}

void continueInterruptedTest(TestRun &run, const InterruptedTest &test)
{
    run.prepare(test.test);
    run.goOn(test.answered, test.correct, test.resume.pausesUsed, test.resume.elapsedSeconds);
}

QFuture<ResultStore> endInterruptedTest(SessionState &session, const InterruptedTest &test)
{
    readTestCatalogue(session, session.jpgPath(datafiles::TestCatalogueFile));
    const TestRun ended(selectInterruptedTest(session, test));
    return storeTestResult(session, gradeOf(session, ended),
                           session.jpgPath(datafiles::UserBaseFile));
}

std::optional<LostTest> findLostTest(const SessionState &session)
{
    if (!QFile::exists(session.dataPath(datafiles::ResumeFile)))
        return std::nullopt;
    for (const QString &file : {datafiles::SessionFile, datafiles::ProgressFile}) {
        SessionProgress header;
        SessionRecords records;
        if (!readSessionFile(session.dataPath(file), header, records) ||
            header.firstName.isEmpty() || header.testName.isEmpty())
            continue;
        if (header.grade != 0)
            return std::nullopt;
        return LostTest{header.firstName, header.surname, header.testName};
    }
    return std::nullopt;
}

std::unique_ptr<QLockFile> lockRunningTest(const SessionState &session)
{
    auto lock = std::make_unique<QLockFile>(session.dataPath(datafiles::RunningTestLockFile));
    // A test may run for hours: the lock goes stale only with the program that held it.
    lock->setStaleLockTime(0);
    return lock->tryLock(0) ? std::move(lock) : nullptr;
}

bool testRunsNow(const SessionState &session)
{
    QLockFile lock(session.dataPath(datafiles::RunningTestLockFile));
    lock.setStaleLockTime(0);
    return !lock.tryLock(0) && lock.error() == QLockFile::LockFailedError;
}

QString runningTestBank(const SessionState &session)
{
    if (!testRunsNow(session))
        return {};
    const std::optional<ResumeRecord> resume =
        readResumeFile(session.dataPath(datafiles::ResumeFile));
    return resume ? resume->bank.trimmed() : QString();
}

QFuture<QStringList> settleLostTest(SessionState &session, const LostTest &lost)
{
    const QString base = session.jpgPath(datafiles::UserBaseFile);
    readTestCatalogue(session, session.jpgPath(datafiles::TestCatalogueFile));
    if (sameUser(session, lost.firstName, lost.surname)) {
        return storeTestResult(session, {lost.testName, 0}, base)
            .then([lost, base](ResultStore outcome) {
                QStringList notices{ownLostTestNotice(lost.testName)};
                if (outcome == ResultStore::BaseNotWritten)
                    notices << resultStoreNotice(outcome, lost.testName, base);
                return notices;
            });
    }
    QStringList notices;
    if (!storeOthersLostGrade(session, lost))
        notices << resultStoreNotice(ResultStore::BaseNotWritten, lost.testName, base);
    const QString notes = session.dataPath(datafiles::LostTestsFile);
    if (!writeLostTests(notes, readLostTests(notes) << lost))
        notices << notWrittenNotice(notes);
    return QtFuture::makeReadyFuture(notices);
}

QStringList takeLostTestNotices(const SessionState &session)
{
    const QString notes = session.dataPath(datafiles::LostTestsFile);
    QList<LostTest> others;
    QStringList notices;
    for (const LostTest &test : readLostTests(notes)) {
        if (sameUser(session, test.firstName, test.surname))
            notices << othersLostTestNotice(test.testName);
        else
            others << test;
    }
    if (!notices.isEmpty() && !writeLostTests(notes, others))
        notices << notWrittenNotice(notes);
    return notices;
}
