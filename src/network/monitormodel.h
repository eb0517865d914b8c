#pragma once

#include "network/monitorpages.h"
#include "network/pupilstatus.h"

#include <QAbstractTableModel>

class Classroom;
class PupilPoller;

// The monitor's table: one row per computer of the current page, with the pupil's last known
// state as the poller read it. Rows keep their place; a read computer changes its row only.
class MonitorModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Computer, Name, Progress, Right, Current, Grade, Answered, ColumnCount };
    // The progress column's bar; absent while the classroom is not configured.
    enum Role { MinimumRole = Qt::UserRole, MaximumRole, ValueRole };

    MonitorModel(const Classroom &classroom, const PupilPoller &poller, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    const MonitorPages &pages() const { return m_pages; }
    // The first page, drawn anew: the classroom changed.
    void showFirstPage();
    void turnPage(bool forward);
    // The computer's row, when it is on the page, shows what was read.
    void computerRead(int computer);
    // Every row again: the times since the last answers have moved on.
    void refresh();

private:
    bool isConfigured(int computer) const;
    PupilStatus statusOf(int computer) const;
    QString text(int computer, int column) const;
    QVariant progress(int computer, int role) const;

    const Classroom &m_classroom;
    const PupilPoller &m_poller;
    MonitorPages m_pages;
};
