#pragma once

// The two alternating contents of every state file the kill and concurrency tests rewrite;
// shared by the writer process and the tests that check what it leaves behind.

#include "core/sessionfiles.h"
#include "core/sessionstate.h"
#include "core/textfile.h"
#include "network/classroom.h"
#include "network/resultslog.h"
#include "testing/testsettings.h"
#include "users/userbase.h"

#include <memory>

namespace statecontents {

// Variant 0 and 1 differ in size, so a torn file can never pass for either.
inline UserBase userBase(int variant)
{
    UserBase base;
    const int users = variant == 0 ? 60 : 40;
    for (int i = 0; i < users; ++i) {
        UserRecord record;
        record.firstName = QStringLiteral("Имя%1-%2").arg(variant).arg(i);
        record.surname = QStringLiteral("Фамилия%1").arg(i);
        record.password = QStringLiteral("пароль%1").arg(i);
        record.bookmark = QStringLiteral("1.1.Светофор (проверка зависимостей на станции)");
        for (int r = 0; r < UserRecord::ResultCount; r += 1 + variant)
            record.results[r] = textfile::printNumber(2 + (i + r + variant) % 4);
        base.records.append(record);
    }
    base.records.append(UserRecord());
    return base;
}

inline SessionProgress progress(int variant)
{
    SessionProgress p;
    p.firstName = variant == 0 ? QStringLiteral("Иван") : QStringLiteral("Пётр");
    p.surname = variant == 0 ? QStringLiteral("Петров") : QStringLiteral("Сидоров");
    p.testName = QStringLiteral("Проверка зависимостей");
    p.questionCount = variant == 0 ? 40 : 25;
    p.currentQuestion = variant == 0 ? 17 : 24;
    p.rightAnswers = variant == 0 ? 12 : 20;
    p.grade = variant == 0 ? 0 : 4;
    return p;
}

inline std::unique_ptr<SessionRecords> records(int variant)
{
    auto records = std::make_unique<SessionRecords>();
    clearSessionRecords(*records);
    for (int i = 0; i < SessionSlots; ++i) {
        SessionRecord &r = (*records)[i];
        r.topic = QStringLiteral("Тема %1 вариант %2").arg(i + 1).arg(variant);
        r.question = QStringLiteral("Вопрос %1: что проверяют при осмотре светофора?").arg(i + 1);
        for (int k = 1; k <= 5; ++k)
            r.answers[k - 1] = QStringLiteral("Ответ %1 на вопрос %2").arg(k).arg(i + 1);
        r.picture = i % 3 == 0 ? QStringLiteral("q_aps_svet.jpg") : QString();
        r.chosenAnswer = (i + variant) % 6;
        r.rightAnswer = 1 + i % 5;
    }
    return records;
}

inline QStringList historyBlock()
{
    QStringList block{QStringLiteral("Результаты теста проведенного 09.12.2026"), QString(),
                      resultslog::HeaderLine, QString()};
    for (int i = 1; i <= 30; ++i)
        block
            << QStringLiteral("  %1   Петров Иван           5        10 / 10      Проверка").arg(i);
    block << QString() << QStringLiteral("Средний балл: 5") << resultslog::BlockEnd << QString();
    return block;
}

inline TestSettings testSettings(int variant)
{
    TestSettings settings;
    settings.answerTime = variant == 0 ? 3 : TestSettings::UnlimitedTime;
    settings.showErrors = variant == 0 ? TestSettings::ShowNever : TestSettings::ShowAlways;
    return settings;
}

inline void netConfig(Classroom &classroom, int variant)
{
    const int count = variant == 0 ? 12 : 3;
    Classroom::Folders folders;
    for (int i = 0; i < count; ++i)
        folders[i] = QStringLiteral("/mnt/класс/pc%1/Тарвел/").arg(i + 1);
    classroom.assign(count, folders);
}

inline QString rememberedName(int variant)
{
    return variant == 0 ? QStringLiteral("Иван") : QStringLiteral("Пётр Алексеевич");
}

} // namespace statecontents
