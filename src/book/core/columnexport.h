#pragma once

#include <QString>

namespace ui {
class GridModel;
struct Services;
}

namespace book {

// The plain-text export of one consultant column of a day page, in CR LF
// lines: a heading with the date, the column's number and name, then each
// time row with its label, continuation lines of a cell indented by ten
// blanks so they stand under the text.
QString columnExportText(const ui::GridModel &grid, int col, const QString &dateCaption,
                         const QString &weekdayCaption);

class PageSession;

// The grid's "Export to text file": the column of the current cell of the
// page on display, delivered as a text report.
void exportColumn(ui::Services &services, const PageSession &session);

} // namespace book
