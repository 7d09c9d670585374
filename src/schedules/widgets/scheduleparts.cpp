#include "schedules/widgets/scheduleparts.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace schedules {

void addPrintTool(QMainWindow *window, const std::function<void()> &print)
{
    auto *tools = new QToolBar(window);
    tools->setObjectName(QStringLiteral("tbToolBar"));
    tools->setMovable(false);
    QAction *printTool = tools->addAction(QStringLiteral("Print"));
    printTool->setToolTip(QStringLiteral("Print (F11)"));
    QObject::connect(printTool, &QAction::triggered, window, print);
    window->addToolBar(tools);
}

QLineEdit *bookBox(QWidget *parent)
{
    auto *book = new QLineEdit(parent);
    book->setObjectName(QStringLiteral("txtBook"));
    book->setAccessibleName(QStringLiteral("Book"));
    book->setReadOnly(true);
    book->setMaximumWidth(260);
    return book;
}

QLabel *captionLabel(const QString &name, QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    l->setFont(f);
    return l;
}

QHBoxLayout *printCloseRow(QWidget *parent, QLabel *hint, const std::function<void()> &print,
                           const std::function<void()> &close)
{
    auto *buttons = new QHBoxLayout;
    auto *printButton = new QPushButton(QStringLiteral("Print"), parent);
    printButton->setObjectName(QStringLiteral("cmdPrint"));
    auto *closeButton = new QPushButton(QStringLiteral("Close"), parent);
    closeButton->setObjectName(QStringLiteral("cmdClosePrint"));
    QObject::connect(printButton, &QPushButton::clicked, parent, print);
    QObject::connect(closeButton, &QPushButton::clicked, parent, close);
    buttons->addStretch(1);
    if (hint)
        buttons->addWidget(hint);
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
