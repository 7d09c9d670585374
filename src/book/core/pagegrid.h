#pragma once

#include "ui/core/gridmodel.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace book {

struct PageRecord;

// Colours of the page grid (0xBBGGRR).
inline constexpr int DefaultCellColor = ui::colours::PaleYellow;
inline constexpr int DesktopColor = ui::colours::Desktop;   // closed days
inline constexpr int BlockSelectionColor = ui::colours::BlockSelection;
inline constexpr int InactiveColor = ui::colours::Grey;

// The shape of one day page: its own copy of the layout, taken from the
// settings when the page was created.
struct PageLayout {
    int columns = 2;              // grid columns, the time column included
    QStringList names;
    int open = 8 * 60;            // minutes after midnight
    int close = 17 * 60;
    int slot = 30;
    int rHeight = 1;              // text lines per slot (from the settings)
    std::vector<int> times;       // time of each time row, from row 3

    int lastTimeRow() const { return 2 + static_cast<int>(times.size()); }
    int rows() const { return lastTimeRow() + 3; }
    int rowHeight() const;        // twips of a time row
};

PageLayout layoutOf(const PageRecord &page, int rHeight);
PageLayout layoutOf(int listno, const QString &names, const QString &open, const QString &close,
                    int slot, int rHeight);

// SetupColumns: widths (defaults by column count, then the stored widths),
// row 0 numbers and row 1 names, centred. The time column and the default
// widths are scaled by the width factor; stored widths are taken as stored.
// The book, the templates and the setup grid share this, so widths stored by
// a setup save are the ones the book showed before it.
void setupColumns(ui::GridModel &grid, int columns, const QStringList &names, const QString &cwidth,
                  double widthFactor);
// SetupRows: row 3 onwards the time labels, two free rows after them.
void setupRows(ui::GridModel &grid, const PageLayout &layout);
// Pastes a page text into the data rectangle (rows 2.., columns 1..): cells
// beyond the rectangle are dropped, cells the text does not reach emptied.
void pasteText(ui::GridModel &grid, const QString &text);
// The data rectangle as page text.
QString rectText(const ui::GridModel &grid);
// Gives rows 3..last of every consultant column their stored colours (or the
// default / closed-day colour when nothing is stored).
void applyColors(ui::GridModel &grid, const QString &stored, bool closed);
// Colours of rows 3..last, column by column, as stored.
std::vector<int> gridColors(const ui::GridModel &grid);

} // namespace book
