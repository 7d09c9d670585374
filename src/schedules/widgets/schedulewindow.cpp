#include "schedules/widgets/schedulewindow.h"

#include "ui/widgets/commandtable.h"

#include "schedules/widgets/scheduleparts.h"
#include "ui/widgets/gridview.h"

#include <QHBoxLayout>

namespace schedules {

ScheduleWindow::ScheduleWindow(ui::Services &services, const QString &name, const QString &title,
                               const QString &legend, QWidget *parent)
    : ui::TaskWindow(parent), m_s(services)
{
    setObjectName(name);
    setWindowTitle(title);

    addScheduleCommands(m_commands, legend);
    m_commands.setRun(QStringLiteral("print"), [this] { print(); });
    m_table = new ui::CommandTable(m_commands, this);
    addPrintTool(this, *m_table);

    m_central = new QWidget(this);
    m_book = bookBox(m_central);
    m_grid = new ui::GridView(m_central);
    m_grid->setAccessibleName(windowTitle());
    m_grid->setObjectName(QStringLiteral("Grid1"));
}

void ScheduleWindow::build(QHBoxLayout *top, ui::GridModel &model)
{
    m_grid->setModel(&model);
    setBody(this, m_central, top, m_grid, printCloseRow(m_central, *m_table));
    m_table->bindKeys(this);
    resize(1000, 640);
}

void ScheduleWindow::showEvent(QShowEvent *e)
{
    ui::TaskWindow::showEvent(e);
    activateSchedule();
    m_grid->setFocus();
}

void ScheduleWindow::activated()
{
    activateSchedule();
}

void ScheduleWindow::print()
{
    if (m_preview)
        return;
    m_preview = openPreview();
    m_preview->show();
}

} // namespace schedules
