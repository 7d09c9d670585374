#pragma once

#include "schedules/core/dailycontroller.h"
#include "schedules/widgets/schedulewindow.h"

namespace schedules {

// frmDaily, "Daily Schedule Summary": the book's page in a grid of its own
// whose column widths the user fits to paper, and the way to its preview.
class DailyWindow : public ScheduleWindow {
    Q_OBJECT
public:
    explicit DailyWindow(ui::Services &services, QWidget *parent = nullptr);

    DailyController &controller() { return m_ctl; }

protected:
    bool closeByUser() override;
    void activateSchedule() override;
    PreviewWindow *openPreview() override;

private:
    DailyController m_ctl;
    QLabel *m_day, *m_date;
};

} // namespace schedules
