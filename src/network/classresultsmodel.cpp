#include "network/classresultsmodel.h"

QString cellDescription(const QString &heading, int row)
{
    return QStringLiteral("%1, строка %2").arg(heading).arg(row + 1);
}

namespace {
const QStringList headings = {QStringLiteral("№"), QStringLiteral("Фамилия Имя"),
                              QStringLiteral("Оценка"), QStringLiteral("Правильных"),
                              QStringLiteral("Название теста")};
} // namespace

int ClassResultsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ClassResultsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ClassResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return headings.value(section);
    return {};
}

QVariant ClassResultsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return text(m_rows.at(index.row()), index.column());
    case Qt::AccessibleDescriptionRole:
        return cellDescription(headings.value(index.column()), index.row());
    default:
        return {};
    }
}

QString ClassResultsModel::text(const resultslog::csv::Row &row, int column) const
{
    switch (column) {
    case Number:
        return QString::number(row.number);
    case Name:
        return row.name;
    case Grade:
        return row.grade;
    case Right:
        return row.correct + QStringLiteral(" / ") + row.asked;
    case Test:
        return row.test;
    default:
        return {};
    }
}
