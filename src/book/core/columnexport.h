#pragma once

#include <QString>

namespace ui {
class GridModel;
}

namespace book {

// The plain-text export of one consultant column of a day page, in CR LF
// lines: a heading with the date, the column's number and name, then each
// time row with its label, continuation lines of a cell indented by ten
// blanks so they stand under the text.
QString columnExportText(const ui::GridModel &grid, int col, const QString &dateCaption,
                         const QString &weekdayCaption);

} // namespace book
