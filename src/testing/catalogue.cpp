#include "testing/catalogue.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/textfile.h"
#include "testing/results.h"

#include <QFileInfo>

void parseTestCatalogue(SessionState &session, const QStringList &lines)
{
    session.catalogue.names.fill(QString());
    session.catalogue.files.fill(QString());
    session.catalogue.notes.fill(QString());
    const qsizetype start = textfile::indexAfterStart(lines);
    if (start < 0)
        return;
    for (int slot = 0; slot < SessionState::CatalogueSlots; ++slot) {
        const qsizetype at = start + 3 * slot;
        session.catalogue.notes[slot] = lines.value(at).trimmed();
        session.catalogue.names[slot] = lines.value(at + 1).trimmed();
        session.catalogue.files[slot] = lines.value(at + 2).trimmed();
    }
}

bool readTestCatalogue(SessionState &session, const QString &path)
{
    const std::optional<QStringList> lines = textfile::readLines(path);
    parseTestCatalogue(session, lines.value_or(QStringList()));
    return lines.has_value();
}

int freeCatalogueSlot(const SessionState &session)
{
    for (int slot = FirstFreeCatalogueSlot; slot < SessionState::CatalogueSlots; ++slot) {
        if (session.catalogue.names.at(slot).isEmpty() &&
            session.catalogue.files.at(slot).isEmpty())
            return slot;
    }
    return -1;
}

bool writeCatalogueSlot(const QString &path, int slot, const QString &note, const QString &name,
                        const QString &file)
{
    std::optional<QStringList> lines = textfile::readLines(path);
    const qsizetype start = lines ? textfile::indexAfterStart(*lines) : -1;
    if (start < 0)
        return false;
    const qsizetype at = start + 3 * slot;
    while (lines->size() < at + 3)
        lines->append(QString());
    (*lines)[at] = note;
    (*lines)[at + 1] = name;
    (*lines)[at + 2] = file;
    return textfile::writeLines(path, *lines);
}

QString catalogueBankFor(const SessionState &session, const QString &testName)
{
    for (int k = 0; k < SessionState::CatalogueSlots; ++k) {
        if (session.catalogue.names.at(k) == testName)
            return session.catalogue.files.at(k);
    }
    return {};
}

QString catalogueDescription(const SessionState &session, const QString &testName)
{
    const QString description = testDescriptionForName(testName);
    if (!description.isEmpty())
        return description;
    for (int k = FirstFreeCatalogueSlot; k < SessionState::CatalogueSlots; ++k) {
        if (session.catalogue.names.at(k) != testName)
            continue;
        // The pause sentence follows it.
        const QString note = session.catalogue.notes.at(k);
        const bool ends =
            note.isEmpty() || note.endsWith(u'.') || note.endsWith(u'!') || note.endsWith(u'?');
        return ends ? note : note + u'.';
    }
    return {};
}

QString testCatalogueProblem(const SessionState &session)
{
    for (int k = 0; k < SessionState::CatalogueSlots; ++k) {
        if (!session.catalogue.names.at(k).isEmpty())
            return {};
    }
    if (!QFileInfo::exists(session.jpgPath(datafiles::TestCatalogueFile)))
        return QStringLiteral("Каталог тестов (файл data/jpg/%1) не найден, поэтому выбрать тест "
                              "нельзя. Сообщите об этом преподавателю.")
            .arg(datafiles::TestCatalogueFile);
    return QStringLiteral("В каталоге тестов (файл data/jpg/%1) нет ни одного теста, поэтому "
                          "выбрать тест нельзя. Сообщите об этом преподавателю.")
        .arg(datafiles::TestCatalogueFile);
}
