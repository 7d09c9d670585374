#pragma once

namespace ui {
class WindowRegistry;
}

namespace schedules {

// Adds the daily and weekly schedule windows to the program's registry.
void registerWindows(ui::WindowRegistry &registry);

} // namespace schedules
