#include "schedules/widgets/scheduleparts.h"

#include "ui/widgets/commandtable.h"
#include "ui/widgets/controls.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace schedules {

void addPrintTool(QMainWindow *window, ui::CommandTable &commands)
{
    auto *tools = ui::named(new QToolBar(window), QStringLiteral("tbToolBar"));
    tools->setMovable(false);
    commands.buildToolBar(tools, nullptr);
    window->addToolBar(tools);
}

QLineEdit *bookBox(QWidget *parent)
{
    auto *book = ui::named(new QLineEdit(parent), QStringLiteral("txtBook"));
    book->setAccessibleName(QStringLiteral("Book"));
    book->setReadOnly(true);
    book->setMaximumWidth(260);
    return book;
}

QLabel *captionLabel(const QString &name, QWidget *parent)
{
    auto *l = ui::named(new QLabel(parent), name);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    l->setFont(f);
    return l;
}

QHBoxLayout *printCloseRow(QWidget *parent, ui::CommandTable &commands)
{
    auto *buttons = new QHBoxLayout;
    QPushButton *printButton = commands.button(QStringLiteral("print"), parent);
    printButton->setObjectName(QStringLiteral("cmdPrint"));
    QPushButton *closeButton = commands.button(QStringLiteral("close"), parent);
    closeButton->setObjectName(QStringLiteral("cmdClosePrint"));
    buttons->addStretch(1);
    if (!commands.legend().isEmpty()) {
        QLabel *hint = commands.legendLabel(parent, QStringLiteral("lblPrint"));
        buttons->addWidget(hint);
    }
    buttons->addWidget(printButton);
    buttons->addWidget(closeButton);
    return buttons;
}

void setBody(QMainWindow *window, QWidget *central, QLayout *top, QWidget *grid, QLayout *buttons)
{
    auto *box = new QVBoxLayout(central);
    box->addLayout(top);
    box->addWidget(grid, 1);
    box->addLayout(buttons);
    window->setCentralWidget(central);
}

} // namespace schedules
