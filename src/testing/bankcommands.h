#pragma once

#include <QString>

class QTextStream;

// "--import FILE BANK": appends the questions of a CSV or Aiken file to the bank, creating it
// with the given name when it does not exist; prints what it took and why it refused any
// question. Returns 0 when every question was taken, 1 when some were refused, 2 when none was
// taken or the bank could not be read or written (the bank is then unchanged).
int importIntoBank(const QString &file, const QString &bankPath, const QString &newName,
                   QTextStream &out);

// "--export BANK FILE.csv": writes the bank's questions as CSV. Returns 0, or 2 when the bank
// could not be read or the table written.
int exportBank(const QString &bankPath, const QString &file, QTextStream &out);
