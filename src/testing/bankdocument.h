#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// Something a bank author should mend, found while loading.
struct BankProblem
{
    int question = 0;   // number of the question (record) it concerns, 0 for the whole file
    int line = 0;       // line of the file, 0 when no single line is at fault
    QString text;       // what is wrong, in plain Russian
    bool fatal = false; // the bank cannot be played

    // "вопрос 3, строка 27: …"
    QString describe() const;
};

// One record of a bank as its file holds it.
struct BankQuestion
{
    QString topic;
    QString question;
    std::array<QString, 5> answers; // the marker ("1" right, "0" wrong), then the text
    QString good;                   // the "good" value as written; empty when the record has none
    QString picture;                // name in data/jpg without ".jpg", or empty
    int line = 0;                   // first line of the record in the file; 0 for a new one

    // A record with the answer at `right` (1..5) marked right and named by "good".
    static BankQuestion withAnswers(const QString &topic, const QString &question,
                                    const std::array<QString, 5> &texts, int right,
                                    const QString &picture);
    // The answer played as right: the one marked "1" when exactly one is, otherwise "good";
    // 0 when neither names one.
    int rightAnswer() const;
    QString answerText(int k) const { return answers[k].mid(1); }
};

// A bank file as written: everything the test reads from it and what it keeps for its author,
// so that writing an unchanged document gives back the file's bytes.
struct BankDocument
{
    QStringList preamble; // the lines up to and including "start"
    QString name;
    QString time;                  // as written; empty when the file has no "time"
    QList<BankQuestion> questions; // every record closed by "ris", in file order
    QStringList trailer;           // the lines after "end"
    bool lineBreakAtEnd = true;

    // A new bank of that name, with no questions.
    static BankDocument named(const QString &name);
};

// The one reader of the bank format: reads the key/value pairs after "start" record by record
// and notes what it finds wrong, in file order. A record cut off before its closing "ris" is
// left out. Returns false when there is no "start" line.
bool readBankDocument(const QStringList &lines, BankDocument &document,
                      QList<BankProblem> &problems);
// The same for the bytes of a bank file (Windows-1251).
bool readBankDocument(const QByteArray &bytes, BankDocument &document,
                      QList<BankProblem> &problems);

// A whole number as the bank writes it ("time", "good"); nothing when the text is not one or
// leaves 16 bits.
std::optional<qint16> bankNumber(const QString &text);

// The one writer: the file's lines (Windows-1251, CR LF), keys in the order the guide gives.
QByteArray bankBytes(const BankDocument &document);

// A bank file as read from the disk.
struct BankFileRead
{
    enum class Status { Read, Missing, Unreadable };
    Status status = Status::Missing;
    QString failure; // why it was not read ("файл не найден", "нет строки «start»…")
    QByteArray bytes; // as read, for the backup a save keeps
    BankDocument document;
    QList<BankProblem> problems;
    // Writing the document gives back the file: nothing of it would be lost by saving.
    bool writesBackTheSame = false;

    bool isRead() const { return status == Status::Read; }
};
BankFileRead readBankFile(const QString &path);

// The backup kept beside a bank that is saved over: "T01_96.jpg" gives "T01_96.jpg.bak".
QString bankBackupPath(const QString &path);
// Writes the bank by safe replacement, first keeping the bytes it replaces in the backup;
// false when either write failed (the bank is then as it was).
bool saveBankFile(const QString &path, const BankDocument &document, const QByteArray &previous);
