#include "testing/bankcommands.h"

#include "core/textfile.h"
#include "testing/bankimport.h"
#include "testing/questionbank.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

int fail(QTextStream &out, const QString &path, const QString &text)
{
    out << fileName(path) << QStringLiteral(": ") << text << Qt::endl;
    return 2;
}

void report(QTextStream &out, const QString &file, const bankimport::Result &result, int first)
{
    int number = first;
    for (const bankimport::Taken &taken : result.taken)
        out << QStringLiteral("%1, строка %2: вопрос взят в банк под номером %3")
                   .arg(file)
                   .arg(taken.line)
                   .arg(++number)
            << Qt::endl;
    for (const bankimport::Refusal &refusal : result.refused)
        out << QStringLiteral("%1, строка %2: вопрос не взят: %3")
                   .arg(file)
                   .arg(refusal.line)
                   .arg(refusal.reason)
            << Qt::endl;
}

} // namespace

int importIntoBank(const QString &file, const QString &bankPath, const QString &newName,
                   QTextStream &out)
{
    const textfile::FileRead source = textfile::readFile(file);
    if (!source.isRead())
        return fail(out, file, source.problem());
    bankimport::Result result = bankimport::fromFile(file, source.bytes);
    if (result.taken.isEmpty() && result.refused.isEmpty())
        return fail(out, file, QStringLiteral("в файле не найдено ни одного вопроса"));

    BankFileRead bank = readBankFile(bankPath);
    if (bank.status == BankFileRead::Status::Missing) {
        if (newName.trimmed().isEmpty())
            return fail(out, bankPath,
                        QStringLiteral("банка нет; чтобы создать его, укажите название теста: "
                                       "--name \"Название\""));
        bank.document = BankDocument::named(newName.trimmed());
    } else if (!bank.isRead()) {
        return fail(out, bankPath, QStringLiteral("банк нельзя прочитать: %1").arg(bank.failure));
    } else if (!bank.writesBackTheSame) {
        // Saving would drop what the program does not write (unknown keys, a cut-off record).
        return fail(out, bankPath,
                    QStringLiteral("банк записан не так, как его пишет программа, и при "
                                   "дописывании изменился бы; проверьте его: --check-bank"));
    }
    const int before = int(bank.document.questions.size());
    bankimport::appendTo(bank.document, result, QuestionBank::MaxTestQuestions);
    report(out, fileName(file), result, before);
    if (result.taken.isEmpty())
        return fail(out, bankPath, QStringLiteral("ни один вопрос не взят; банк не изменён"));
    if (!saveBankFile(bankPath, bank.document, bank.bytes))
        return fail(out, bankPath,
                    QStringLiteral("банк не записан: файл или папка недоступны для записи; "
                                   "банк остался прежним"));
    out << QStringLiteral("%1: взято вопросов %2, не взято %3; в банке «%4» вопросов: %5.")
               .arg(fileName(bankPath))
               .arg(result.taken.size())
               .arg(result.refused.size())
               .arg(bank.document.name)
               .arg(bank.document.questions.size())
        << Qt::endl;
    return result.refused.isEmpty() ? 0 : 1;
}

int exportBank(const QString &bankPath, const QString &file, QTextStream &out)
{
    const BankFileRead bank = readBankFile(bankPath);
    if (!bank.isRead())
        return fail(out, bankPath, QStringLiteral("банк нельзя прочитать: %1").arg(bank.failure));
    if (!textfile::replaceFile(file, bankimport::toCsv(bank.document)))
        return fail(out, file,
                    QStringLiteral("таблица не записана: файл или папка недоступны "
                                   "для записи"));
    out << QStringLiteral("%1: вопросов %2 записано в %3.")
               .arg(fileName(bankPath))
               .arg(bank.document.questions.size())
               .arg(fileName(file))
        << Qt::endl;
    return 0;
}
