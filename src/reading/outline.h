#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The course outline of soderjanie.txt: the course title on line 1, then section lines
// ("Раз…") each followed by its items (chapters, headings and paragraph titles).
// Nothing in the outline is dropped: item lines before the first section belong to the root,
// and there is no limit on the number of sections or items. Blank lines are skipped.
class Outline
{
public:
    struct Section
    {
        QString title;
        QStringList items;
    };

    QString courseTitle;
    QStringList rootItems; // item lines before the first section
    QList<Section> sections;

    static Outline fromLines(const QStringList &lines);
    static std::optional<Outline> load(const QString &path);

    static bool isSectionLine(const QString &line);

    // Keys of the tree nodes: "A" for the root, "R<n>" for section n, "P<n>.<k>" for item k of
    // section n and "P0.<k>" for an item before the first section (all counted from 1).
    // The dot keeps every key unique.
    static QString rootKey();
    static QString sectionKey(int section);
    static QString itemKey(int section, int item);

    // The paragraph to open for a node: a paragraph itself; the root, a section, a chapter or
    // a heading the first paragraph that follows it in the outline. Empty when the key names
    // nothing that leads to a paragraph.
    QString resolve(const QString &key) const;

    // Chapter ("Гла…") and heading ("Эле…") items have no page of their own.
    static bool isParagraphLine(const QString &line);

    // Not a single paragraph to read (an empty file, a title alone, headings only).
    bool hasNoParagraph() const;

private:
    QString firstParagraphFrom(int section, int item) const;
};
