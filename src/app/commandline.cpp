#include "app/commandline.h"

#include "testing/bankcheck.h"

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

    QList<const QCommandLineOption *> all() const { return {&help, &version, &checkBank}; }
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
    const bool bankMissing =
        parser.isSet(options.checkBank) && parser.value(options.checkBank).isEmpty();
    if (parser.isSet(options.checkBank) && !bankMissing)
        return checkBankFile(parser.value(options.checkBank), out);
    if (bankMissing || (!parsed && parser.unknownOptionNames().isEmpty())) {
        err << QStringLiteral("После --check-bank укажите файл вопросов, например: %1 "
                              "--check-bank T01_96.jpg")
                   .arg(QCoreApplication::applicationName())
            << Qt::endl;
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
