#include "schedules/widgets/dailywindow.h"

#include "ui/widgets/commandtable.h"

#include "schedules/widgets/previewwindow.h"
#include "schedules/widgets/scheduleparts.h"
#include "ui/widgets/gridview.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace schedules {

DailyWindow::DailyWindow(ui::Services &services, QWidget *parent)
    : ui::TaskWindow(parent), m_s(services), m_ctl(services)
{
    setObjectName(QStringLiteral("frmDaily"));
    setWindowTitle(QStringLiteral("Daily Schedule Summary"));

    addScheduleCommands(m_commands, QString());
    m_commands.setRun(QStringLiteral("print"), [this] { print(); });
    m_commands.setRun(QStringLiteral("close"), [this] { m_ctl.close(); });
    m_table = new ui::CommandTable(m_commands, this);
    addPrintTool(this, *m_table);

    auto *central = new QWidget(this);
    auto *top = new QHBoxLayout;
    m_book = bookBox(central);
    m_book->setFocusPolicy(Qt::NoFocus);
    m_day = captionLabel(QStringLiteral("lblCalDay"), central);
    m_date = captionLabel(QStringLiteral("lblCalDate"), central);
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
    m_grid->setAccessibleName(windowTitle());
    m_grid->setObjectName(QStringLiteral("Grid1"));
    m_grid->setModel(&m_ctl.grid());

    setBody(this, central, top, m_grid, printCloseRow(central, *m_table));

    m_ctl.load(widthFactor());
    m_book->setText(m_ctl.bookName());
    m_day->setText(m_ctl.dayCaption());
    m_date->setText(m_ctl.dateCaption());

    // F11 prints wherever the focus is.
    m_table->bindKeys(this);
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

void DailyWindow::print()
{
    if (m_preview)
        return;
    m_ctl.print();
    m_preview =
        new PreviewWindow(SchedulePrint::Kind::Daily, m_ctl.grid(), m_s, QString(), m_ctl.widthFactor(), this);
    m_preview->show();
}

} // namespace schedules
