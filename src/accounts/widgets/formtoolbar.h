#pragma once

class QMainWindow;

namespace ui {
class CommandTable;
}

namespace accounts {

// The menu bar and the text-beside-icon toolbar of the client and invoice
// windows, built from their command tables.
void buildFormBars(QMainWindow *window, ui::CommandTable &commands);

} // namespace accounts
