#include "testsupport.h"

#include <QProcess>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

class tst_commandline : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersOnTheConsoleWithoutADisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        const QString demoBank = QStringLiteral(TARVEL_DEMO_DATA "/jpg/T01_96.jpg");
        QTest::addRow("version") << QStringList{"--version"} << 0
                                 << QStringLiteral("Тарвел " TARVEL_VERSION "\n");
        QTest::addRow("help") << QStringList{"--help"} << 0
                              << "  --check-bank ФАЙЛ         проверить файл вопросов теста";
        QTest::addRow("playable bank") << QStringList{"--check-bank", demoBank} << 0
                                       << "T01_96.jpg: тест «Проверка зависимостей», вопросов: ";
        QTest::addRow("unplayable bank")
            << QStringList{"--check-bank", "broken.jpg"} << 1
            << "broken.jpg: замечание, вопрос 2, строка 20: вопрос не закончен строкой «ris»"
               " (файл обрезан?) и задаваться не будет\n"
               "broken.jpg: ошибка, вопрос 1, строка 4: верный ответ не указан";
        QTest::addRow("missing bank") << QStringList{"--check-bank", "нет.jpg"} << 1
                                      << "нет.jpg: тест по этому файлу провести нельзя.";
        // Refused at once: a reader of a device or a pipe would wait or read for ever.
        QTest::addRow("device") << QStringList{"--check-bank", "/dev/zero"} << 1
                                << "zero: ошибка, это не обычный файл";
#ifdef Q_OS_UNIX
        QTest::addRow("pipe") << QStringList{"--check-bank", "pipe.jpg"} << 1
                              << "pipe.jpg: ошибка, это не обычный файл";
#endif
        QTest::addRow("no bank named") << QStringList{"--check-bank"} << 2 << QString();
    }
    void answersOnTheConsoleWithoutADisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QTemporaryDir folder;
        QStringList bank{"start", "name", "Х", "temaname", "Т", "vop", "Первый"};
        for (int k = 1; k <= 5; ++k)
            bank << QStringLiteral("otv%1").arg(k) << "0ответ";
        bank << "ris"
             << ""
             << "temaname"
             << "Т"
             << "vop"
             << "Обрезан";
        writeBytes(folder.filePath("broken.jpg"), textfile::joinLines(bank));
#ifdef Q_OS_UNIX
        QCOMPARE(::mkfifo(QFile::encodeName(folder.filePath("pipe.jpg")).constData(), 0600), 0);
#endif

        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("QT_QPA_PLATFORM", "xcb");
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(folder.path());
        program.start(QStringLiteral(TARVEL_PROGRAM), arguments);
        QVERIFY(program.waitForFinished(30000));
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
        QVERIFY2(out.contains(output), qPrintable(out));
        if (exitCode == 2)
            QVERIFY(!program.readAllStandardError().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_commandline)
#include "tst_commandline.moc"
