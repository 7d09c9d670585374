#include "schedules/widgets/weeklywindow.h"

#include "schedules/widgets/scheduleparts.h"
#include "ui/widgets/gridview.h"
#include "ui/widgets/controls.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace schedules {

WeeklyWindow::WeeklyWindow(ui::Services &services, QWidget *parent)
    : ScheduleWindow(services, QStringLiteral("frmWeekly"), QStringLiteral("Weekly Schedule"), WeeklyPrintLegend,
                     parent),
      m_ctl(services)
{
    m_commands.setRun(QStringLiteral("close"), [this] {
        m_left = true;
        m_ctl.close();
    });

    auto *top = new QHBoxLayout;
    m_consultant = captionLabel(QStringLiteral("lblCalDay"), m_central);
    m_date = ui::named(new QLabel(m_central), QStringLiteral("lblCalDate"));
    m_date->hide();
    top->addWidget(m_book);
    top->addSpacing(16);
    top->addWidget(m_consultant);
    top->addWidget(m_date);
    top->addStretch(1);
    connect(m_grid, &ui::GridView::doubleClicked, this, [this](int, int) { jump(); });
    connect(m_grid, &ui::GridView::keyPressed, this, [this](QChar) { jump(); });
    build(top, m_ctl.grid());

    m_ctl.load(widthFactor());
    m_book->setText(m_ctl.bookName());
    m_consultant->setText(m_ctl.consultant());
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);
}

void WeeklyWindow::activateSchedule()
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
    return ScheduleWindow::eventFilter(watched, e);
}

void WeeklyWindow::jump()
{
    if (m_left)
        return;
    m_left = true;
    const ui::GridModel &g = m_ctl.grid();
    m_ctl.jump(g.row(), g.col());
}

PreviewWindow *WeeklyWindow::openPreview()
{
    return new PreviewWindow(SchedulePrint::Kind::Weekly, m_ctl.grid(), m_s, m_ctl.consultant(),
                             m_ctl.widthFactor(), this);
}

} // namespace schedules
