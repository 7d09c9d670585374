#pragma once

#include "ui/core/commandset.h"

namespace schedules {

// The daily and weekly schedules' commands: "print" (F11, the toolbar's
// Print and the Print button; the window opens the preview) and "close".
// `legend` is what the window says of F11 beside its buttons.
void addScheduleCommands(ui::CommandSet &set, const QString &legend);

inline const QString WeeklyPrintLegend = QStringLiteral("Press F11 or click button below to print:");

} // namespace schedules
