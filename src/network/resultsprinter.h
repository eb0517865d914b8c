#pragma once

#include <QString>
#include <QStringList>

// Prints lines in a fixed-pitch font on the default printer; without a printer the page goes
// to a PDF file in `pdfFolder` instead.
struct PrintOutcome
{
    bool printed = false;
    QString pdfFile; // set when the page went to a PDF file
};

PrintOutcome printLines(const QStringList &lines, const QString &pdfFolder);
// The same page straight into a PDF file.
bool printToPdf(const QStringList &lines, const QString &pdfFile);
