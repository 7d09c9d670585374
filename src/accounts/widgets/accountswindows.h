#pragma once

namespace ui {
class WindowRegistry;
}

namespace accounts {

// The patient file window, the search menu and the manual search.
void registerWindows(ui::WindowRegistry &registry);

} // namespace accounts
