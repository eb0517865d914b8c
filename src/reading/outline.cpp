#include "reading/outline.h"

#include "core/textfile.h"
#include "reading/readingorder.h"

Outline Outline::fromLines(const QStringList &lines)
{
    Outline outline;
    if (lines.isEmpty())
        return outline;
    outline.courseTitle = lines.first();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.trimmed().isEmpty())
            continue;
        if (isSectionLine(line))
            outline.sections.append(Section{line, {}});
        else if (outline.sections.isEmpty())
            outline.rootItems.append(line);
        else
            outline.sections.last().items.append(line);
    }
    return outline;
}

std::optional<Outline> Outline::load(const QString &path)
{
    const std::optional<QStringList> lines = textfile::readLines(path);
    if (!lines)
        return std::nullopt;
    return fromLines(*lines);
}

bool Outline::isSectionLine(const QString &line)
{
    return line.startsWith(QStringLiteral("Раз"));
}

QString Outline::rootKey()
{
    return QStringLiteral("A");
}

QString Outline::sectionKey(int section)
{
    return QStringLiteral("R%1").arg(section);
}

QString Outline::itemKey(int section, int item)
{
    return QStringLiteral("P%1.%2").arg(section).arg(item);
}

bool Outline::isParagraphLine(const QString &line)
{
    return !ReadingOrder::isHeadingLine(line);
}

bool Outline::hasNoParagraph() const
{
    return firstParagraphFrom(0, 1).isEmpty();
}

// The first paragraph at item `item` of `section` or after it (section 0: the root's items).
QString Outline::firstParagraphFrom(int section, int item) const
{
    for (qsizetype n = section; n <= sections.size(); ++n) {
        const QStringList &items = n == 0 ? rootItems : sections.at(n - 1).items;
        for (qsizetype k = n == section ? item - 1 : 0; k < items.size(); ++k) {
            if (isParagraphLine(items.at(k)))
                return items.at(k);
        }
    }
    return QString();
}

QString Outline::resolve(const QString &key) const
{
    if (key == rootKey())
        return firstParagraphFrom(sections.isEmpty() ? 0 : 1, 1);
    bool ok = false;
    if (key.startsWith(u'R')) {
        const int section = key.mid(1).toInt(&ok);
        return ok && section >= 1 && section <= sections.size() ? firstParagraphFrom(section, 1)
                                                                : QString();
    }
    if (!key.startsWith(u'P'))
        return QString();
    const QStringList parts = key.mid(1).split(u'.');
    if (parts.size() != 2)
        return QString();
    bool itemOk = false;
    const int section = parts.at(0).toInt(&ok);
    const int item = parts.at(1).toInt(&itemOk);
    if (!ok || !itemOk || section < 0 || section > sections.size() || item < 1)
        return QString();
    const QStringList &items = section == 0 ? rootItems : sections.at(section - 1).items;
    return item <= items.size() ? firstParagraphFrom(section, item) : QString();
}
