#include "schedules/widgets/dailywindow.h"

#include "schedules/widgets/previewwindow.h"
#include "ui/widgets/gridview.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace schedules {

namespace {
QLabel *boldLabel(const QString &name, QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    l->setFont(f);
    return l;
}
} // namespace

DailyWindow::DailyWindow(ui::Services &services, QWidget *parent)
    : ui::TaskWindow(parent), m_s(services), m_ctl(services)
{
    setObjectName(QStringLiteral("frmDaily"));
    setWindowTitle(QStringLiteral("Daily Schedule Summary"));

    auto *tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("tbToolBar"));
    tools->setMovable(false);
    QAction *printTool = tools->addAction(QStringLiteral("Print"));
    printTool->setToolTip(QStringLiteral("Print (F11)"));
    connect(printTool, &QAction::triggered, this, [this] { print(); });
    addToolBar(tools);

    auto *central = new QWidget(this);
    auto *top = new QHBoxLayout;
    m_book = new QLineEdit(central);
    m_book->setObjectName(QStringLiteral("txtBook"));
    m_book->setReadOnly(true);
    m_book->setFocusPolicy(Qt::NoFocus);
    m_book->setMaximumWidth(260);
    m_day = boldLabel(QStringLiteral("lblCalDay"), central);
    m_date = boldLabel(QStringLiteral("lblCalDate"), central);
    auto *note = new QLabel(DailyController::Note, central);
    note->setObjectName(QStringLiteral("Label1"));
    note->setWordWrap(true);
    top->addWidget(m_book);
    top->addSpacing(16);
    top->addWidget(m_day);
    top->addSpacing(8);
    top->addWidget(m_date);
    top->addSpacing(24);
    top->addWidget(note, 1);

    m_grid = new ui::GridView(central);
    m_grid->setObjectName(QStringLiteral("Grid1"));
    m_grid->setModel(&m_ctl.grid());

    auto *buttons = new QHBoxLayout;
    auto *printButton = new QPushButton(QStringLiteral("Print"), central);
    printButton->setObjectName(QStringLiteral("cmdPrint"));
    auto *closeButton = new QPushButton(QStringLiteral("Close"), central);
    closeButton->setObjectName(QStringLiteral("cmdClosePrint"));
    connect(printButton, &QPushButton::clicked, this, [this] { print(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { m_ctl.close(); });
    buttons->addStretch(1);
    buttons->addWidget(printButton);
    buttons->addWidget(closeButton);

    auto *box = new QVBoxLayout(central);
    box->addLayout(top);
    box->addWidget(m_grid, 1);
    box->addLayout(buttons);
    setCentralWidget(central);

    m_ctl.load(widthFactor());
    m_book->setText(m_ctl.bookName());
    m_day->setText(m_ctl.dayCaption());
    m_date->setText(m_ctl.dateCaption());

    // F11 prints wherever the focus is.
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);
    resize(1000, 640);
}

void DailyWindow::showEvent(QShowEvent *e)
{
    ui::TaskWindow::showEvent(e);
    m_ctl.activate();
    m_grid->setFocus();
}

void DailyWindow::activated()
{
    m_ctl.activate();
}

bool DailyWindow::closeByUser()
{
    m_ctl.close();
    return true;
}

bool DailyWindow::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(e)->key() == Qt::Key_F11) {
        print();
        return true;
    }
    return ui::TaskWindow::eventFilter(watched, e);
}

void DailyWindow::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_F11) {
        print();
        return;
    }
    ui::TaskWindow::keyPressEvent(e);
}

void DailyWindow::print()
{
    if (m_preview)
        return;
    m_ctl.print();
    m_preview = new PreviewWindow(SchedulePrint::Kind::Daily, m_ctl.grid(), m_s, QString(), this);
    m_preview->show();
}

} // namespace schedules
