#pragma once

namespace ui {
class WindowRegistry;
}

namespace app {

// Adds the frame's windows: the splash, the main menu, help and readme.
void registerWindows(ui::WindowRegistry &registry);

// Gives every known window name that no subsystem registered a stand-in
// that says it is not available yet. Call it after all other registrations.
void registerUnavailableWindows(ui::WindowRegistry &registry);

} // namespace app
