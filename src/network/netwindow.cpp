#include "network/netwindow.h"

#include "core/windowhub.h"
#include "network/monitorwindow.h"
#include "ui/hovergroup.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

NetWindow::NetWindow(AppContext &context, const QString &objectName, const QString &caption)
    : SkinnedWindow(context, objectName, caption)
{
}

QPushButton *NetWindow::addButton(const QString &objectName, const QString &caption,
                                  const QString &hint)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(objectName);
    button->setAccessibleName(caption);
    button->setAutoDefault(false);
    hover()->addHint(button, hint);
    return button;
}

QTableView *NetWindow::addTable(const QString &objectName, QAbstractItemModel *model,
                                const QString &accessibleName, const QString &hint)
{
    auto *table = new QTableView(this);
    table->setObjectName(objectName);
    table->setModel(model);
    table->setAccessibleName(accessibleName);
    hover()->addHint(table, hint);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setWordWrap(false);
    table->setTextElideMode(Qt::ElideRight);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return table;
}

QLabel *NetWindow::addStatusBar()
{
    QLabel *status = addLabel(QStringLiteral("sbStatusBar"), QString());
    status->setFrameShape(QFrame::StyledPanel);
    status->setMinimumHeight(24);
    status->setAccessibleName(QStringLiteral("Строка состояния"));
    hover()->setStatusLine(status, QString());
    return status;
}

void NetWindow::showMonitor()
{
    if (QWidget *monitor = m_context.windows.find<MonitorWindow>())
        monitor->show();
}

void NetWindow::exec()
{
    execModal();
}
