#include "schedules/widgets/weeklywindow.h"

#include "ui/widgets/commandtable.h"

#include "schedules/widgets/previewwindow.h"
#include "schedules/widgets/scheduleparts.h"
#include "ui/widgets/gridview.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace schedules {

WeeklyWindow::WeeklyWindow(ui::Services &services, QWidget *parent)
    : ui::TaskWindow(parent), m_s(services), m_ctl(services)
{
    setObjectName(QStringLiteral("frmWeekly"));
    setWindowTitle(QStringLiteral("Weekly Schedule"));

    addScheduleCommands(m_commands, WeeklyPrintLegend);
    m_commands.setRun(QStringLiteral("print"), [this] { print(); });
    m_commands.setRun(QStringLiteral("close"), [this] {
        m_left = true;
        m_ctl.close();
    });
    m_table = new ui::CommandTable(m_commands, this);
    addPrintTool(this, *m_table);

    auto *central = new QWidget(this);
    auto *top = new QHBoxLayout;
    m_book = bookBox(central);
    m_consultant = captionLabel(QStringLiteral("lblCalDay"), central);
    m_date = new QLabel(central);
    m_date->setObjectName(QStringLiteral("lblCalDate"));
    m_date->hide();
    top->addWidget(m_book);
    top->addSpacing(16);
    top->addWidget(m_consultant);
    top->addWidget(m_date);
    top->addStretch(1);

    m_grid = new ui::GridView(central);
    m_grid->setAccessibleName(windowTitle());
    m_grid->setObjectName(QStringLiteral("Grid1"));
    m_grid->setModel(&m_ctl.grid());
    connect(m_grid, &ui::GridView::doubleClicked, this, [this](int, int) { jump(); });
    connect(m_grid, &ui::GridView::keyPressed, this, [this](QChar) { jump(); });

    setBody(this, central, top, m_grid, printCloseRow(central, *m_table));

    m_ctl.load(widthFactor());
    m_book->setText(m_ctl.bookName());
    m_consultant->setText(m_ctl.consultant());

    m_table->bindKeys(this);
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);
    resize(1000, 640);
}

void WeeklyWindow::showEvent(QShowEvent *e)
{
    ui::TaskWindow::showEvent(e);
    m_ctl.activate();
    m_grid->setFocus();
}

void WeeklyWindow::activated()
{
    m_ctl.activate();
}

bool WeeklyWindow::closeByUser()
{
    if (!m_left) {
        m_left = true;
        m_ctl.close();
    }
    return true;
}

bool WeeklyWindow::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(e);
        // The book-name box hands the focus to the grid on Enter or Tab.
        if (watched == m_book && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Tab)) {
            m_grid->setFocus();
            return true;
        }
    }
    return ui::TaskWindow::eventFilter(watched, e);
}

void WeeklyWindow::jump()
{
    if (m_left)
        return;
    m_left = true;
    const ui::GridModel &g = m_ctl.grid();
    m_ctl.jump(g.row(), g.col());
}

void WeeklyWindow::print()
{
    if (m_preview)
        return;
    m_preview = new PreviewWindow(SchedulePrint::Kind::Weekly, m_ctl.grid(), m_s, m_ctl.consultant(),
                                  m_ctl.widthFactor(), this);
    m_preview->show();
}

} // namespace schedules
