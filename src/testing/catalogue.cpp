#include "testing/catalogue.h"

#include "app/sessionstate.h"
#include "app/textfile.h"

void parseTestCatalogue(SessionState &session, const QStringList &lines)
{
    session.TestCatalogueNames.fill(QString());
    session.TestCatalogueFiles.fill(QString());
    const qsizetype start = textfile::indexAfterStart(lines);
    if (start < 0)
        return;
    for (int slot = 0; slot < SessionState::CatalogueSlots; ++slot) {
        const qsizetype at = start + 3 * slot;
        session.TestCatalogueNames[slot] = lines.value(at + 1).trimmed();
        session.TestCatalogueFiles[slot] = lines.value(at + 2).trimmed();
    }
}

bool ReadTestCatalogue(SessionState &session, const QString &path)
{
    const std::optional<QStringList> lines = textfile::readLines(path);
    parseTestCatalogue(session, lines.value_or(QStringList()));
    return lines.has_value();
}
