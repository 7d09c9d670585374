#pragma once

#include "ui/core/gridmodel.h"

#include <QString>
#include <vector>

namespace schedules {

// The daily summary's own column widths (DWidth): every column's width in
// twips, the time column first, each followed by "%".
//
// The widths of a grid of `columns` columns: the page grid's defaults scaled
// by the width factor, then entry i of the stored text for column i. A
// missing entry, one that is not a number, or one outside 0..32767 leaves its
// column at the default; 0 is a collapsed column.
std::vector<int> dailyWidths(int columns, const QString &dwidth, double widthFactor);

// The DWidth text of a grid's columns.
QString dwidthText(const ui::GridModel &grid);

} // namespace schedules
