#include "schedules/widgets/schedulewindows.h"

#include "schedules/widgets/dailywindow.h"
#include "schedules/widgets/weeklywindow.h"
#include "ui/core/windows.h"
#include "ui/widgets/windowregistry.h"

namespace schedules {

void registerWindows(ui::WindowRegistry &registry)
{
    registry.add(ui::win::DailySchedule, [](ui::Services &s) { return new DailyWindow(s); });
    registry.add(ui::win::WeeklySchedule, [](ui::Services &s) { return new WeeklyWindow(s); });
}

} // namespace schedules
