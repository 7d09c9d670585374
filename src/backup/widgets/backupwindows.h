#pragma once

namespace ui {
class WindowRegistry;
}

namespace backup {

// Adds the backup window to the program's registry.
void registerWindows(ui::WindowRegistry &registry);

} // namespace backup
