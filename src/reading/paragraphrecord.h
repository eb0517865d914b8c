#pragma once

#include <QString>
#include <QStringList>

struct SessionState;

// A record of the paragraph description file (data/jpg/14_13.jpg): after a "start" line,
// three key/value pairs per paragraph: "name" title, "qstn" y/n, "test" bank file or "n".
struct ParagraphRecord
{
    enum class Lookup { Found, NotFound, Unusable };

    Lookup lookup = Lookup::NotFound;
    QString test; // the "test" value; empty when the record has no "test" pair

    static ParagraphRecord find(const QStringList &lines, const QString &paragraph);

    // A bank to offer: the record names a bank file rather than "n".
    bool hasTest() const;
};

// The bank files the paragraph tests name, each once, in file order.
QStringList paragraphTestBanks(const QStringList &lines);

// Looks the paragraph up. Unusable when the file is missing or has no "start" line.
ParagraphRecord readParagraphRecord(const SessionState &session, const QString &paragraph);
