#pragma once

namespace ui {
class WindowRegistry;
}

namespace book {

// Adds the appointment book's windows to the program's registry.
void registerWindows(ui::WindowRegistry &registry);

} // namespace book
