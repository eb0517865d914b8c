#include "testing/bankcheck.h"

#include "testing/questionbank.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QTextStream>

#include <memory>

int checkBankFile(const QString &path, QTextStream &out)
{
    // The order of the answers does not matter to the check.
    QRandomGenerator random(1);
    const auto test = std::make_unique<PreparedTest>(loadQuestionBank(path, random));
    const QString file = QFileInfo(path).fileName();
    for (const BankProblem &problem : test->problems) {
        out << file << QStringLiteral(": ")
            << (problem.fatal ? QStringLiteral("ошибка, ") : QStringLiteral("замечание, "))
            << problem.describe() << Qt::endl;
    }
    if (!test->ok()) {
        out << file << QStringLiteral(": тест по этому файлу провести нельзя.") << Qt::endl;
        return 1;
    }
    out << file
        << QStringLiteral(": тест «%1», вопросов: %2; его можно проводить.")
               .arg(test->bank.name)
               .arg(test->bank.questionCount())
        << Qt::endl;
    return 0;
}
