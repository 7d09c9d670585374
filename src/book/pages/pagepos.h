#pragma once

// Named positions of a day page grid (and of a template grid): the fixed
// rows above the data rectangle, the time column, and how grid positions
// map onto the stored page text.
namespace book::pos {

inline constexpr int NumberRow = 0;      // consultant numbers
inline constexpr int NameRow = 1;        // consultant names
inline constexpr int FreeRow = 2;        // the free row above the times: the data rectangle starts here
inline constexpr int FirstTimeRow = 3;
inline constexpr int TrailingFreeRows = 2;   // free rows after the last time row
inline constexpr int TimeCol = 0;
inline constexpr int FirstCol = 1;       // first consultant column

// Row of the last time row for a number of time rows.
inline constexpr int lastTimeRow(int timeRowCount) { return FirstTimeRow - 1 + timeRowCount; }
// Grid rows of a page with that many time rows.
inline constexpr int gridRows(int timeRowCount) { return lastTimeRow(timeRowCount) + 1 + TrailingFreeRows; }
// Rows of its data rectangle (free row, time rows, trailing free rows).
inline constexpr int dataRows(int timeRowCount) { return gridRows(timeRowCount) - FreeRow; }
// Index into the stored text of a grid row / column.
inline constexpr int textRow(int gridRow) { return gridRow - FreeRow; }
inline constexpr int textCol(int gridCol) { return gridCol - FirstCol; }
// Index into a colour list's column of a grid row (colours start at the
// first time row).
inline constexpr int colorRow(int gridRow) { return gridRow - FirstTimeRow; }

inline constexpr bool inData(int row, int col) { return row >= FreeRow && col >= FirstCol; }

} // namespace book::pos
