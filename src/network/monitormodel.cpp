#include "network/monitormodel.h"

#include "network/classresultsmodel.h"
#include "network/classroom.h"
#include "network/pupilpoller.h"
#include "network/pupilstatus.h"

MonitorModel::MonitorModel(const Classroom &classroom, const PupilPoller &poller, QObject *parent)
    : QAbstractTableModel(parent), m_classroom(classroom), m_poller(poller), m_pages(classroom)
{
}

int MonitorModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_pages.rowsUsed();
}

int MonitorModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

namespace {
const QStringList headings = {QStringLiteral("Компьютер"),      QStringLiteral("Пользователь"),
                              QStringLiteral("Прогресс"),       QStringLiteral("Правильных"),
                              QStringLiteral("Текущий"),        QStringLiteral("Оценка"),
                              QStringLiteral("Последний ответ")};
} // namespace

QVariant MonitorModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return headings.value(section);
    return {};
}

QVariant MonitorModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int computer = m_pages.computerInRow(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return text(computer, index.column());
    case Qt::AccessibleTextRole:
        // An empty bar is no progress to read out: a computer without a pupil says nothing.
        if (index.column() == Progress && statusOf(computer).hasPupil())
            return QStringLiteral("%1 из %2")
                .arg(progress(computer, ValueRole).toInt())
                .arg(progress(computer, MaximumRole).toInt());
        return text(computer, index.column());
    case Qt::AccessibleDescriptionRole: // a cell read alone still says which it is
        return cellDescription(headings.value(index.column()), index.row());
    case MinimumRole:
    case MaximumRole:
    case ValueRole:
        return index.column() == Progress ? progress(computer, role) : QVariant();
    default:
        return {};
    }
}

bool MonitorModel::isConfigured(int computer) const
{
    return computer <= m_classroom.count() && !m_classroom.folder(computer).isEmpty();
}

PupilStatus MonitorModel::statusOf(int computer) const
{
    return isConfigured(computer) ? m_classroom.pupil(computer) : PupilStatus();
}

QString MonitorModel::text(int computer, int column) const
{
    const PupilStatus status = statusOf(computer);
    const pupilstatus::Row row = pupilstatus::row(computer, status);
    switch (column) {
    case Computer:
        return row.computer;
    case Name:
        return row.pupil;
    case Right:
        return row.right;
    case Current:
        return row.current;
    case Grade:
        return row.grade;
    case Answered:
        return isConfigured(computer) ? m_poller.live(computer).text(status, m_poller.now())
                                      : QString();
    default:
        return {};
    }
}

// Without a classroom no bar is drawn.
QVariant MonitorModel::progress(int computer, int role) const
{
    if (m_classroom.count() == 0)
        return {};
    const pupilstatus::Row row = pupilstatus::row(computer, statusOf(computer));
    switch (role) {
    case MinimumRole:
        return row.minimum;
    case MaximumRole:
        return row.maximum;
    default:
        return row.value;
    }
}

void MonitorModel::showFirstPage()
{
    beginResetModel();
    m_pages.reset();
    endResetModel();
}

void MonitorModel::turnPage(bool forward)
{
    beginResetModel();
    if (forward)
        m_pages.next();
    else
        m_pages.previous();
    endResetModel();
}

void MonitorModel::computerRead(int computer)
{
    const int row = computer - m_pages.computerInRow(0);
    if (row >= 0 && row < rowCount())
        Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void MonitorModel::refresh()
{
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}
