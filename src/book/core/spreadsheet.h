#pragma once

namespace ui {
struct Services;
}

namespace book {

// Toolbar Info: the practice's spreadsheet Info.xls of the application
// folder, opened with the desktop's program for it; what went wrong is told
// in a message titled "Info".
void openSpreadsheet(ui::Services &services);

} // namespace book
