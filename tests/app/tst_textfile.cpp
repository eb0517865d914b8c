#include "core/datafiles.h"
#include "core/textfile.h"
#include "core/windowsapi.h"
#include "testsupport.h"

#include <QOperatingSystemVersion>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace textfile;

namespace {
// Opens the file, lets `opened` go, holds the file until `replaced` is released or for `ms` at
// most, and reads it through the same handle.
QByteArray readHeldFor(const QString &path, bool sharesDeletion, int ms, QSemaphore &opened,
                       QSemaphore &replaced)
{
#ifdef Q_OS_WIN
    if (sharesDeletion) {
        const HANDLE handle =
            CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
                        GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        opened.release();
        replaced.tryAcquire(1, ms);
        QByteArray bytes(1 << 20, Qt::Uninitialized);
        DWORD got = 0;
        if (handle == INVALID_HANDLE_VALUE ||
            !ReadFile(handle, bytes.data(), DWORD(bytes.size()), &got, nullptr))
            got = 0;
        CloseHandle(handle);
        return bytes.left(got);
    }
#else
    Q_UNUSED(sharesDeletion);
#endif
    QFile file(path);
    const bool open = file.open(QIODevice::ReadOnly);
    opened.release();
    replaced.tryAcquire(1, ms);
    return open ? file.readAll() : QByteArray();
}
} // namespace

class TextFileTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyByteRoundTrips()
    {
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(char(i));
        const QString text = decode1251(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(encode1251(text), all);
        QCOMPARE(decode1251(QByteArray("\xA8\xB8\xB9")), QStringLiteral("Ёё№"));
        QCOMPARE(encode1251(QStringLiteral("Ёё№")), QByteArray("\xA8\xB8\xB9"));
#ifdef Q_OS_WIN
        // The table is the system's own code page, byte for byte.
        std::wstring system(256, L'\0');
        QCOMPARE(MultiByteToWideChar(1251, 0, all.constData(), 256, system.data(), 256), 256);
        QCOMPARE(text, QString::fromStdWString(system));
#endif
        // A character without a form becomes a question mark.
        QCOMPARE(encode1251(QStringLiteral("a→b")), QByteArray("a?b"));
        QCOMPARE(encode1251(QStringLiteral("я😀я")), QByteArray("\xFF?\xFF"));
        QCOMPARE(charactersWithout1251Form(u"Renée Әлиева😀 é Ёж"), QStringLiteral("éӘ😀"));
    }

    void splitLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::addRow("CR LF") << "a\r\nb\r\n" << QStringList{"a", "b"};
        QTest::addRow("LF alone") << "a\nb\n" << QStringList{"a", "b"};
        QTest::addRow("last line without end") << "a\r\nb" << QStringList{"a", "b"};
        QTest::addRow("empty lines kept") << "a\r\n\r\n\r\nb\r\n" << QStringList{"a", "", "", "b"};
        QTest::addRow("empty text") << "" << QStringList{};
        QTest::addRow("one empty line") << "\r\n" << QStringList{""};
        QTest::addRow("mixed") << "a\nb\r\nc" << QStringList{"a", "b", "c"};
    }
    void splitLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(textfile::splitLines(text), lines);
    }

    void leadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::addColumn<int>("whole");
        QTest::addRow("print style") << " 12 " << 12.0 << 12;
        QTest::addRow("trailing letters") << " 12abc" << 12.0 << 12;
        QTest::addRow("fraction kept") << "7.9" << 7.9 << 7;
        QTest::addRow("negative") << "-3 " << -3.0 << -3;
        QTest::addRow("letters only") << "abc" << 0.0 << 0;
        QTest::addRow("empty") << "" << 0.0 << 0;
        QTest::addRow("blank only") << "   " << 0.0 << 0;
        QTest::addRow("sign alone") << "-" << 0.0 << 0;
        QTest::addRow("letters after blank") << "5 x" << 5.0 << 5;
        QTest::addRow("exponent") << "2e3" << 2000.0 << 2000;
        QTest::addRow("e without digits") << "3e" << 3.0 << 3;
        QTest::addRow("huge") << "99999999999999999999" << 1e20 << std::numeric_limits<int>::max();
        QTest::addRow("Cyrillic after") << "4хорошо" << 4.0 << 4;
    }
    void leadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, number);
        QFETCH(int, whole);
        QCOMPARE(textfile::leadingNumber(text), number);
        QCOMPARE(leadingInt(text), whole);
    }

    void pairsAndMarkers()
    {
        const QStringList lines{"note", "start", "name", "Тест", "time", " 30 ", "end"};
        QCOMPARE(indexAfterStart(lines), 2);
        QCOMPARE(indexAfterStart({"x", " start "}), -1);
        QCOMPARE(indexAfterStart({"x", " start "}, true), 2);
        QStringList read;
        for (const KeyValue &pair : readPairs(lines, 2))
            read << (pair.hasValue ? pair.key + '=' + pair.value : pair.key);
        QCOMPARE(read, (QStringList{"name=Тест", "time= 30 ", "end"}));

        QVERIFY(isClearMarker({"clear"}) && isClearMarker({" clear ", "x"}));
        QVERIFY(!isClearMarker({}) && !isClearMarker({"number", "clear"}));
    }

    // Every line written ends with CR LF, and no value breaks its line. Numbers are written with
    // a blank for the plus sign and one after, and read back rounded and clamped where they must
    // fit sixteen bits.
    void writtenLinesAndNumbers()
    {
        QCOMPARE((QStringList{printNumber(12), printNumber(0), printNumber(-3)}),
                 (QStringList{" 12 ", " 0 ", "-3 "}));
        QCOMPARE((QList<qint16>{leadingInt16(u" 3 "), leadingInt16(u"2.5"), leadingInt16(u"3.5"),
                                leadingInt16(u"100000"), leadingInt16(u"-100000")}),
                 (QList<qint16>{3, 2, 4, 32767, -32768}));
        QCOMPARE(joinLines({"first", QString(), "Я"}), QByteArray("first\r\n\r\n\xDF\r\n"));
        QCOMPARE(oneLine(QStringLiteral("a\r\nb\nc\rd")), QStringLiteral("a b c d"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.txt"));
        QVERIFY(writeLines(path, {QStringLiteral("key"), oneLine(QStringLiteral("a\nkey2"))}));
        QCOMPARE(readLines(path)->size(), 2);

        QByteArray bytes("key\r\n");
        appendLine(bytes, u"\u0416\r\nb\nc\rd\r");
        QCOMPARE(bytes, QByteArray("key\r\n\xC6 b c d \r\n"));
    }

    void resolvesPathsWithoutRegardToCase()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath("data/jpg/skin/boss/accept.bmp"), "x");
        writeBytes(dir.filePath("data/htm/Помощь для сетевой версии.htm"), "x");
        // Where the file system itself ignores letter case, the name may keep the asked case.
        const Qt::CaseSensitivity fileSystem =
            QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows
                ? Qt::CaseInsensitive
                : Qt::CaseSensitive;
        const auto resolves = [&](const QString &asked, const QString &expected) {
            return resolvePath(dir.path(), asked).compare(dir.filePath(expected), fileSystem) == 0;
        };
        QVERIFY(resolves("data\\jpg\\skin\\BOSS\\ACCEPT.bmp", "data/jpg/skin/boss/accept.bmp"));
        QVERIFY(resolves("DATA/HTM/ПОМОЩЬ ДЛЯ СЕТЕВОЙ ВЕРСИИ.HTM",
                         "data/htm/Помощь для сетевой версии.htm"));
        // A file that does not exist keeps its name, below the folders that were found.
        QVERIFY(resolves("Data/JPG/new.jpg", "data/jpg/new.jpg"));
        QCOMPARE(resolvePath(dir.path(), "nothing/here"), dir.filePath("nothing/here"));
    }

    void readTellsMissingFromUnreadable()
    {
        QTemporaryDir dir;
        const QString none = dir.filePath("none"), empty = dir.filePath("empty"),
                      ten = dir.filePath("ten");
        QCOMPARE(readFile(none).status, FileRead::Status::Missing);
        QVERIFY(!readLines(none));
        QCOMPARE(readFile(dir.path()).status, FileRead::Status::Unreadable);
        writeBytes(empty, QByteArray());
        QCOMPARE(readFile(empty).status, FileRead::Status::Read);
        QVERIFY(readFile(empty).bytes.isEmpty());
        writeBytes(ten, "0123456789");
        QCOMPARE(readBounded(ten, 10).bytes, "0123456789");
        QCOMPARE(readBounded(ten, 9).refusal, FileRead::Refusal::TooLarge);
#ifdef Q_OS_WIN
        QCOMPARE(readFile("NUL").refusal, FileRead::Refusal::NotAFile);
#else
        QCOMPARE(readFile("/dev/zero").refusal, FileRead::Refusal::NotAFile);
#endif
    }

    // A replacement leaves no temporary file, removes stale ones and retries a busy rename only.
    void replacementIsCleanAndRetriesOnlyABusyRename()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("state.ini");
        QVERIFY(replaceFile(path, "old") && replaceFile(path, "new"));
        QCOMPARE(readBytes(path), QByteArray("new"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"state.ini"});
        QVERIFY(!replaceFile(dir.filePath("missing/state.ini"), "x"));
        // A folder in the file's place is never replaced.
        QVERIFY(QDir(dir.path()).mkdir("taken.ini"));
        QVERIFY(!replaceFile(dir.filePath("taken.ini"), "x") &&
                QFileInfo(dir.filePath("taken.ini")).isDir());

        // What a killed writer left is removed by the next write once no writer can still use
        // it, measured on the clock of the folder's computer: here a share whose server runs ten
        // minutes behind this computer, where a pupil's program is writing a temporary right now.
        const QDateTime shareNow = QDateTime::currentDateTime().addSecs(-10 * 60);
        const QString onShare = dir.filePath("share.ini");
        const QString stale = onShare + ".old1.tmp";
        const QString fresh = onShare + ".new1.tmp";
        writeBytes(stale, "half");
        writeBytes(fresh, "half");
        QVERIFY(setModified(stale, shareNow.addSecs(-11 * 60)));
        QVERIFY(setModified(fresh, shareNow.addSecs(-5)));
        const auto restore = qScopeGuard([] { setRenameStep({}); });
        setRenameStep([&](const QString &from, const QString &to) {
            return setModified(from, shareNow) && QFile::rename(from, to) ? RenameOutcome::Done
                                                                          : RenameOutcome::Refused;
        });
        QVERIFY(replaceFile(onShare, "new") && !QFile::exists(stale) && QFile::exists(fresh));

        // A reader holds the target for the first three tries, then lets go.
        int tries = 0;
        RenameOutcome answer = RenameOutcome::Busy;
        setRenameStep([&](const QString &from, const QString &to) {
            if (++tries <= 3 || answer != RenameOutcome::Busy)
                return answer;
            return QFile::rename(from, to) || (QFile::remove(to) && QFile::rename(from, to))
                       ? RenameOutcome::Done
                       : RenameOutcome::Refused;
        });
        QVERIFY(replaceFile(path, "retried"));
        QCOMPARE(tries, 4);
        QCOMPARE(readBytes(path), QByteArray("retried"));

        tries = 0;
        answer = RenameOutcome::Refused;
        QVERIFY(!replaceFile(path, "refused"));
        QCOMPARE(tries, 1);

        // Held for good: given up after about half a second.
        tries = -1000000;
        answer = RenameOutcome::Busy;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!replaceFile(path, "held") && clock.elapsed() < 1500);
        QCOMPARE(readBytes(path), QByteArray("retried"));
        QCOMPARE(QDir(dir.path()).entryList({"state.ini*"}, QDir::Files), QStringList{"state.ini"});
    }

#ifdef Q_OS_UNIX
    void replacementKeepsPermissions_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addRow("shared 0664") << 0664;
        QTest::addRow("others read 0644") << 0644;
        QTest::addRow("group only 0660") << 0660;
        if (::geteuid() == 0) // only the superuser may replace a read-only file
            QTest::addRow("read-only 0444") << 0444;
    }
    void replacementKeepsPermissions()
    {
        QFETCH(int, mode);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("2_17.jpg"));
        writeBytes(path, "old");
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(mode)) == 0);
        QVERIFY(replaceFile(path, "new"));
        QCOMPARE(readBytes(path), QByteArray("new"));
        struct stat status;
        QVERIFY(::stat(QFile::encodeName(path).constData(), &status) == 0);
        QCOMPARE(int(status.st_mode & 07777), mode);
    }

#endif

    // A write that fails anywhere leaves the old file whole, no temporary file, and fails at
    // once instead of retrying.
    void failedWriteKeepsTheOldFile_data()
    {
        QTest::addColumn<int>("freeBytes"); // left free on the disk; -1: read-only
        QTest::addRow("disk full") << 0;
        QTest::addRow("disk full in the middle of the write") << 12 * 1024;
        QTest::addRow("read-only file system") << -1;
    }
    void failedWriteKeepsTheOldFile()
    {
        QFETCH(int, freeBytes);
        SmallDisk disk(64);
        if (!disk.isMounted())
            QSKIP("mounting a small file system is not permitted here");
        const QString path = disk.file(QStringLiteral("2_17.jpg"));
        const QByteArray old(3000, 'o');
        QVERIFY(replaceFile(path, old));
        if (freeBytes >= 0)
            disk.fill(freeBytes);
        else
            QVERIFY(disk.makeReadOnly());
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!replaceFile(path, QByteArray(40000, 'n')));
        QVERIFY2(clock.elapsed() < 400, "a failed write must not keep the window waiting");
        QCOMPARE(readBytes(path), old);
        QCOMPARE(QDir(QFileInfo(path).path()).entryList({"*.tmp"}, QDir::Files), QStringList());
    }

    // A teacher's program reads the pupil's file while the pupil's program replaces it: the
    // write waits for the reader at most, and the reader sees the old file whole.
    void replacementLandsWhileAReaderHoldsTheFile_data()
    {
        QTest::addColumn<bool>("sharesDeletion");
        QTest::addRow("reader sharing everything, as the program's") << true;
        QTest::addRow("reader not sharing deletion, as QFile on Windows") << false;
    }
    void replacementLandsWhileAReaderHoldsTheFile()
    {
        QFETCH(bool, sharesDeletion);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("curr_test.ini"));
        const QByteArray old(200000, 'o');
        const QByteArray written(300000, 'n');
        QVERIFY(replaceFile(path, old));
        QSemaphore opened;
        QSemaphore replaced;
        QByteArray seen;
        std::unique_ptr<QThread> reader(QThread::create(
            [&] { seen = readHeldFor(path, sharesDeletion, 100, opened, replaced); }));
        reader->start();
        QVERIFY(opened.tryAcquire(1, 5000) && replaceFile(path, written));
        replaced.release();
        QVERIFY(reader->wait(5000));
        QCOMPARE(seen, old);
        QCOMPARE(readBytes(path), written);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"curr_test.ini"});
    }

    void killedWriterLeavesACompleteFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("2_17.jpg"));
        const QByteArray first(300000, 'a');
        const QByteArray second(200000, 'b');
        QVERIFY(replaceFile(path, second));
        int damaged = 0;
        const int kills = 40;
        for (int i = 0; i < kills; ++i) {
            QProcess writer;
            writer.start(QStringLiteral(TARVEL_REWRITER), {path});
            // Killed at a random moment after its first whole write, so inside a later one.
            QVERIFY(writer.waitForReadyRead(5000));
            QThread::usleep(QRandomGenerator::global()->bounded(20000));
            writer.kill();
            writer.waitForFinished();
            const QByteArray content = readBytes(path);
            if (content != first && content != second) // a missing file is damage too
                ++damaged;
        }
        // Each kill may leave the temporary file it was writing, never more.
        const qsizetype leftovers = QDir(dir.path()).entryList({"*.tmp"}, QDir::Files).size();
        qInfo("%d kills, %d damaged files, %lld temporary files left", kills, damaged,
              qlonglong(leftovers));
        QCOMPARE(damaged, 0);
        QVERIFY(leftovers <= kills);
    }
};

QTEST_GUILESS_MAIN(TextFileTest)
#include "tst_textfile.moc"
