#include "app/commandline.h"

#include "testing/bankcheck.h"
#include "testing/bankcommands.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#endif

namespace {

struct Options
{
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("показать эту справку и выйти")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("показать версию программы и выйти")};
    QCommandLineOption checkBank{
        QStringLiteral("check-bank"),
        QStringLiteral("проверить файл вопросов теста (код выхода 1: тест провести нельзя)"),
        QStringLiteral("ФАЙЛ")};
    QCommandLineOption import{
        QStringLiteral("import"),
        QStringLiteral("дописать в БАНК вопросы из таблицы .csv или текста A)–E); "
                       "код 1: часть вопросов не взята, 2: не взят ни один"),
        QStringLiteral("ФАЙЛ БАНК")};
    QCommandLineOption name{QStringLiteral("name"),
                            QStringLiteral("название нового теста, если БАНКА ещё нет"),
                            QStringLiteral("НАЗВАНИЕ")};
    QCommandLineOption exportBank{QStringLiteral("export"),
                                  QStringLiteral("записать вопросы БАНКА таблицей .csv"),
                                  QStringLiteral("БАНК ФАЙЛ.csv")};

    QList<const QCommandLineOption *> all() const
    {
        return {&help, &version, &checkBank, &import, &name, &exportBank};
    }
};

QString optionColumn(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names())
        names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    QString column = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        column += u' ' + option.valueName();
    return column;
}

QString helpText(const Options &options)
{
    QString text = QStringLiteral("Использование: %1 [параметры]\n"
                                  "Электронный учебник с проверкой знаний. Без параметров "
                                  "программа открывает окно входа.\n\nПараметры:\n")
                       .arg(QCoreApplication::applicationName());
    for (const QCommandLineOption *option : options.all())
        text +=
            QStringLiteral("  %1  %2\n").arg(optionColumn(*option), -24).arg(option->description());
    return text + QStringLiteral("\nПараметры оконной системы (например, -platform offscreen) "
                                 "передаются ей.\n");
}

QString usage()
{
    return QStringLiteral("Например:\n  %1 --check-bank T01_96.jpg\n"
                          "  %1 --import вопросы.csv T01_99.jpg --name \"Новый тест\"\n"
                          "  %1 --export T01_96.jpg вопросы.csv")
        .arg(QCoreApplication::applicationName());
}

} // namespace

std::optional<int> runCommandLine(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const Options options;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const QCommandLineOption *option : options.all())
        parser.addOption(*option);
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(options.help)) {
        out << helpText(options);
        return 0;
    }
    if (parser.isSet(options.version)) {
        out << QCoreApplication::applicationName() << u' ' << QCoreApplication::applicationVersion()
            << Qt::endl;
        return 0;
    }
    const QString second = parser.positionalArguments().value(0);
    if (parser.isSet(options.checkBank) && !parser.value(options.checkBank).isEmpty())
        return checkBankFile(parser.value(options.checkBank), out);
    if (parser.isSet(options.import) && !second.isEmpty())
        return importIntoBank(parser.value(options.import), second, parser.value(options.name),
                              out);
    if (parser.isSet(options.exportBank) && !second.isEmpty())
        return exportBank(parser.value(options.exportBank), second, out);
    const bool named = parser.isSet(options.checkBank) || parser.isSet(options.import) ||
                       parser.isSet(options.exportBank);
    if (named || (!parsed && parser.unknownOptionNames().isEmpty())) {
        err << QStringLiteral("Не хватает имени файла.\n") << usage() << Qt::endl;
        return 2;
    }
    return std::nullopt;
}

void attachParentConsole()
{
#ifdef Q_OS_WIN
    const auto sentNowhere = [](DWORD stream) {
        const HANDLE handle = GetStdHandle(stream);
        return handle == nullptr || handle == INVALID_HANDLE_VALUE;
    };
    const bool outNowhere = sentNowhere(STD_OUTPUT_HANDLE);
    const bool errNowhere = sentNowhere(STD_ERROR_HANDLE);
    if (!(outNowhere || errNowhere) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (outNowhere)
        std::freopen("CONOUT$", "w", stdout);
    if (errNowhere)
        std::freopen("CONOUT$", "w", stderr);
#endif
}
