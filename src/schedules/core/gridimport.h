#pragma once

#include "schedules/core/clstableprint.h"
#include "ui/core/gridmodel.h"

namespace schedules {

// Fills a table from a grid: the grid's fixed rows become the header rows,
// the others the data rows, with texts, fonts, colours, pictures, widths and
// column merging. With fitWidth > 0 the columns are stretched or shrunk in
// proportion to add up to it (unless every column is collapsed: then they
// keep the grid's widths); otherwise they keep the grid's widths. The grid's
// first data row is painted pale cream, on screen too.
void LoadTableFromGrid(clsTablePrint &table, ui::GridModel &grid, double fitWidth);

// The shared font object for a grid cell's font: the one last handed out
// when it has the same six attributes, else a new one.
FontRef GetCellFont(const ui::GridModel &grid, int row, int col);

// Starts the font cache afresh with the default font (each import does).
void resetCellFontCache();

// The grid's alignment of a column as the table's code: 0 left, 1 centre,
// 2 right.
int tableAlignment(ui::CellAlign align);

} // namespace schedules
