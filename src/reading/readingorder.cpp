#include "reading/readingorder.h"

#include "core/textfile.h"

bool paragraphs::hasNoQuestions(const QString &title)
{
    return title == SingleLinePlan || title == DoubleLinePlan;
}

bool ReadingOrder::isHeadingLine(const QString &line)
{
    return line.startsWith(QStringLiteral("Раз")) || line.startsWith(QStringLiteral("Гла")) ||
           line.startsWith(QStringLiteral("Эле"));
}

ReadingOrder ReadingOrder::fromLines(const QStringList &lines)
{
    ReadingOrder order;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString title = lines.at(i).trimmed();
        if (title.isEmpty())
            continue;
        if (i == 0 || isHeadingLine(lines.at(i)))
            order.m_headings.insert(title, order.m_titles.size());
        else
            order.m_titles.append(title);
    }
    return order;
}

std::optional<ReadingOrder> ReadingOrder::load(const QString &outlinePath)
{
    const std::optional<QStringList> lines = textfile::readLines(outlinePath);
    if (!lines)
        return std::nullopt;
    return fromLines(*lines);
}

qsizetype ReadingOrder::positionOf(const QString &title, bool *isParagraph) const
{
    const QString wanted = title.trimmed();
    const qsizetype index = m_titles.indexOf(wanted);
    *isParagraph = index >= 0;
    if (index >= 0)
        return index;
    return m_headings.value(wanted, -1);
}

QString ReadingOrder::next(const QString &title) const
{
    bool isParagraph = false;
    const qsizetype index = positionOf(title, &isParagraph);
    if (index < 0)
        return QString();
    const qsizetype target = isParagraph ? index + 1 : index;
    return target < m_titles.size() ? m_titles.at(target) : QString();
}

QString ReadingOrder::previous(const QString &title) const
{
    bool isParagraph = false;
    const qsizetype index = positionOf(title, &isParagraph);
    return index >= 1 ? m_titles.at(index - 1) : QString();
}
