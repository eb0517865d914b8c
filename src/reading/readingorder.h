#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// Paragraph titles with a fixed role in the course.
namespace paragraphs {
inline const QString First = QStringLiteral("1.1.Светофор (проверка зависимостей на станции)");
inline const QString Last =
    QStringLiteral("19.1.Перечень путевых работ ПЧ производство которых согласовывают с ШЧ");
inline const QString SingleLinePlan =
    QStringLiteral("15.1. Построение однониточного плана станции");
inline const QString DoubleLinePlan =
    QStringLiteral("16.1. Построение двухниточного плана станции");

// The plan-building pages have no question page.
bool hasNoQuestions(const QString &title);
} // namespace paragraphs

// The course pages in outline order: every line of soderjanie.txt but the course title,
// section, chapter and heading lines, trimmed. A title that is not a paragraph (a heading, the
// course title) still has a place: stepping from it reaches the paragraphs around it.
class ReadingOrder
{
public:
    static ReadingOrder fromLines(const QStringList &lines);
    static std::optional<ReadingOrder> load(const QString &outlinePath);

    static bool isHeadingLine(const QString &line);

    const QStringList &titles() const { return m_titles; }
    // The paragraph after / before the title, empty when there is none.
    QString next(const QString &title) const;
    QString previous(const QString &title) const;

private:
    // Index in m_titles of the first paragraph at or after the title, -1 when it is unknown.
    qsizetype positionOf(const QString &title, bool *isParagraph) const;

    QStringList m_titles;
    QHash<QString, qsizetype> m_headings; // heading -> index of the paragraph that follows it
};
