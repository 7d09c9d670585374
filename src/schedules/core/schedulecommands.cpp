#include "schedules/core/schedulecommands.h"

namespace schedules {

void addScheduleCommands(ui::CommandSet &set, const QString &legend)
{
    set.add({.id = QStringLiteral("print"), .text = QStringLiteral("Print"), .functionKey = Qt::Key_F11,
             .tool = QStringLiteral("Print"), .toolTip = QStringLiteral("Print (F11)"), .legend = legend});
    set.add({.id = QStringLiteral("close"), .text = QStringLiteral("Close")});
}

} // namespace schedules
