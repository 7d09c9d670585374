#pragma once

namespace ui {
class WindowRegistry;
}

namespace setup {

// Adds the weekday template window (frmConfigure) to the program's registry.
void registerTemplateWindow(ui::WindowRegistry &registry);

} // namespace setup
