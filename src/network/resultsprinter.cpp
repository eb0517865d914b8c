#include "network/resultsprinter.h"

#include <QDateTime>
#include <QDir>
#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
bool paint(QPrinter &printer, const QStringList &lines)
{
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setColorMode(QPrinter::GrayScale);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The system's fixed-width font has Cyrillic everywhere; "Courier" lacks it on Windows.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    painter.setFont(font);
    const QFontMetrics metrics(painter.font());
    const int bottom = painter.viewport().height() - metrics.height();
    int y = metrics.ascent();
    for (const QString &line : lines) {
        if (y > bottom) {
            printer.newPage();
            y = metrics.ascent();
        }
        painter.drawText(0, y, line);
        y += metrics.lineSpacing();
    }
    return painter.end();
}
} // namespace

bool printToPdf(const QStringList &lines, const QString &pdfFile)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfFile);
    return paint(printer, lines);
}

PrintOutcome printLines(const QStringList &lines, const QString &pdfFolder)
{
    if (!QPrinterInfo::defaultPrinter().isNull()) {
        QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
        if (paint(printer, lines))
            return {true, QString()};
    }
    QDir().mkpath(pdfFolder);
    const QString file = QDir(pdfFolder).filePath(
        QStringLiteral("Результаты теста ") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")) +
        QStringLiteral(".pdf"));
    return {printToPdf(lines, file), file};
}
