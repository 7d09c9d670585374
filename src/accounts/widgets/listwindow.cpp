#include "accounts/widgets/listwindow.h"

#include "ui/widgets/commandtable.h"
#include "ui/widgets/controls.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

namespace accounts {

QTableView *listGrid(QWidget *parent, const QString &accessibleName, QAbstractItemModel *model, QObject *keys)
{
    auto *grid = ui::named(new QTableView(parent), QStringLiteral("dbgrid1"));
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

std::vector<QPushButton *> addButtons(QBoxLayout *row, ui::CommandTable &table, const ui::CommandSet &set,
                                      QWidget *parent, QSize least)
{
    std::vector<QPushButton *> out;
    for (const ui::Command &c : set.commands()) {
        if (c.text.isEmpty())
            continue;
        QPushButton *b = table.button(c.id, parent);
        if (least.isValid())
            b->setMinimumSize(least);
        row->addWidget(b);
        out.push_back(b);
    }
    return out;
}

} // namespace accounts
