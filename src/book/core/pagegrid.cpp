#include "book/core/pagegrid.h"

#include "book/core/pagestore.h"
#include "store/core/pagetext.h"

#include <cmath>
#include <limits>

namespace book {

namespace page = store::page;

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

double widthFactor(int screenWidthPixels, double dpi)
{
    return screenWidthPixels * 1440.0 / (dpi > 0 ? dpi : 96.0) / DesignWidthTwips;
}

void setupColumns(ui::GridModel &grid, int columns, const QStringList &names, const QString &cwidth,
                  double widthFactor)
{
    grid.beginUpdate();
    grid.setColWidth(0, static_cast<int>(std::lround(page::TimeColumnWidth * widthFactor)));
    grid.setCols(columns);
    const int def = static_cast<int>(std::lround(page::defaultColumnWidth(columns) * widthFactor));
    for (int c = 1; c < columns; ++c)
        grid.setColWidth(c, def);
    // Stored widths override the defaults column by column; a missing or
    // unreadable entry (or one that rounds to no twips or past any int,
    // which would hide the column) leaves that column at its default.
    const QStringList widths = cwidth.split(QLatin1Char('%'));
    for (int c = 1; c < columns && c - 1 < widths.size(); ++c) {
        bool ok = false;
        const double w = widths[c - 1].trimmed().toDouble(&ok);
        if (ok && w >= 0.5 && w <= std::numeric_limits<int>::max())
            grid.setColWidth(c, static_cast<int>(std::lround(w)));
    }
    for (int c = 1; c < columns; ++c) {
        grid.setTextMatrix(0, c, QString::number(c));
        grid.setCellAlign(0, c, ui::CellAlign::Center);
        if (grid.rows() > 1) {
            if (c - 1 < names.size())
                grid.setTextMatrix(1, c, names[c - 1]);
            grid.setCellAlign(1, c, ui::CellAlign::Center);
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
        const int r = 3 + i;
        grid.setTextMatrix(r, 0, page::formatTime(layout.times[static_cast<size_t>(i)]));
        grid.setCellAlign(r, 0, ui::CellAlign::Center);
        grid.setRowHeight(r, h);
    }
    for (int r = layout.lastTimeRow() + 1; r < layout.rows(); ++r)
        grid.setTextMatrix(r, 0, QString());
    grid.endUpdate();
}

void pasteText(ui::GridModel &grid, const QString &text)
{
    if (grid.rows() < 3 || grid.cols() < 2)
        return;
    grid.beginUpdate();
    // The selection (a marked range) stays as it was, so that a refresh
    // never hides the block the next command acts on.
    const int row = grid.row(), col = grid.col(), rowSel = grid.rowSel(), colSel = grid.colSel();
    grid.select(2, 1, grid.rows() - 1, grid.cols() - 1);
    // The clip form pastes row by row; a page text has exactly that form.
    grid.setClip(text);
    grid.select(row, col, rowSel, colSel);
    grid.endUpdate();
}

QString rectText(const ui::GridModel &grid)
{
    page::Cells cells;
    for (int r = 2; r < grid.rows(); ++r) {
        QStringList row;
        for (int c = 1; c < grid.cols(); ++c)
            row << grid.textMatrix(r, c);
        cells.push_back(row);
    }
    return page::encode(cells);
}

void applyColors(ui::GridModel &grid, const QString &stored, bool closed)
{
    grid.beginUpdate();
    const std::vector<int> values = decodeColors(stored);
    size_t k = 0;
    for (int c = 1; c < grid.cols(); ++c)
        for (int r = 3; r < grid.rows(); ++r, ++k) {
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
    for (int c = 1; c < grid.cols(); ++c)
        for (int r = 3; r < grid.rows(); ++r)
            out.push_back(grid.cellColor(r, c));
    return out;
}

} // namespace book
