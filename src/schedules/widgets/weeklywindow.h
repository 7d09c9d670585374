#pragma once

#include "schedules/core/weeklycontroller.h"
#include "schedules/widgets/schedulewindow.h"

namespace schedules {

// frmWeekly, "Weekly Schedule": one consultant's week side by side; a double
// click or a key on a cell goes into the book at that cell.
class WeeklyWindow : public ScheduleWindow {
    Q_OBJECT
public:
    explicit WeeklyWindow(ui::Services &services, QWidget *parent = nullptr);

    WeeklyController &controller() { return m_ctl; }

protected:
    bool closeByUser() override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void activateSchedule() override;
    PreviewWindow *openPreview() override;

private:
    void jump();

    WeeklyController m_ctl;
    QLabel *m_consultant, *m_date;
    bool m_left = false;
};

} // namespace schedules
