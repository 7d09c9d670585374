#pragma once

namespace ui {
class WindowRegistry;
}

namespace setup {

// Adds the setup subsystem's windows to the program's registry.
void registerWindows(ui::WindowRegistry &registry);

} // namespace setup
