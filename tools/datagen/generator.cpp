#include "generator.h"

#include "cues.h"
#include "dataerror.h"
#include "drawing.h"
#include "manifest.h"
#include "outputfiles.h"
#include "scene.h"
#include "skins.h"
#include "textconvert.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kJpegQuality = 90;
constexpr int kIconSide = 256; // the largest bitmap size desktop menus ask for

void count(Report &report, WriteResult result)
{
    if (result == WriteResult::Written)
        ++report.written;
    else
        ++report.unchanged;
}

// Runs one step of one item; a DataError is recorded and the run goes on with the next item.
template <typename Step> void guarded(Report &report, Step step)
{
    try {
        step();
    } catch (const DataError &error) {
        report.errors.append(error.message);
    }
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw dataError(path, 0, QStringLiteral("cannot read: %1").arg(file.errorString()));
    return file.readAll();
}

// Relative paths of the files below a folder, sorted, '/'-separated.
QStringList filesBelow(const QString &dir)
{
    QStringList files;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(dir).relativeFilePath(it.next()));
    files.sort();
    return files;
}

void convertOne(const QString &dataDir, const QString &relative, const QString &outDir,
                const QString &stateDir, Report &report)
{
    const QString source = dataDir + u'/' + relative;
    if (isStateFile(relative)) {
        const QString target = (stateDir.isEmpty() ? outDir : stateDir) + u'/' + relative;
        if (QFileInfo::exists(target)) {
            ++report.stateFilesKept;
            return;
        }
        writeIfMissing(target, utf8ToWindows1251(readBytes(source), source));
        ++report.stateFilesWritten;
        ++report.written;
        return;
    }
    count(report,
          writeIfChanged(outDir + u'/' + relative, utf8ToWindows1251(readBytes(source), source)));
    ++report.textFiles;
}

void writeImage(const QString &path, const QImage &image, const char *format, int quality,
                Report &report)
{
    count(report, writeIfChanged(path, encodeImage(image, format, quality)));
}

} // namespace

bool isStateFile(const QString &relativePath)
{
    static const QStringList stateFiles{
        QStringLiteral("jpg/2_17.jpg"), QStringLiteral("jpg/sv11.jpg"),
        QStringLiteral("jpg/sv10.jpg"), QStringLiteral("jpg/14_16.jpg"),
        QStringLiteral("jpg/7_12.jpg"), QStringLiteral("net.ini"),
    };
    return stateFiles.contains(QDir::fromNativeSeparators(relativePath), Qt::CaseInsensitive);
}

void convertDataTree(const QString &dataDir, const QString &outDir, Report &report,
                     const QString &stateDir)
{
    if (!QFileInfo(dataDir).isDir()) {
        report.errors.append(dataError(dataDir, 0, QStringLiteral("no such folder")).message);
        return;
    }
    for (const QString &relative : filesBelow(dataDir))
        guarded(report, [&] { convertOne(dataDir, relative, outDir, stateDir, report); });
}

void drawSkins(const QString &manifestPath, const QString &outDir, Report &report)
{
    guarded(report, [&] {
        for (const SkinDef &skin : parseSkins(readUtf8File(manifestPath), manifestPath)) {
            const QString base =
                outDir + QStringLiteral("/jpg/skin/") + skin.folder + u'/' + skin.name;
            writeImage(base + QStringLiteral(".bmp"), drawButton(skin, false), "BMP", -1, report);
            writeImage(base + QStringLiteral("_move.bmp"), drawButton(skin, true), "BMP", -1,
                       report);
            report.skinBitmaps += 2;
        }
    });
}

void drawMainPicture(const QString &outDir, Report &report)
{
    guarded(report, [&] {
        writeImage(outDir + QStringLiteral("/jpg/main/3_1.jpg"), drawMainPicture(), "JPG",
                   kJpegQuality, report);
        ++report.pictures;
    });
}

void renderPictures(const QString &picturesDir, const QString &outDir, Report &report)
{
    const QStringList names =
        QDir(picturesDir).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        guarded(report, [&] {
            const QString source = picturesDir + u'/' + name;
            const Drawing drawing = parseDrawing(readUtf8File(source), source);
            const QString target = outDir + QStringLiteral("/jpg/") +
                                   QFileInfo(name).completeBaseName() + QStringLiteral(".jpg");
            writeImage(target, renderDrawing(drawing), "JPG", kJpegQuality, report);
            ++report.pictures;
        });
    }
}

void synthesizeCues(const QString &manifestPath, const QString &outDir, Report &report)
{
    guarded(report, [&] {
        for (const CueDef &cue : parseCues(readUtf8File(manifestPath), manifestPath)) {
            count(report, writeIfChanged(outDir + QStringLiteral("/wav/") + cue.file,
                                         wavFile(synthesize(cue))));
            ++report.cues;
        }
    });
}

void drawIcon(const QString &descriptionPath, const QString &iconDir, Report &report)
{
    guarded(report, [&] {
        const Drawing drawing = parseDrawing(readUtf8File(descriptionPath), descriptionPath);
        if (drawing.size != QSize(kIconSide, kIconSide))
            throw dataError(descriptionPath, 0,
                            QStringLiteral("the icon must be %1 by %1").arg(kIconSide));
        count(report,
              writeIfChanged(iconDir + QStringLiteral("/tarvel.svg"), drawingToSvg(drawing)));
        writeImage(iconDir + QStringLiteral("/tarvel.png"), renderDrawing(drawing), "PNG", -1,
                   report);
    });
}

Report generateAll(const QString &sourceDir, const OutputFolders &out)
{
    Report report;
    const QString manifests = sourceDir + QStringLiteral("/datagen");
    convertDataTree(sourceDir + QStringLiteral("/data"), out.data, report, out.state);
    drawSkins(manifests + QStringLiteral("/skins.txt"), out.data, report);
    drawMainPicture(out.data, report);
    renderPictures(manifests + QStringLiteral("/pictures"), out.data, report);
    synthesizeCues(manifests + QStringLiteral("/cues.txt"), out.data, report);
    if (!out.icons.isEmpty())
        drawIcon(manifests + QStringLiteral("/icon.txt"), out.icons, report);
    return report;
}

QString summary(const Report &report)
{
    return QStringLiteral("tarvel_datagen: %1 text files, %2 state files new (%3 kept), "
                          "%4 skin bitmaps, %5 pictures, %6 cues; %7 files written, %8 unchanged")
        .arg(report.textFiles)
        .arg(report.stateFilesWritten)
        .arg(report.stateFilesKept)
        .arg(report.skinBitmaps)
        .arg(report.pictures)
        .arg(report.cues)
        .arg(report.written)
        .arg(report.unchanged);
}
