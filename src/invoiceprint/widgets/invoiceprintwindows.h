#pragma once

namespace ui {
class WindowRegistry;
}

namespace invoiceprint {

// Adds the four letterhead design windows and the preprinted-paper window
// to the program's registry.
void registerWindows(ui::WindowRegistry &registry);

} // namespace invoiceprint
