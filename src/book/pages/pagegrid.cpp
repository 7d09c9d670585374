#include "book/pages/pagegrid.h"

#include "book/pages/columnwidths.h"
#include "book/pages/pagestore.h"
#include "book/pages/pagetext.h"

#include <algorithm>

namespace book {

using namespace pos;

int PageLayout::rowHeight() const
{
    return std::max(rHeight, 1) * page::RowHeightPerLine;
}

PageLayout layoutOf(int listno, const QString &names, const QString &open, const QString &close,
                    int slot, int rHeight)
{
    PageLayout l;
    l.columns = std::max(listno, 0) + 1;
    l.names = page::splitList(names);
    l.open = page::parseTime(open).value_or(8 * 60);
    l.close = page::parseTime(close).value_or(17 * 60);
    l.slot = slot;
    l.rHeight = rHeight;
    l.times = page::timeRows(l.open, l.close, slot);
    return l;
}

PageLayout layoutOf(const PageRecord &p, int rHeight)
{
    return layoutOf(p.listno, p.names, p.open, p.close, p.timeslot, rHeight);
}

bool sameShape(const PageLayout &a, const PageLayout &b)
{
    return a.times == b.times && a.columns == b.columns && a.names == b.names;
}

std::optional<std::pair<int, int>> samePlace(const PageLayout &from, const PageLayout &to, int row, int col)
{
    if (row < FreeRow || row >= from.rows() || col < FirstCol || col >= from.columns)
        return std::nullopt;
    int r = row;
    if (row > from.lastTimeRow()) {
        r = to.lastTimeRow() + (row - from.lastTimeRow());
    } else if (row >= FirstTimeRow) {
        const auto it = std::find(to.times.begin(), to.times.end(), from.times[static_cast<size_t>(row - FirstTimeRow)]);
        if (it == to.times.end())
            return std::nullopt;
        r = FirstTimeRow + static_cast<int>(it - to.times.begin());
    }
    // A consultant keeps their column by name; unnamed columns by number.
    int c = col;
    const QString name = textCol(col) < from.names.size() ? from.names[textCol(col)].trimmed() : QString();
    if (!name.isEmpty()) {
        c = 0;
        for (int i = 0; i < to.names.size() && FirstCol + i < to.columns; ++i)
            if (to.names[i].trimmed() == name) {
                c = FirstCol + i;
                break;
            }
        if (c == 0)
            return std::nullopt;
    } else if (col >= to.columns) {
        return std::nullopt;
    }
    return std::make_pair(r, c);
}

void setupColumns(ui::GridModel &grid, int columns, const QStringList &names, const QString &cwidth,
                  double widthFactor)
{
    const std::vector<int> w = widths::columnWidths(columns, cwidth, widthFactor);
    grid.beginUpdate();
    grid.setColWidth(TimeCol, w[TimeCol]);
    grid.setCols(columns);
    for (int c = FirstCol; c < columns; ++c)
        grid.setColWidth(c, w[static_cast<size_t>(c)]);
    for (int c = FirstCol; c < columns; ++c) {
        grid.setTextMatrix(NumberRow, c, QString::number(c));
        grid.setCellAlign(NumberRow, c, ui::CellAlign::Center);
        if (grid.rows() > NameRow) {
            if (textCol(c) < names.size())
                grid.setTextMatrix(NameRow, c, names[textCol(c)]);
            grid.setCellAlign(NameRow, c, ui::CellAlign::Center);
        }
    }
    grid.endUpdate();
}

void setupRows(ui::GridModel &grid, const PageLayout &layout)
{
    grid.beginUpdate();
    grid.setRows(layout.rows());
    const int h = layout.rowHeight();
    for (int i = 0; i < static_cast<int>(layout.times.size()); ++i) {
        const int r = FirstTimeRow + i;
        grid.setTextMatrix(r, TimeCol, page::formatTime(layout.times[static_cast<size_t>(i)]));
        grid.setCellAlign(r, TimeCol, ui::CellAlign::Center);
        grid.setRowHeight(r, h);
    }
    for (int r = layout.lastTimeRow() + 1; r < layout.rows(); ++r)
        grid.setTextMatrix(r, TimeCol, QString());
    grid.endUpdate();
}

void pasteText(ui::GridModel &grid, const QString &text)
{
    if (grid.rows() <= FreeRow || grid.cols() <= FirstCol)
        return;
    grid.beginUpdate();
    // The selection (a marked range) stays as it was, so that a refresh
    // never hides the block the next command acts on.
    const int row = grid.row(), col = grid.col(), rowSel = grid.rowSel(), colSel = grid.colSel();
    grid.select(FreeRow, FirstCol, grid.rows() - 1, grid.cols() - 1);
    // The clip form pastes row by row; a page text has exactly that form.
    grid.setClip(text);
    grid.select(row, col, rowSel, colSel);
    grid.endUpdate();
}

QString rectText(const ui::GridModel &grid)
{
    page::Cells cells;
    for (int r = FreeRow; r < grid.rows(); ++r) {
        QStringList row;
        for (int c = FirstCol; c < grid.cols(); ++c)
            row << grid.textMatrix(r, c);
        cells.push_back(row);
    }
    return page::encode(cells);
}

void applyColors(ui::GridModel &grid, const QString &stored, bool closed)
{
    grid.beginUpdate();
    if (!closed) {
        grid.setBackColor(NoColourShown);
        for (int c = FirstCol; c < grid.cols() && FreeRow < grid.rows(); ++c)
            grid.setCellColor(FreeRow, c, DefaultCellColor);
    }
    const std::vector<int> values = decodeColors(stored);
    size_t k = 0;
    for (int c = FirstCol; c < grid.cols(); ++c)
        for (int r = FirstTimeRow; r < grid.rows(); ++r, ++k) {
            if (values.empty())
                grid.setCellColor(r, c, closed ? DesktopColor : DefaultCellColor);
            else
                grid.setCellColor(r, c, k < values.size() ? values[k] : 0);
        }
    grid.endUpdate();
}

std::vector<int> gridColors(const ui::GridModel &grid)
{
    std::vector<int> out;
    for (int c = FirstCol; c < grid.cols(); ++c)
        for (int r = FirstTimeRow; r < grid.rows(); ++r)
            out.push_back(grid.cellColor(r, c));
    return out;
}

} // namespace book
