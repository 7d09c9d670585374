#include "schedules/widgets/dailywindow.h"

#include "schedules/widgets/scheduleparts.h"
#include "ui/widgets/controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace schedules {

DailyWindow::DailyWindow(ui::Services &services, QWidget *parent)
    : ScheduleWindow(services, QStringLiteral("frmDaily"), QStringLiteral("Daily Schedule Summary"), QString(),
                     parent),
      m_ctl(services)
{
    m_commands.setRun(QStringLiteral("close"), [this] { m_ctl.close(); });

    auto *top = new QHBoxLayout;
    m_book->setFocusPolicy(Qt::NoFocus);
    m_day = captionLabel(QStringLiteral("lblCalDay"), m_central);
    m_date = captionLabel(QStringLiteral("lblCalDate"), m_central);
    auto *note = ui::named(new QLabel(DailyController::Note, m_central), QStringLiteral("Label1"));
    note->setWordWrap(true);
    top->addWidget(m_book);
    top->addSpacing(16);
    top->addWidget(m_day);
    top->addSpacing(8);
    top->addWidget(m_date);
    top->addSpacing(24);
    top->addWidget(note, 1);
    build(top, m_ctl.grid());

    m_ctl.load(widthFactor());
    m_book->setText(m_ctl.bookName());
    m_day->setText(m_ctl.dayCaption());
    m_date->setText(m_ctl.dateCaption());
}

void DailyWindow::activateSchedule()
{
    m_ctl.activate();
}

bool DailyWindow::closeByUser()
{
    m_ctl.close();
    return true;
}

PreviewWindow *DailyWindow::openPreview()
{
    m_ctl.print();
    return new PreviewWindow(SchedulePrint::Kind::Daily, m_ctl.grid(), m_s, QString(), m_ctl.widthFactor(), this);
}

} // namespace schedules
