#include "app/startup.h"
#include "core/administrator.h"
#include "core/sessionstate.h"
#include "testing/catalogue.h"
#include "testsupport.h"

#include <QtTest>

#include "core/windowsapi.h"
#ifdef Q_OS_WIN

namespace {
// The console's screen from its top to the cursor, each line without its trailing blanks.
QString screenText(HANDLE screen)
{
    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(screen, &info);
    std::wstring line(size_t(info.dwSize.X), L' ');
    QStringList lines;
    for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
        DWORD read = 0;
        ReadConsoleOutputCharacterW(screen, line.data(), DWORD(line.size()), COORD{0, y}, &read);
        QString text = QString::fromWCharArray(line.data(), int(read));
        while (text.endsWith(u' '))
            text.chop(1);
        lines << text;
    }
    return lines.join(u'\n');
}

// Starts the program's console answers as a command prompt starts a program of the window
// subsystem: on the prompt's console, with no standard handles. Gives its exit code.
int startFromThePrompt(const QStringList &arguments)
{
    QString command = u'"' +
                      QDir::toNativeSeparators(QCoreApplication::applicationDirPath() +
                                               QStringLiteral("/tarvel_consoleanswers.exe")) +
                      u'"';
    for (const QString &argument : arguments)
        command += QStringLiteral(" \"%1\"").arg(argument);
    std::wstring line = command.toStdWString();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    DWORD exitCode = DWORD(-1);
    if (WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return int(exitCode);
}
} // namespace
#endif

class StartupTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sessionStartsWithFoldersAndFlags()
    {
        SessionState session;
        session.soundOn = false;
        session.mode = SessionMode::CourseTest;
        startSession(session, QStringLiteral("/opt/tarvel/"));
        QCOMPARE(session.programFolder, QStringLiteral("/opt/tarvel"));
        QCOMPARE(session.skinFolder, QStringLiteral("/opt/tarvel/data/jpg/skin/"));
        QVERIFY(session.soundOn);
        QCOMPARE(session.mode, SessionMode::Reading);
    }

    void administratorNeedsBothNames()
    {
        QVERIFY(!administrator::hasNames(QStringLiteral("vedok"), QStringLiteral("Иванов")));
        QVERIFY(administrator::hasNames(QStringLiteral("vedok"), QStringLiteral("vedok")));
        QVERIFY(!administrator::hasNames(QStringLiteral("Vedok"), QStringLiteral("vedok")));
    }

    void catalogueFillsTheSlotsItHas()
    {
        QStringList lines{"каталог", "start"};
        for (int k = 1; k <= 20; ++k)
            lines << QStringLiteral("тест %1").arg(k)
                  << (k <= 14 ? QStringLiteral("  Тест %1 ").arg(k) : QString())
                  << (k <= 14 ? QStringLiteral(" T01_%1.jpg").arg(95 + k) : QString());
        SessionState session;
        parseTestCatalogue(session, lines);
        QCOMPARE(session.catalogue.names[0], QStringLiteral("Тест 1"));
        QCOMPARE(session.catalogue.files[0], QStringLiteral("T01_96.jpg"));
        QCOMPARE(session.catalogue.names[13], QStringLiteral("Тест 14"));
        QVERIFY(session.catalogue.names[14].isEmpty());
        QVERIFY(session.catalogue.files[19].isEmpty());

        // A short or missing catalogue fills what is there and empties the rest.
        parseTestCatalogue(session, {"start", "1", "Светофоры", "T01_97.jpg", "2", "Стрелки"});
        QCOMPARE(session.catalogue.names[0], QStringLiteral("Светофоры"));
        QCOMPARE(session.catalogue.names[1], QStringLiteral("Стрелки"));
        QVERIFY(session.catalogue.files[1].isEmpty());
        QVERIFY(session.catalogue.names[5].isEmpty());

        QVERIFY(!readTestCatalogue(session, QStringLiteral("/nonexistent/14_15.jpg")));
        QVERIFY(session.catalogue.names[0].isEmpty());
        session.catalogue.names[0] = QStringLiteral("прежний");
        parseTestCatalogue(session, {"no start line", "x", "y"});
        QVERIFY(session.catalogue.names[0].isEmpty());
    }

#ifdef Q_OS_WIN
    // The program is one of the window subsystem, which Windows starts from a command prompt
    // without output handles: its answers still reach the prompt's console, in Russian.
    void consoleAnswersReachThePrompt_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("expected");
        QTest::addRow("version") << QStringList{"--version"} << 0
                                 << QStringLiteral("Тарвел " TARVEL_VERSION);
        QTest::addRow("help") << QStringList{"--help"} << 0
                              << QStringLiteral(
                                     "--check-bank ФАЙЛ         проверить файл вопросов");
        QTest::addRow("bank check")
            << QStringList{"--check-bank", "нет.jpg"} << 1
            << QStringLiteral("нет.jpg: тест по этому файлу провести нельзя.");
        QTest::addRow("error output")
            << QStringList{"--check-bank"} << 2 << QStringLiteral("Не хватает имени файла.");
    }
    void consoleAnswersReachThePrompt()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, expected);
        // A screen of its own on the test's console, shown while the answers are written.
        if (!GetConsoleWindow() && !AttachConsole(ATTACH_PARENT_PROCESS))
            AllocConsole();
        const HANDLE shown =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        const HANDLE screen = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE,
                                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                        CONSOLE_TEXTMODE_BUFFER, nullptr);
        const auto restore = qScopeGuard([&] {
            SetConsoleActiveScreenBuffer(shown);
            CloseHandle(screen);
            CloseHandle(shown);
        });
        SetConsoleScreenBufferSize(screen, COORD{200, 60});
        CONSOLE_SCREEN_BUFFER_INFO info{};
        if (!GetConsoleScreenBufferInfo(screen, &info) || info.dwSize.Y < 25 ||
            !SetConsoleActiveScreenBuffer(screen))
            QSKIP("no console screen here (Wine keeps one only for a terminal)");
        QCOMPARE(startFromThePrompt(arguments), exitCode);
        const QString text = screenText(screen);
        QVERIFY2(text.contains(expected), qPrintable(text));
    }
#endif
};

QTEST_GUILESS_MAIN(StartupTest)
#include "tst_startup.moc"
