#pragma once

#include "ui/core/gridmodel.h"

#include <QString>
#include <vector>

namespace schedules {

// The daily summary's own column widths (DWidth): every column's width in
// twips, the time column first, each followed by "%". They are stored as on
// the screen the layouts were designed for (the width factor taken out), so
// every station shows them in proportion to its screen and prints them alike.
//
// The widths of a grid of `columns` columns: the page grid's defaults, then
// entry i of the stored text for column i, all scaled by the width factor. A
// missing entry, one that is not a number, or one outside 0..32767 leaves its
// column at the default; 0 is a collapsed column.
std::vector<int> dailyWidths(int columns, const QString &dwidth, double widthFactor);

// The DWidth text of a grid's columns, shown widened by the width factor.
QString dwidthText(const ui::GridModel &grid, double widthFactor);

} // namespace schedules
