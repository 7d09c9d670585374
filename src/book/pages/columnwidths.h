#pragma once

#include <QString>
#include <vector>

// How wide the columns of a page grid are: the time column and the default
// consultant widths scaled by the width factor, then the widths stored in
// the settings' cwidth ("%"-terminated, from column 1), taken as stored.
// The book, the templates and the setup grid share this, so widths stored by
// a setup save are the ones the book showed before it.
namespace book::widths {

inline constexpr int TimeColumnWidth = 880;
// Default width in twips of each consultant column of a grid with this many
// columns (the time column included): 2: 7800, 3: 3850, 4: 2550, more: 1940.
int defaultColumnWidth(int gridColumns);

// The width of every column, the time column first. A missing or unreadable
// stored entry leaves that column at its default.
std::vector<int> columnWidths(int gridColumns, const QString &cwidth, double widthFactor);

// The cwidth form of the consultant columns' widths (column 1 onwards).
QString storedForm(const std::vector<int> &consultantWidths);

} // namespace book::widths
