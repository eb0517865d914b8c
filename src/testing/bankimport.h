#pragma once

#include "testing/bankdocument.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Questions written outside the program, as a spreadsheet's CSV or as "Aiken" text.
namespace bankimport {

// A question of the file that was not taken, and why.
struct Refusal
{
    int line = 0; // where the question begins in the file
    QString reason;
};

struct Taken
{
    int line = 0;
    BankQuestion question;
};

struct Result
{
    QList<Taken> taken;
    QList<Refusal> refused;
};

// The text of an imported file: UTF-8 with or without a byte-order mark, else Windows-1251.
QString decode(const QByteArray &bytes);

// CSV: topic;question;answer1..answer5;right;picture, ";" or "," (the one the first line uses
// more), fields quoted with '"' and doubled quotes; a header line is skipped.
Result fromCsv(const QString &text);
// Aiken text: a question line, answers "A) …" to "E) …" (or "A." and Cyrillic "А)"–"Д)"),
// then "ANSWER: B" ("ОТВЕТ: Б"); questions apart by a blank line; "# topic" sets the topic.
Result fromAiken(const QString &text);
// The form is told by the file's name: ".csv" is CSV, anything else Aiken text.
Result fromFile(const QString &fileName, const QByteArray &bytes);

// Appends what the import took to the document; a question past the test's limit of questions
// is moved to the refusals.
void appendTo(BankDocument &document, Result &result, int limit);

// The bank's questions as CSV (UTF-8 with a byte-order mark, ";", CR LF), with a header line;
// fromCsv reads it back to the same records.
QByteArray toCsv(const BankDocument &document);

} // namespace bankimport
