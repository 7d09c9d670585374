#include "accounts/widgets/listwindow.h"

#include <QHeaderView>
#include <QTableView>

namespace accounts {

QTableView *listGrid(QWidget *parent, const QString &accessibleName, QAbstractItemModel *model, QObject *keys)
{
    auto *grid = new QTableView(parent);
    grid->setObjectName(QStringLiteral("dbgrid1"));
    grid->setAccessibleName(accessibleName);
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setAlternatingRowColors(true);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->installEventFilter(keys);
    return grid;
}

} // namespace accounts
