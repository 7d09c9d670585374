#pragma once

#include "book/pages/pagepos.h"
#include "ui/core/colours.h"
#include "ui/core/gridmodel.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

namespace book {

struct PageRecord;

// Colours of the page grid (0xBBGGRR).
inline constexpr int DefaultCellColor = ui::colours::PaleYellow;
inline constexpr int DesktopColor = ui::colours::Desktop;   // closed days
inline constexpr int BlockSelectionColor = ui::colours::BlockSelection;
// A cell without a colour of its own (0: emptied by Cut, or beyond a short
// stored list) is not free: next available passes it over, so it shows grey,
// as the daily schedule prints it.
inline constexpr int NoColourShown = ui::colours::Grey;

// The shape of one day page: its own copy of the layout, taken from the
// settings when the page was created.
struct PageLayout {
    int columns = 2;              // grid columns, the time column included
    QStringList names;
    int open = 8 * 60;            // minutes after midnight
    int close = 17 * 60;
    int slot = 30;
    int rHeight = 1;              // text lines per slot (from the settings)
    std::vector<int> times;       // time of each time row, from the first time row

    int lastTimeRow() const { return pos::lastTimeRow(static_cast<int>(times.size())); }
    int rows() const { return pos::gridRows(static_cast<int>(times.size())); }
    int rowHeight() const;        // twips of a time row
};

PageLayout layoutOf(const PageRecord &page, int rHeight);

// Whether a grid position means the same time and consultant on both pages.
bool sameShape(const PageLayout &a, const PageLayout &b);
// Where a cell of page `from` lies on page `to`: the row of the same time
// (the free rows by their place above or below the times) in the column of
// the same consultant; nothing when `to` has no such row or column.
std::optional<std::pair<int, int>> samePlace(const PageLayout &from, const PageLayout &to, int row, int col);
PageLayout layoutOf(int listno, const QString &names, const QString &open, const QString &close,
                    int slot, int rHeight);

// SetupColumns: widths (book::widths::columnWidths), the number row and the
// name row, centred.
void setupColumns(ui::GridModel &grid, int columns, const QStringList &names, const QString &cwidth,
                  double widthFactor);
// SetupRows: the time labels from the first time row, the free rows after them.
void setupRows(ui::GridModel &grid, const PageLayout &layout);
// Pastes a page text into the data rectangle (from the free row and the first
// consultant column): cells
// beyond the rectangle are dropped, cells the text does not reach emptied.
void pasteText(ui::GridModel &grid, const QString &text);
// The data rectangle as page text.
QString rectText(const ui::GridModel &grid);
// Gives the time rows and the free rows below them of every consultant column their stored colours (or the
// default / closed-day colour when nothing is stored). On an open day a cell of colour 0 shows the grid's
// background, which becomes NoColourShown; the free row above the times keeps the default colour.
void applyColors(ui::GridModel &grid, const QString &stored, bool closed);
// Colours of those rows, column by column, as stored.
std::vector<int> gridColors(const ui::GridModel &grid);

} // namespace book
