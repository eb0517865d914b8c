#include "cues.h"
#include "dataerror.h"
#include "drawing.h"
#include "generator.h"
#include "manifest.h"
#include "outputfiles.h"
#include "scene.h"
#include "skins.h"
#include "textconvert.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtEndian>
#include <QtTest>

#include <cmath>

namespace {

// The message of the DataError the call throws, or an empty string when it throws none.
template <typename Call> QString errorOf(Call call)
{
    try {
        call();
    } catch (const DataError &error) {
        return error.message;
    }
    return {};
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int brightness(QRgb pixel)
{
    return qRed(pixel) + qGreen(pixel) + qBlue(pixel);
}

double meanBrightness(const QImage &image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            sum += brightness(image.pixel(x, y));
    }
    return sum / (image.width() * image.height());
}

int signChanges(const QList<qint16> &samples)
{
    int changes = 0;
    for (qsizetype i = 1; i < samples.size(); ++i) {
        if ((samples[i - 1] < 0) != (samples[i] < 0))
            ++changes;
    }
    return changes;
}

quint32 le32At(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

quint16 le16At(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

} // namespace

class DatagenTest : public QObject
{
    Q_OBJECT

public:
    // Fonts and painting without a display.
    static void initMain() { qputenv("QT_QPA_PLATFORM", "offscreen"); }

private Q_SLOTS:
    // Text conversion
    void convertsCyrillicAndPunctuation();
    void lineEndsBecomeCrLf_data();
    void lineEndsBecomeCrLf();
    void dropsByteOrderMark();
    void refusesCharacterWithoutCodePageForm();
    void refusesCharacterOutsideBasicPlane();
    void refusesInvalidUtf8WithItsLine();

    // Manifests
    void manifestSkipsCommentsAndKeepsLineNumbers();

    // Drawings
    void drawingNeedsSizeFirst();
    void drawingNamesUnknownCommandAndLine();
    void drawingRefusesBadArguments_data();
    void drawingRefusesBadArguments();
    void drawingAllowsTrailingComment();
    void drawingTextRunsToEndOfLine();
    void drawingShapesTakeCurrentPenAndBrush();
    void renderPaintsBackgroundAndShapes();
    void renderDrawsText();

    // Skins
    void skinManifestDefaultsAndSizes();
    void skinManifestRefusesFaults_data();
    void skinManifestRefusesFaults();
    void litButtonIsLighterWithBrightBorder();
    void buttonShowsItsLabel();
    void mainPictureHasSignalAndTrack();

    // Cues
    void cuePatternParses();
    void cuePatternRefusesFaults_data();
    void cuePatternRefusesFaults();
    void synthesisHasLengthAndPitch();
    void synthesisIsDeterministic();
    void wavHeaderDescribesPcm();
    void cueManifestRefusesBadNamesAndDuplicates();

    // Output files and the whole run
    void writeIfChangedKeepsUnchangedFile();
    void writeIfMissingNeverOverwrites();
    void stateFilesAreRecognised();
    void dataTreeConvertsContentAndKeepsState();
    void dataTreeReportsBadFileAndGoesOn();
    void generateAllBuildsEveryKindOfOutput();

    // The repository's own manifests
    void repositorySkinsCoverEveryWindow();
    void repositoryCuesAreCompleteAndShort();
    void repositoryIconIsScalableAndBitmap();
};

void DatagenTest::convertsCyrillicAndPunctuation()
{
    QCOMPARE(toWindows1251(QStringLiteral("Тест ёЁ"), QStringLiteral("t")),
             QByteArray("\xD2\xE5\xF1\xF2 \xB8\xA8"));
    QCOMPARE(toWindows1251(QStringLiteral("«»—№°±"), QStringLiteral("t")),
             QByteArray("\xAB\xBB\x97\xB9\xB0\xB1"));
}

void DatagenTest::lineEndsBecomeCrLf_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("lf") << QStringLiteral("a\nb\n") << QByteArray("a\r\nb\r\n");
    QTest::newRow("crlf kept") << QStringLiteral("a\r\nb") << QByteArray("a\r\nb");
    QTest::newRow("lone cr") << QStringLiteral("a\rb\r") << QByteArray("a\r\nb\r\n");
    QTest::newRow("empty lines") << QStringLiteral("a\n\n\nb") << QByteArray("a\r\n\r\n\r\nb");
    QTest::newRow("trailing blanks kept") << QStringLiteral(" 12 \n") << QByteArray(" 12 \r\n");
    QTest::newRow("empty") << QString() << QByteArray();
}

void DatagenTest::lineEndsBecomeCrLf()
{
    QFETCH(QString, source);
    QFETCH(QByteArray, expected);
    QCOMPARE(toWindows1251(source, QStringLiteral("t")), expected);
}

void DatagenTest::dropsByteOrderMark()
{
    QCOMPARE(utf8ToWindows1251("\xEF\xBB\xBFok\n", QStringLiteral("t")), QByteArray("ok\r\n"));
}

void DatagenTest::refusesCharacterWithoutCodePageForm()
{
    const QString message = errorOf([] {
        toWindows1251(QStringLiteral("первая\nвторая\nx → y\n"), QStringLiteral("htm/a.htm"));
    });
    QVERIFY2(message.startsWith(QStringLiteral("htm/a.htm:3:")), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("column 3")), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("U+2192")), qPrintable(message));
}

void DatagenTest::refusesCharacterOutsideBasicPlane()
{
    const QString message = errorOf(
        [] { toWindows1251(QString::fromUtf8("ok\r\n\xF0\x9F\x98\x80!"), QStringLiteral("f")); });
    QVERIFY2(message.startsWith(QStringLiteral("f:2: column 1")), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("U+1F600")), qPrintable(message));
}

void DatagenTest::refusesInvalidUtf8WithItsLine()
{
    const QString message =
        errorOf([] { utf8ToWindows1251("one\ntwo\nthree \xFF\n", QStringLiteral("bad.txt")); });
    QCOMPARE(message, QStringLiteral("bad.txt:3: invalid UTF-8"));
}

void DatagenTest::manifestSkipsCommentsAndKeepsLineNumbers()
{
    const QList<ManifestLine> lines =
        parseManifest(QStringLiteral("# comment\n\n  a \t b\t c \n   # indented comment\nd\n"));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0].number, 3);
    QCOMPARE(lines[0].fields, QStringList({"a", "b", "c"}));
    QCOMPARE(lines[1].number, 5);
    QCOMPARE(lines[1].fields, QStringList({"d"}));
}

void DatagenTest::drawingNeedsSizeFirst()
{
    QCOMPARE(errorOf([] { parseDrawing(QStringLiteral("pen #000000 1\nsize 10 10\n"), "p"); }),
             QStringLiteral("p:1: the first command must be \"size\""));
    QCOMPARE(errorOf([] { parseDrawing(QStringLiteral("# nothing\n"), "p"); }),
             QStringLiteral("p: no \"size\" command"));
    QVERIFY(errorOf([] {
                parseDrawing(QStringLiteral("size 10 10\nsize 5 5\n"), "p");
            }).startsWith(QStringLiteral("p:2:")));
}

void DatagenTest::drawingNamesUnknownCommandAndLine()
{
    const QString message = errorOf(
        [] { parseDrawing(QStringLiteral("size 10 10\n\ncircle 1 2 3\n"), "pictures/a.txt"); });
    QCOMPARE(message, QStringLiteral("pictures/a.txt:3: unknown command \"circle\""));
}

void DatagenTest::drawingRefusesBadArguments_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("too few") << QStringLiteral("rect 1 2 3");
    QTest::newRow("too many") << QStringLiteral("line 1 2 3 4 5");
    QTest::newRow("not a number") << QStringLiteral("ellipse 5 5 x 2");
    QTest::newRow("colour name") << QStringLiteral("brush red");
    QTest::newRow("short colour") << QStringLiteral("pen #FFF 1");
    QTest::newRow("negative width") << QStringLiteral("pen #FFFFFF -2");
    QTest::newRow("text without words") << QStringLiteral("text 1 2 12");
    QTest::newRow("zero text size") << QStringLiteral("text 1 2 0 word");
}

void DatagenTest::drawingRefusesBadArguments()
{
    QFETCH(QString, line);
    const QString message =
        errorOf([&] { parseDrawing(QStringLiteral("size 40 40\n") + line, "p"); });
    QVERIFY2(message.startsWith(QStringLiteral("p:2: ")), qPrintable(message));
}

void DatagenTest::drawingAllowsTrailingComment()
{
    const Drawing drawing = parseDrawing(
        QStringLiteral("size 30 20 # small\nbrush #00FF00 # green\nrect 1 2 3 4   # box\n"), "p");
    QCOMPARE(drawing.size, QSize(30, 20));
    QCOMPARE(drawing.shapes.size(), 1);
    QCOMPARE(drawing.shapes[0].brush.color(), QColor(0, 255, 0));
}

void DatagenTest::drawingTextRunsToEndOfLine()
{
    const Drawing drawing =
        parseDrawing(QStringLiteral("size 50 50\ntext 5 20 12 Путь  свободен # 1\n"), "p");
    QCOMPARE(drawing.shapes.size(), 1);
    QCOMPARE(drawing.shapes[0].kind, DrawingShape::Kind::Text);
    QCOMPARE(drawing.shapes[0].text, QStringLiteral("Путь  свободен # 1"));
    QCOMPARE(drawing.shapes[0].numbers[2], 12.0);
}

void DatagenTest::drawingShapesTakeCurrentPenAndBrush()
{
    const Drawing drawing = parseDrawing(QStringLiteral("size 50 50\nline 0 0 5 5\n"
                                                        "pen #FF0000 3\nbrush #0000FF\n"
                                                        "rect 1 1 5 5\nbrush none\n"
                                                        "ellipse 10 10 4 4\n"),
                                         "p");
    QCOMPARE(drawing.shapes.size(), 3);
    QCOMPARE(drawing.shapes[0].pen.color(), QColor(Qt::black));
    QCOMPARE(drawing.shapes[0].brush.style(), Qt::NoBrush);
    QCOMPARE(drawing.shapes[1].pen.color(), QColor(255, 0, 0));
    QCOMPARE(drawing.shapes[1].pen.widthF(), 3.0);
    QCOMPARE(drawing.shapes[1].brush.color(), QColor(0, 0, 255));
    QCOMPARE(drawing.shapes[2].brush.style(), Qt::NoBrush);
    QCOMPARE(drawing.shapes[2].pen.color(), QColor(255, 0, 0));
}

void DatagenTest::renderPaintsBackgroundAndShapes()
{
    const QImage image = renderDrawing(
        parseDrawing(QStringLiteral("size 40 20\nbackground #102030\npen #FF0000 1\nbrush #FF0000\n"
                                    "rect 10 5 20 10\npen #00FF00 1\nline 0 18 39 18\n"),
                     "p"));
    QCOMPARE(image.size(), QSize(40, 20));
    QCOMPARE(QColor(image.pixel(2, 2)), QColor(0x10, 0x20, 0x30));
    QCOMPARE(QColor(image.pixel(20, 10)), QColor(255, 0, 0));
    QVERIFY(qGreen(image.pixel(20, 18)) > 100);

    const QImage plain = renderDrawing(parseDrawing(QStringLiteral("size 5 5\n"), "p"));
    QCOMPARE(QColor(plain.pixel(2, 2)), QColor(Qt::white));
}

void DatagenTest::renderDrawsText()
{
    const QImage image =
        renderDrawing(parseDrawing(QStringLiteral("size 80 40\ntext 5 30 24 ЖШ\n"), "p"));
    QVERIFY(meanBrightness(image) < 3 * 255 - 10);
    // The glyphs stand above the baseline, none of them far below it.
    QCOMPARE(QColor(image.pixel(40, 38)), QColor(Qt::white));
}

void DatagenTest::skinManifestDefaultsAndSizes()
{
    const QList<SkinDef> skins = parseSkins(
        QStringLiteral("# buttons\nmain\tread\tЧитать\t220x44\nid\tok\tВойти\n"), "skins.txt");
    QCOMPARE(skins.size(), 2);
    QCOMPARE(skins[0].folder, QStringLiteral("main"));
    QCOMPARE(skins[0].name, QStringLiteral("read"));
    QCOMPARE(skins[0].label, QStringLiteral("Читать"));
    QCOMPARE(skins[0].size, QSize(220, 44));
    QCOMPARE(skins[1].size, kDefaultButtonSize);
}

void DatagenTest::skinManifestRefusesFaults_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("upper-case folder") << QStringLiteral("BOSS\taccept\tПринять");
    QTest::newRow("extension in name") << QStringLiteral("boss\taccept.bmp\tПринять");
    QTest::newRow("no label") << QStringLiteral("boss\taccept");
    QTest::newRow("empty label") << QStringLiteral("boss\taccept\t ");
    QTest::newRow("bad size") << QStringLiteral("boss\taccept\tПринять\t220*44");
    QTest::newRow("huge size") << QStringLiteral("boss\taccept\tПринять\t9000x44");
    QTest::newRow("twice") << QStringLiteral("id\tok\tВойти");
}

void DatagenTest::skinManifestRefusesFaults()
{
    QFETCH(QString, line);
    const QString message =
        errorOf([&] { parseSkins(QStringLiteral("id\tok\tВойти\n") + line, "skins.txt"); });
    QVERIFY2(message.startsWith(QStringLiteral("skins.txt:2: ")), qPrintable(message));
}

void DatagenTest::litButtonIsLighterWithBrightBorder()
{
    const SkinDef skin{"main", "read", QStringLiteral("Читать"), QSize(220, 44)};
    const QImage normal = drawButton(skin, false);
    const QImage lit = drawButton(skin, true);
    QCOMPARE(normal.size(), QSize(220, 44));
    QCOMPARE(lit.size(), QSize(220, 44));
    QVERIFY(meanBrightness(lit) > meanBrightness(normal) + 60);
    const QRgb corner = lit.pixel(0, 0);
    QVERIFY(qRed(corner) > 200 && qGreen(corner) > 180 && qBlue(corner) < 120);
    QVERIFY(brightness(normal.pixel(0, 0)) < 200);
}

void DatagenTest::buttonShowsItsLabel()
{
    const QImage ok = drawButton({"id", "ok", QStringLiteral("Войти"), QSize(120, 36)}, false);
    const QImage exit = drawButton({"id", "ok", QStringLiteral("Выход"), QSize(120, 36)}, false);
    QVERIFY(ok != exit);
    // White letters on the dark face, and only in the middle of the button.
    int whiteInMiddle = 0;
    for (int x = 20; x < 100; ++x) {
        for (int y = 8; y < 28; ++y)
            whiteInMiddle += brightness(ok.pixel(x, y)) > 700 ? 1 : 0;
    }
    QVERIFY(whiteInMiddle > 20);
    QVERIFY(brightness(ok.pixel(8, 18)) < 500);
}

void DatagenTest::mainPictureHasSignalAndTrack()
{
    const QImage picture = drawMainPicture();
    QCOMPARE(picture.size(), QSize(kMainPictureWidth, kMainPictureHeight));
    // The lit green lamp of the signal.
    const QRgb lamp = picture.pixel(76, 148);
    QVERIFY(qGreen(lamp) > 180 && qRed(lamp) < 150);
    // Sky above, ground below.
    QVERIFY(qBlue(picture.pixel(200, 10)) > qRed(picture.pixel(200, 10)));
    QVERIFY(brightness(picture.pixel(5, 295)) < brightness(picture.pixel(200, 10)));
}

void DatagenTest::cuePatternParses()
{
    const QList<CueSegment> segments =
        parseCuePattern(QStringLiteral("tone 440 0.5; sweep 600 900 0.25;noise 0.1"), "c", 1);
    QCOMPARE(segments.size(), 3);
    QCOMPARE(segments[0].wave, CueSegment::Wave::Sine);
    QCOMPARE(segments[0].from, 440.0);
    QCOMPARE(segments[0].seconds, 0.5);
    QCOMPARE(segments[1].wave, CueSegment::Wave::Sweep);
    QCOMPARE(segments[1].to, 900.0);
    QCOMPARE(segments[2].wave, CueSegment::Wave::Noise);
    QCOMPARE(segments[2].seconds, 0.1);
}

void DatagenTest::cuePatternRefusesFaults_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::newRow("unknown") << QStringLiteral("beep 440 0.1");
    QTest::newRow("missing number") << QStringLiteral("sweep 440 0.1");
    QTest::newRow("extra number") << QStringLiteral("noise 440 0.1");
    QTest::newRow("too low") << QStringLiteral("tone 5 0.1");
    QTest::newRow("not a number") << QStringLiteral("tone abc 0.1");
    QTest::newRow("zero duration") << QStringLiteral("tone 440 0");
    QTest::newRow("empty sound") << QStringLiteral("tone 440 0.1;;tone 440 0.1");
    QTest::newRow("too long") << QStringLiteral("tone 440 3; tone 440 3");
}

void DatagenTest::cuePatternRefusesFaults()
{
    QFETCH(QString, pattern);
    const QString message = errorOf([&] { parseCuePattern(pattern, "cues.txt", 7); });
    QVERIFY2(message.startsWith(QStringLiteral("cues.txt:7: ")), qPrintable(message));
}

void DatagenTest::synthesisHasLengthAndPitch()
{
    const QList<qint16> samples =
        synthesize({"a.wav", parseCuePattern(QStringLiteral("tone 441 1; silence 0.5"), "c", 1)});
    QCOMPARE(samples.size(), kSampleRate * 3 / 2);
    // 441 Hz crosses zero twice a period.
    const QList<qint16> tone = samples.first(kSampleRate);
    QVERIFY(qAbs(signChanges(tone) - 882) <= 3);
    QCOMPARE(samples.first(), qint16(0)); // faded in
    int peak = 0;
    for (const qint16 sample : tone)
        peak = qMax(peak, qAbs(int(sample)));
    QVERIFY(peak > 10000 && peak < 32767);
    for (qsizetype i = kSampleRate; i < samples.size(); ++i)
        QCOMPARE(samples[i], qint16(0));

    const QList<qint16> sweep =
        synthesize({"b.wav", parseCuePattern(QStringLiteral("sweep 200 2000 1"), "c", 1)});
    const int early = signChanges(sweep.first(kSampleRate / 10));
    const int late = signChanges(sweep.last(kSampleRate / 10));
    QVERIFY(late > 5 * early);
}

void DatagenTest::synthesisIsDeterministic()
{
    const QList<CueSegment> pattern =
        parseCuePattern(QStringLiteral("noise 0.2; knock 180 0.1"), "c", 1);
    const QList<qint16> first = synthesize({"x.wav", pattern});
    QCOMPARE(synthesize({"x.wav", pattern}), first);
    QVERIFY(synthesize({"y.wav", pattern}) != first);
    QVERIFY(signChanges(first.first(kSampleRate / 5)) > 1000); // noise, not a tone
}

void DatagenTest::wavHeaderDescribesPcm()
{
    const QList<qint16> samples{0, 1000, -1000, 32767, -32768};
    const QByteArray wav = wavFile(samples);
    QCOMPARE(wav.size(), 44 + 10);
    QCOMPARE(wav.left(4), QByteArray("RIFF"));
    QCOMPARE(le32At(wav, 4), quint32(wav.size() - 8));
    QCOMPARE(wav.mid(8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(le16At(wav, 20), quint16(1));     // PCM
    QCOMPARE(le16At(wav, 22), quint16(1));     // mono
    QCOMPARE(le32At(wav, 24), quint32(48000)); // rate
    QCOMPARE(le32At(wav, 28), quint32(96000)); // bytes per second
    QCOMPARE(le16At(wav, 34), quint16(16));    // bits
    QCOMPARE(wav.mid(36, 4), QByteArray("data"));
    QCOMPARE(le32At(wav, 40), quint32(10));
    QCOMPARE(qint16(le16At(wav, 44 + 6)), qint16(32767));
    QCOMPARE(qint16(le16At(wav, 44 + 8)), qint16(-32768));
}

void DatagenTest::cueManifestRefusesBadNamesAndDuplicates()
{
    const QString good = QStringLiteral("pick.wav\ttone 1400 0.1\tclick\n");
    QCOMPARE(parseCues(good, "c").size(), 1);
    QVERIFY(errorOf([&] { parseCues(good + "Pick.WAV\ttone 1 1", "c"); }).startsWith("c:2: "));
    QVERIFY(errorOf([&] { parseCues(good + "pick\ttone 440 1", "c"); }).startsWith("c:2: "));
    QVERIFY(errorOf([&] { parseCues(good + "pick.wav\ttone 440 1", "c"); }).startsWith("c:2: "));
    QVERIFY(errorOf([&] { parseCues(good + "a.wav", "c"); }).startsWith("c:2: "));
}

void DatagenTest::writeIfChangedKeepsUnchangedFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sub/folder/f.bin"));
    QCOMPARE(writeIfChanged(path, "abc"), WriteResult::Written);
    QCOMPARE(readBytes(path), QByteArray("abc"));

    const QDateTime past = QDateTime::currentDateTime().addDays(-3);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(past, QFileDevice::FileModificationTime));
    }
    QCOMPARE(writeIfChanged(path, "abc"), WriteResult::Unchanged);
    QVERIFY(qAbs(QFileInfo(path).lastModified().secsTo(past)) < 2);

    QCOMPARE(writeIfChanged(path, "abd"), WriteResult::Written);
    QCOMPARE(readBytes(path), QByteArray("abd"));
}

void DatagenTest::writeIfMissingNeverOverwrites()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("state.ini"));
    QVERIFY(writeIfMissing(path, "first"));
    QVERIFY(!writeIfMissing(path, "second"));
    QCOMPARE(readBytes(path), QByteArray("first"));
}

void DatagenTest::stateFilesAreRecognised()
{
    for (const char *path : {"jpg/2_17.jpg", "jpg/sv11.jpg", "jpg/sv10.jpg", "jpg/14_16.jpg",
                             "jpg/7_12.jpg", "net.ini", "JPG/2_17.JPG", "Net.ini"})
        QVERIFY2(isStateFile(QString::fromLatin1(path)), path);
    for (const char *path : {"jpg/14_15.jpg", "jpg/sv9.jpg", "htm/net.ini", "2_17.jpg"})
        QVERIFY2(!isStateFile(QString::fromLatin1(path)), path);
}

void DatagenTest::dataTreeConvertsContentAndKeepsState()
{
    QTemporaryDir source;
    QTemporaryDir out;
    writeBytes(source.filePath("data/htm/Глава 1.htm"), "Светофор\n");
    writeBytes(source.filePath("data/jpg/2_17.jpg"), "first\nvedok\n");
    writeBytes(source.filePath("data/net.ini"), "clear\n");
    writeBytes(source.filePath("data/.hidden"), "x");
    writeBytes(out.filePath("net.ini"), "kept by the program");

    Report first;
    convertDataTree(source.filePath("data"), out.path(), first);
    QVERIFY2(first.errors.isEmpty(), qPrintable(first.errors.join('\n')));
    QCOMPARE(readBytes(out.filePath("htm/Глава 1.htm")),
             QByteArray("\xD1\xE2\xE5\xF2\xEE\xF4\xEE\xF0\r\n"));
    QCOMPARE(readBytes(out.filePath("jpg/2_17.jpg")), QByteArray("first\r\nvedok\r\n"));
    QCOMPARE(readBytes(out.filePath("net.ini")), QByteArray("kept by the program"));
    QVERIFY(!QFileInfo::exists(out.filePath("jpg/sv11.jpg")));
    QVERIFY(!QFileInfo::exists(out.filePath(".hidden")));
    QCOMPARE(first.textFiles, 1);
    QCOMPARE(first.stateFilesWritten, 1);
    QCOMPARE(first.stateFilesKept, 1);
    QCOMPARE(first.written, 2);

    writeBytes(out.filePath("jpg/2_17.jpg"), "users changed by the program");
    Report second;
    convertDataTree(source.filePath("data"), out.path(), second);
    QCOMPARE(second.written, 0);
    QCOMPARE(second.unchanged, 1);
    QCOMPARE(second.stateFilesKept, 2);
    QCOMPARE(readBytes(out.filePath("jpg/2_17.jpg")), QByteArray("users changed by the program"));

    // A package keeps the first state apart: its data folder must hold content only.
    QTemporaryDir content;
    QTemporaryDir state;
    Report apart;
    convertDataTree(source.filePath("data"), content.path(), apart, state.path());
    QVERIFY(QFileInfo::exists(content.filePath("htm/Глава 1.htm")));
    QVERIFY(!QFileInfo::exists(content.filePath("net.ini")));
    QVERIFY(!QFileInfo::exists(content.filePath("jpg/2_17.jpg")));
    QCOMPARE(readBytes(state.filePath("net.ini")), QByteArray("clear\r\n"));
    QCOMPARE(readBytes(state.filePath("jpg/2_17.jpg")), QByteArray("first\r\nvedok\r\n"));
}

void DatagenTest::dataTreeReportsBadFileAndGoesOn()
{
    QTemporaryDir source;
    QTemporaryDir out;
    writeBytes(source.filePath("data/a.txt"), "ok\n");
    writeBytes(source.filePath("data/b.txt"), "ok\n≤ 5\n");
    writeBytes(source.filePath("data/c.txt"), "ok\n");
    Report report;
    convertDataTree(source.filePath("data"), out.path(), report);
    QCOMPARE(report.errors.size(), 1);
    QVERIFY2(report.errors[0].contains(QStringLiteral("b.txt:2: column 1")),
             qPrintable(report.errors[0]));
    QVERIFY(QFileInfo::exists(out.filePath("a.txt")));
    QVERIFY(QFileInfo::exists(out.filePath("c.txt")));
    QVERIFY(!QFileInfo::exists(out.filePath("b.txt")));
}

void DatagenTest::generateAllBuildsEveryKindOfOutput()
{
    QTemporaryDir repo;
    QTemporaryDir out;
    writeBytes(repo.filePath("data/soderjanie.txt"), "Раздел\n");
    writeBytes(repo.filePath("datagen/skins.txt"), "main\tread\tЧитать\t220x44\nid\tok\tВойти\n");
    writeBytes(repo.filePath("datagen/cues.txt"), "pick.wav\ttone 1400 0.1\n");
    writeBytes(repo.filePath("datagen/pictures/svetofor.txt"),
               "size 64 48\nbrush #FF0000\nellipse 32 24 10 10\n");

    const Report report = generateAll(repo.path(), {out.path(), {}, {}});
    QVERIFY2(report.errors.isEmpty(), qPrintable(report.errors.join('\n')));
    QCOMPARE(QImage(out.filePath("jpg/skin/main/read.bmp")).size(), QSize(220, 44));
    QCOMPARE(QImage(out.filePath("jpg/skin/main/read_move.bmp")).size(), QSize(220, 44));
    QCOMPARE(QImage(out.filePath("jpg/skin/id/ok.bmp")).size(), QSize(120, 36));
    QVERIFY(QFileInfo::exists(out.filePath("jpg/skin/id/ok_move.bmp")));
    QCOMPARE(QImage(out.filePath("jpg/main/3_1.jpg")).size(), QSize(360, 300));
    QCOMPARE(QImage(out.filePath("jpg/svetofor.jpg")).size(), QSize(64, 48));
    QCOMPARE(readBytes(out.filePath("wav/pick.wav")).size(), 44 + 2 * 4800);
    QCOMPARE(readBytes(out.filePath("soderjanie.txt")), QByteArray("\xD0\xE0\xE7\xE4\xE5\xEB\r\n"));
    QCOMPARE(report.skinBitmaps, 4);
    QCOMPARE(report.pictures, 2);
    QCOMPARE(report.cues, 1);

    // A second run changes nothing.
    const Report again = generateAll(repo.path(), {out.path(), {}, {}});
    QVERIFY2(again.errors.isEmpty(), qPrintable(again.errors.join('\n')));
    QCOMPARE(again.written, 0);
    QCOMPARE(again.unchanged, report.written);
}

void DatagenTest::repositorySkinsCoverEveryWindow()
{
    const QString path = QStringLiteral(TARVEL_SOURCE_DIR "/datagen/skins.txt");
    const QList<SkinDef> skins = parseSkins(readUtf8File(path), path);
    QSet<QString> listed;
    for (const SkinDef &skin : skins)
        listed.insert(skin.folder + u'/' + skin.name);
    const QStringList needed{"main/read",
                             "main/learn",
                             "main/kontrol",
                             "main/tests",
                             "main/test",
                             "main/dostig",
                             "main/admin",
                             "main/new",
                             "main/help",
                             "main/exit",
                             "id/ok",
                             "id/cancel",
                             "boss/change",
                             "boss/del",
                             "boss/clear",
                             "boss/accept",
                             "boss/cancel",
                             "boss/net",
                             "boss/setup",
                             "boss/return",
                             "sure/del",
                             "sure/cancel",
                             "testend/error",
                             "testend/return",
                             "dostig/return",
                             "fulltest/ok",
                             "fulltest/cancel",
                             "fulltest/return",
                             "tests/ok",
                             "tests/return",
                             "pause/return",
                             "soderj/select",
                             "soderj/zak",
                             "soderj/cancel",
                             "voportest/vopros",
                             "voportest/test",
                             "help/return"};
    for (const QString &button : needed)
        QVERIFY2(listed.contains(button), qPrintable(button));
    for (const SkinDef &skin : skins) {
        if (skin.folder == QLatin1String("main"))
            QCOMPARE(skin.size, QSize(220, 44));
    }
}

void DatagenTest::repositoryCuesAreCompleteAndShort()
{
    const QString path = QStringLiteral(TARVEL_SOURCE_DIR "/datagen/cues.txt");
    const QList<CueDef> cues = parseCues(readUtf8File(path), path);
    QStringList files;
    for (const CueDef &cue : cues) {
        files.append(cue.file);
        const double seconds = double(synthesize(cue).size()) / kSampleRate;
        QVERIFY2(seconds >= 0.1 && seconds <= 1.5, qPrintable(cue.file));
    }
    const QStringList needed{"vsem_spat.wav", "book.wav", "hihihih.wav",      "oou.wav",
                             "close.wav",     "pick.wav", "est_problemi.wav", "type.wav",
                             "dostig.wav",    "smeh.wav", "applaud.wav",      "hujeotet.wav",
                             "about.wav",     "aaa.wav",  "tuk-tuk.wav",      "thenx.wav"};
    for (const QString &file : needed)
        QVERIFY2(files.contains(file), qPrintable(file));
    // Every cue sounds different from every other.
    for (qsizetype i = 0; i < cues.size(); ++i) {
        for (qsizetype j = i + 1; j < cues.size(); ++j)
            QVERIFY(synthesize(cues[i]) != synthesize(cues[j]));
    }
}

// The SVG must be a well-formed document with one element per shape, or the desktop menu shows
// no icon at all.
void DatagenTest::repositoryIconIsScalableAndBitmap()
{
    QTemporaryDir icons;
    Report report;
    const QString path = QStringLiteral(TARVEL_SOURCE_DIR "/datagen/icon.txt");
    drawIcon(path, icons.path(), report);
    QVERIFY2(report.errors.isEmpty(), qPrintable(report.errors.join('\n')));
    const QImage png(icons.filePath("tarvel.png"));
    QCOMPARE(png.size(), QSize(256, 256));
    QCOMPARE(QColor(png.pixel(128, 102)), QColor(0x43, 0xA0, 0x47)); // the green light

    QXmlStreamReader svg(readBytes(icons.filePath("tarvel.svg")));
    QStringList elements;
    while (!svg.atEnd())
        if (svg.readNext() == QXmlStreamReader::StartElement)
            elements << svg.name().toString();
    QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
    const Drawing drawing = parseDrawing(readUtf8File(path), path);
    QCOMPARE(elements.size(), 2 + drawing.shapes.size()); // svg and the background, then shapes
    QCOMPARE(elements.first(), QStringLiteral("svg"));
    QCOMPARE(elements.count(QStringLiteral("ellipse")), 3);
}

QTEST_MAIN(DatagenTest)
#include "datagen_test.moc"
