#include "testing/grading.h"

#include "core/textfile.h"

#include <cmath>

qint16 gradeFor(int correct, int asked)
{
    if (asked <= 0)
        return 2;
    const double x = static_cast<double>(correct) / asked * 5;
    return static_cast<qint16>(qBound(2.0, std::nearbyint(x), 5.0));
}

namespace {
// Tenths of a percent, halves rounded up, in exact integers.
qint64 percentTenths(int correct, int asked)
{
    if (asked <= 0)
        return 0;
    return (qint64(correct) * 1000 * 2 + asked) / (qint64(asked) * 2);
}
} // namespace

float resultPercent(int correct, int asked)
{
    return static_cast<float>(percentTenths(correct, asked)) / 10.0f;
}

QString percentText(int correct, int asked)
{
    const qint64 tenths = percentTenths(correct, asked);
    QString number = QString::number(tenths / 10);
    if (tenths % 10 != 0)
        number += QLatin1Char('.') + QString::number(tenths % 10);
    return QLatin1Char('(') + number + QStringLiteral("%)");
}

QString elapsedText(int seconds)
{
    return QString::number(qMax(0, seconds) / 60) + QStringLiteral(" мин");
}

GradeLook practiceLook(int correct, int asked)
{
    return {QStringLiteral("%1 из %2").arg(correct).arg(asked), -1,
            QStringLiteral("За работу над ошибками оценка не ставится. Вопрос уходит из списка, "
                           "когда вы верно ответите на него дважды, в разные дни."),
            QString()};
}

GradeLook gradeLookFor(int grade)
{
    switch (grade) {
    case 5:
        return {QStringLiteral("отлично"), 32768,
                QStringLiteral("Вау!... Отлично! Поздравляю, поздравляю! Но не задирайте нос, тест "
                               "это одно дело, а тот кто будет принимать у вас экзамен другое."),
                QStringLiteral("applaud.wav")};
    case 4:
        return {QStringLiteral("хорошо"), 49344,
                QStringLiteral("Ну чтож не плохо, не плохо! Но не обольщайтесь, ни какой тест не "
                               "даст абсолютно точной оценки знаний. Поэтому перед экзаменом "
                               "пройдитесь по наиболее сложным для вас темам."),
                QStringLiteral("applaud.wav")};
    case 3:
        return {QStringLiteral("удовл."), 16576,
                QStringLiteral("По результатам теста вы показали поверхностные знания. Давайте-ка "
                               "еще немного почитаем учебник, особенно те темы на вопросы которых "
                               "вы затруднялись ответить. Восполняйте пробелы."),
                QString()};
    default:
        return {QStringLiteral("неуд."), -1,
                QStringLiteral("По результатам теста вы показали отвратительные знания. Ну да не "
                               "отчаивайтесь, учебник для того и нужен чтоб учиться... Так что "
                               "жмите снова на кнопку ''учиться''."),
                QStringLiteral("smeh.wav")};
    }
}

bool showErrorsAllowed(int asked, const SessionRecords &records, int setting, bool courseBank)
{
    if (setting == 2 || (setting == 3 && courseBank))
        return false;
    const int slots = qBound(0, asked, SessionSlots);
    for (int i = 0; i < slots; ++i) {
        if (records[i].chosenAnswer != records[i].rightAnswer)
            return true;
    }
    return false;
}
