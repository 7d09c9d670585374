#pragma once

#include "book/pages/pagepos.h"
#include "store/core/timetext.h"

#include <QString>
#include <QStringList>
#include <vector>

// The stored form of a day page (and of a weekday template): the cells of its
// data rectangle row by row, TAB between cells, CR between rows, a line break
// inside a cell as LF alone. And the time rows a page is laid out with.
namespace book::page {

inline constexpr QChar CellSep = QChar(9);
inline constexpr QChar RowSep = QChar(13);
inline constexpr QChar LineBreak = QChar(10);

using Cells = std::vector<QStringList>;   // [row][column]

QString encode(const Cells &cells);
Cells decode(const QString &text);
// The cell at a grid position (row >= FreeRow, column >= FirstCol) of
// decoded page cells; empty beyond the stored rectangle.
QString cellAt(const Cells &cells, int row, int col);
// Sets the cell at a grid position, growing the rectangle to reach it.
void setCellAt(Cells &cells, int row, int col, const QString &text);
// A page text of empty cells.
QString blank(int rows, int cols);

using store::formatTime;
using store::parseTime;

// The time rows of a page, in minutes after midnight: from the opening time
// in steps of the slot up to the first slot at or after the closing time.
std::vector<int> timeRows(int openMinutes, int closeMinutes, int slotMinutes);

// Rows of a page's data rectangle (the free row above, the time rows, two
// free rows below) for a number of time rows.
inline int dataRows(int timeRowCount) { return pos::dataRows(timeRowCount); }

inline constexpr int RowHeightPerLine = 250;

// The consultant names of a "%"-terminated list ("A%B%C%" -> A, B, C).
QStringList splitList(const QString &list);
QString joinList(const QStringList &items);

// A cell's text with TAB and CR made harmless (they would split the cell
// when the page is stored): TAB becomes a blank, CR LF and CR a line break.
// Other control characters (NUL and the like) are dropped: they cannot be
// typed on purpose and would hide what follows them from a search.
QString cleanCell(const QString &text);

} // namespace book::page
