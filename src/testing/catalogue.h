#pragma once

#include <QString>
#include <QStringList>

struct SessionState;

// The test catalogue: after the line "start", 20 records of three lines (a note, the test name,
// the bank file). A missing file or a short catalogue fills what is there and leaves the
// other slots empty. Returns false when the file could not be read.
bool readTestCatalogue(SessionState &session, const QString &path);
void parseTestCatalogue(SessionState &session, const QStringList &lines);

// Slots 15-20 are left to the school's own topic tests.
constexpr int FirstFreeCatalogueSlot = 14;
// The first of them without a test, or -1.
int freeCatalogueSlot(const SessionState &session);
// Writes one slot of the catalogue (empty name and file free it); every other line stays as it
// was. False when the catalogue could not be read, has no "start" line or was not written.
bool writeCatalogueSlot(const QString &path, int slot, const QString &note, const QString &name,
                        const QString &file);

// The bank file of the first slot named testName; empty when there is none.
QString catalogueBankFor(const SessionState &session, const QString &testName);
// What the test choice says of a test: the course's description of its name, or the
// description the catalogue keeps with a school's own test (slots 15-20).
QString catalogueDescription(const SessionState &session, const QString &testName);
// Why no topic test can be chosen (the catalogue is missing or lists no test); empty when one
// can.
QString testCatalogueProblem(const SessionState &session);
