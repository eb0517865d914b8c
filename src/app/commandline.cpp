#include "app/commandline.h"

#include "core/datafiles.h"
#include "core/textfile.h"
#include "testing/bankcheck.h"
#include "testing/bankcommands.h"
#include "testing/itemanalysis.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cstdio>

#include "core/windowsapi.h"

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
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

    QCommandLineOption itemAnalysis{
        QStringLiteral("item-analysis"),
        QStringLiteral("анализ вопросов теста по журналам ответов в папках программы ПАПКА... "
                       "(код выхода 2: ни один журнал не прочитан)"),
        QStringLiteral("ФАЙЛ")};
    QCommandLineOption from{QStringLiteral("from"),
                            QStringLiteral("анализ вопросов: попытки с этого дня"),
                            QStringLiteral("дд.мм.гггг")};
    QCommandLineOption to{QStringLiteral("to"),
                          QStringLiteral("анализ вопросов: попытки по этот день"),
                          QStringLiteral("дд.мм.гггг")};
    QCommandLineOption csv{QStringLiteral("csv"),
                           QStringLiteral("анализ вопросов: таблица для электронных таблиц"),
                           QStringLiteral("ФАЙЛ")};

    QList<const QCommandLineOption *> all() const
    {
        return {&help,       &version,      &checkBank, &import, &name,
                &exportBank, &itemAnalysis, &from,      &to,     &csv};
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

// A day given as dd.mm.yyyy; an open end when the option is not given, nothing when it is wrong.
std::optional<QDate> dayOption(const QCommandLineParser &parser, const QCommandLineOption &option)
{
    if (!parser.isSet(option))
        return QDate();
    const QDate day = QDate::fromString(parser.value(option), QStringLiteral("dd.MM.yyyy"));
    return day.isValid() ? std::optional<QDate>(day) : std::nullopt;
}

int itemAnalysisCommand(const QCommandLineParser &parser, const Options &options, QTextStream &out,
                        QTextStream &err)
{
    const QString bank = parser.value(options.itemAnalysis);
    const QStringList folders = parser.positionalArguments();
    const QString csvPath = parser.value(options.csv);
    const std::optional<QDate> from = dayOption(parser, options.from);
    const std::optional<QDate> to = dayOption(parser, options.to);
    if (bank.isEmpty() || folders.isEmpty() || csvPath.isEmpty() || !from || !to) {
        err << QStringLiteral("Укажите файл вопросов, папки программы и файл таблицы, например: "
                              "%1 --item-analysis T01_96.jpg //класс/ПК1 //класс/ПК2 "
                              "--from 01.09.2026 --to 31.12.2026 --csv анализ.csv")
                   .arg(QCoreApplication::applicationName())
            << Qt::endl;
        return 2;
    }
    QList<itemanalysis::Computer> computers;
    for (const QString &folder : folders)
        computers.append({QDir::toNativeSeparators(folder), folder});
    const itemanalysis::Report report = itemanalysis::buildReport(
        computers,
        resolvePath(QCoreApplication::applicationDirPath(), QStringLiteral("data/jpg/") + bank),
        bank, *from, *to);
    if (!report.bankError.isEmpty()) {
        err << report.bankError << Qt::endl;
        return 1;
    }
    for (const QString &failure : report.failures)
        err << failure << Qt::endl;
    if (report.journalsRead == 0)
        return 2;
    if (!textfile::replaceFile(csvPath, itemanalysis::csv(report.items))) {
        err << QStringLiteral("Не удалось записать файл %1.").arg(QDir::toNativeSeparators(csvPath))
            << Qt::endl;
        return 1;
    }
    out << QStringLiteral("%1: журналов прочитано %2 из %3, вопросов в таблице %4")
               .arg(QDir::toNativeSeparators(csvPath))
               .arg(report.journalsRead)
               .arg(folders.size())
               .arg(report.items.size())
        << Qt::endl;
    return 0;
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
    if (parser.isSet(options.itemAnalysis))
        return itemAnalysisCommand(parser, options, out, err);
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

namespace {

#ifdef Q_OS_WIN
bool sentNowhere(DWORD stream)
{
    const HANDLE handle = GetStdHandle(stream);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE;
}

bool isConsole(DWORD stream)
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(stream), &mode);
}

// The console's screen as a file descriptor of its own; -1 when there is no console.
int consoleScreen()
{
    const HANDLE screen =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (screen == INVALID_HANDLE_VALUE)
        return -1;
    const int descriptor = _open_osfhandle(intptr_t(screen), _O_WRONLY | _O_BINARY);
    if (descriptor < 0)
        CloseHandle(screen);
    return descriptor;
}
#endif

// Where the console answers go: the standard output and error. A Windows program of the window
// subsystem started from a command prompt has neither; its answers then go to that prompt's
// console, which it leaves again at the end, so that the prompt's Ctrl+C never reaches its
// windows. A console is given UTF-8 whatever its code page, and gets its own back.
class ConsoleOutput
{
public:
    ConsoleOutput()
    {
#ifdef Q_OS_WIN
        const bool outNowhere = sentNowhere(STD_OUTPUT_HANDLE);
        const bool errNowhere = sentNowhere(STD_ERROR_HANDLE);
        if (outNowhere || errNowhere) {
            m_attached = AttachConsole(ATTACH_PARENT_PROCESS);
            // Wine gives a window program its parent's console already.
            m_toScreen = m_attached || GetLastError() == ERROR_ACCESS_DENIED;
        }
        open(m_outFile, stdout, m_toScreen && outNowhere);
        open(m_errFile, stderr, m_toScreen && errNowhere);
        if (m_toScreen || isConsole(STD_OUTPUT_HANDLE) || isConsole(STD_ERROR_HANDLE)) {
            m_codePage = GetConsoleOutputCP();
            SetConsoleOutputCP(CP_UTF8);
        }
#else
        open(m_outFile, stdout, false);
        open(m_errFile, stderr, false);
#endif
    }
    ~ConsoleOutput()
    {
        m_out.flush();
        m_err.flush();
        m_outFile.close();
        m_errFile.close();
#ifdef Q_OS_WIN
        if (m_codePage != 0)
            SetConsoleOutputCP(m_codePage);
        if (m_attached)
            FreeConsole();
#endif
    }
    ConsoleOutput(const ConsoleOutput &) = delete;
    ConsoleOutput &operator=(const ConsoleOutput &) = delete;

    QTextStream &out()
    {
        return m_out;
    }
    QTextStream &err()
    {
        return m_err;
    }

private:
    static void open(QFile &file, FILE *standard, [[maybe_unused]] bool toScreen)
    {
#ifdef Q_OS_WIN
        const int screen = toScreen ? consoleScreen() : -1;
        if (screen >= 0 && file.open(screen, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle))
            return;
#endif
        file.open(standard, QIODevice::WriteOnly);
    }

    QFile m_outFile;
    QFile m_errFile;
    QTextStream m_out{&m_outFile};
    QTextStream m_err{&m_errFile};
#ifdef Q_OS_WIN
    bool m_attached = false;
    bool m_toScreen = false;
    UINT m_codePage = 0;
#endif
};

} // namespace

std::optional<int> answerOnTheConsole(const QStringList &arguments)
{
    if (arguments.size() < 2)
        return std::nullopt;
    ConsoleOutput console;
    return runCommandLine(arguments, console.out(), console.err());
}
