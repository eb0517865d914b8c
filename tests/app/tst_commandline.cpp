#include "testing/questionbank.h"
#include "testsupport.h"

#include <QProcess>
#include <QRandomGenerator>
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
        QTest::addColumn<QString>("csvLines"); // what out.csv holds after the header
        const auto row = [](const char *name, const QStringList &arguments, int exitCode,
                            const QString &output = {}, const QString &csvLines = {}) {
            QTest::newRow(name) << arguments << exitCode << output << csvLines;
        };
        const QString demoBank = QStringLiteral(TARVEL_DEMO_DATA "/jpg/T01_96.jpg");
        row("version", {"--version"}, 0, QStringLiteral("Тарвел " TARVEL_VERSION "\n"));
        row("help", {"--help"}, 0, "  --check-bank ФАЙЛ         проверить файл вопросов теста");
        row("playable bank", {"--check-bank", demoBank}, 0,
            "T01_96.jpg: тест «Проверка зависимостей», вопросов: ");
        row("unplayable bank", {"--check-bank", "broken.jpg"}, 1,
            "broken.jpg: замечание, вопрос 2, строка 20: вопрос не закончен строкой «ris»"
            " (файл обрезан?) и задаваться не будет\n"
            "broken.jpg: ошибка, вопрос 1, строка 4: верный ответ не указан");
        row("missing bank", {"--check-bank", "нет.jpg"}, 1,
            "нет.jpg: тест по этому файлу провести нельзя.");
        // Refused at once: a reader of a device or a pipe would wait or read for ever.
        row("device", {"--check-bank", "/dev/zero"}, 1, "zero: ошибка, это не обычный файл");
#ifdef Q_OS_UNIX
        row("pipe", {"--check-bank", "pipe.jpg"}, 1, "pipe.jpg: ошибка, это не обычный файл");
#endif
        row("import into a new bank", {"--import", "q.csv", "new.jpg", "--name", "Новый"}, 0,
            "q.csv, строка 3: вопрос взят в банк под номером 2\n"
            "new.jpg: взято вопросов 2, не взято 0; в банке «Новый» вопросов: 2.");
        row("import with a refused question", {"--import", "aiken.txt", "new.jpg", "--name", "Н"},
            1,
            "aiken.txt, строка 9: вопрос не взят: нужно пять ответов, а их 4\n"
            "new.jpg: взято вопросов 1, не взято 1");
        row("import of a missing file", {"--import", "нет.csv", "new.jpg", "--name", "Н"}, 2,
            "нет.csv: файл не найден");
        row("import of a file without one question to take",
            {"--import", "broken.jpg", "new.jpg", "--name", "Н"}, 2,
            "new.jpg: ни один вопрос не взят; банк не изменён");
        row("import of an empty file", {"--import", "empty.csv", "new.jpg", "--name", "Н"}, 2,
            "empty.csv: в файле не найдено ни одного вопроса");
        row("import into a new bank without its name", {"--import", "q.csv", "new.jpg"}, 2,
            "укажите название теста");
        // Saving would drop its cut-off record.
        row("import into a bank the program would not write back the same",
            {"--import", "q.csv", "broken.jpg"}, 2,
            "broken.jpg: банк записан не так, как его пишет программа");
        row("import without the bank", {"--import", "q.csv"}, 2);
        row("export", {"--export", demoBank, "out.csv"}, 0, " записано в out.csv.");
        row("no bank named", {"--check-bank"}, 2);
        const QStringList analysis{"--item-analysis", "T01_96.jpg", "pc1", "pc2",
                                   "--csv",           "out.csv"};
        row("item analysis",
            analysis + QStringList{"--from", "01.12.2026", "--to", "31.12.2026", "нет"}, 0,
            "out.csv: журналов прочитано 2 из 3, вопросов в таблице 2",
            "1;2;50,0;;4;50,0;20,0;\r\n2;1;0,0;;3;100,0;20,0;проверьте ключ\r\n");
        row("item analysis without a range", analysis, 0, "вопросов в таблице 2",
            "1;2;50,0;;4;50,0;20,0;\r\n2;2;0,0;;3;100,0;25,0;проверьте ключ\r\n");
        row("no journal read", {"--item-analysis", "T01_96.jpg", "нет", "--csv", "out.csv"}, 2);
        row("wrong date", analysis + QStringList{"--from", "32.12.2026"}, 2);
    }
    void answersOnTheConsoleWithoutADisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QString, csvLines);
        QTemporaryDir folder;
        const QByteArray pc1 = "2026-12-01 09:00:00\tИван\tПетров\tT01_96.jpg\t1\t2\t1\t10\r\n"
                               "2026-12-01 09:00:00\tИван\tПетров\tT01_96.jpg\t2\t3\t0\t20\r\n"
                               "2026-12-01 09:00:00\tИван\tПетров\tT02_96.jpg\t1\t3\t0\t20\r\n";
        const QByteArray pc2 = "2026-11-30 09:00:00\tПётр\tСидоров\tT01_96.jpg\t2\t3\t0\t30\r\n"
                               "2026-12-02 09:00:00\tПётр\tСидоров\tT01_96.jpg\t1\t4\t0\t30\r\n";
        for (const auto &[name, bytes] : {std::pair{"pc1", pc1}, std::pair{"pc2", pc2}})
            writeBytes(folder.filePath(QStringLiteral("%1/data/answers.txt").arg(name)),
                       textfile::encode1251(QString::fromUtf8(bytes)));
        QStringList bank{"start", "name", "Х", "temaname", "Т", "vop", "Первый"};
        for (int k = 1; k <= 5; ++k)
            bank << QStringLiteral("otv%1").arg(k) << "0ответ";
        bank += QStringList{"ris", "", "temaname", "Т", "vop", "Обрезан"};
        writeBytes(folder.filePath("broken.jpg"), textfile::joinLines(bank));
        writeBytes(folder.filePath("q.csv"), "topic;question;a1;a2;a3;a4;a5;right;picture\n"
                                             "Т;Первый;а;б;в;г;д;1;\nТ;Второй;а;б;в;г;д;5;\n");
        writeBytes(folder.filePath("empty.csv"), "\n;;\n");
        writeBytes(folder.filePath("aiken.txt"), "Вопрос\nA) а\nB) б\nC) в\nD) г\nE) д\n"
                                                 "ANSWER: B\n\nНеполный\nA) а\nB) б\nC) в\n"
                                                 "D) г\nANSWER: B\n");
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
        if (exitCode == 2 && output.isEmpty())
            QVERIFY(!program.readAllStandardError().isEmpty());
        if (arguments.first() == "--import") {
            QRandomGenerator random(1);
            const PreparedTest written = loadQuestionBank(folder.filePath("new.jpg"), random);
            QCOMPARE(written.ok(), exitCode < 2);
        }
        const QByteArray header = "\xEF\xBB\xBFquestion;asked;facility;discrimination;"
                                  "top_wrong_answer;top_wrong_share;mean_seconds;flag\r\n";
        if (!csvLines.isEmpty())
            QCOMPARE(readBytes(folder.filePath("out.csv")), header + csvLines.toUtf8());
    }
};

QTEST_GUILESS_MAIN(tst_commandline)
#include "tst_commandline.moc"
