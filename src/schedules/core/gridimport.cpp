#include "schedules/core/gridimport.h"

#include "ui/core/colours.h"

namespace schedules {

namespace {
// The font last handed out. Neighbouring cells with equal fonts share it, so
// the engine changes the surface's font only where the font changes.
FontRef &cachedFont()
{
    static FontRef font;
    return font;
}
} // namespace

void resetCellFontCache()
{
    cachedFont() = std::make_shared<const ui::CellFont>();
}

FontRef GetCellFont(const ui::GridModel &grid, int row, int col)
{
    FontRef &cached = cachedFont();
    const ui::CellFont f = grid.cellFont(row, col);
    if (!cached || !(*cached == f))
        cached = std::make_shared<const ui::CellFont>(f);
    return cached;
}

int tableAlignment(ui::CellAlign align)
{
    switch (align) {
    case ui::CellAlign::Center: return 1;
    case ui::CellAlign::Right: return 2;
    case ui::CellAlign::Left:
    case ui::CellAlign::General: return 0;
    }
    return 0;
}

void LoadTableFromGrid(clsTablePrint &table, ui::GridModel &grid, double fitWidth)
{
    const int fixed = grid.fixedRows();
    table.setRows(grid.rows() - fixed);
    table.setCols(grid.cols());
    table.setHeaderRows(fixed);
    table.setHasFooter(false);

    // The grid draws one-pixel lines and has no minimum row height.
    table.lineThickness = 1;
    table.headerLineThickness = table.lineThickness;
    table.rowHeightMin = 0;
    table.footerRowHeightMin = table.rowHeightMin;
    table.headerRowHeightMin = table.rowHeightMin;

    table.cellXOffset = 30;
    table.cellYOffset = 10;
    table.centerMergedHeader = false;
    table.resizeCellsToPicHeight = true;
    table.printHeaderOnEveryPage = true;

    resetCellFontCache();
    double total = 0;
    for (int j = 0; j < fixed; ++j)
        for (int i = 0; i < grid.cols(); ++i) {
            table.setHeaderFont(j, i, GetCellFont(grid, j, i));
            if (j == 0) {
                table.setColAlignment(i, tableAlignment(grid.cellAlign(j, i)));
                total += grid.colWidth(i);
            }
            table.setHeaderText(j, i, grid.textMatrix(j, i));
        }

    // Every column collapsed leaves nothing to share the width out by: the
    // columns keep the grid's widths.
    const bool fit = fitWidth > 0 && total > 0;
    for (int i = 0; i < grid.cols(); ++i) {
        for (int j = 0; j < table.rows(); ++j) {
            const int r = fixed + j;
            table.setFontMatrix(j, i, GetCellFont(grid, r, i));
            const QByteArray picture = grid.cellPicture(r, i);
            if (!picture.isEmpty())
                table.setPictureMatrix(j, i, picture);
            table.setTextMatrix(j, i, grid.textMatrix(r, i));
            if (j == 0)
                grid.setCellColor(r, i, ui::colours::PaleYellow);
            const ui::Bgr colour = grid.cellColor(r, i);
            table.setCellColor(j, i, colour == 0 ? ui::colours::Grey : colour);
        }
        table.setColWidth(i, fit ? fitWidth * (grid.colWidth(i) / total) : grid.colWidth(i));
        table.setMergeCol(i, grid.colMerge(i));
        table.setMergeHeaderCol(i, grid.colMerge(i));
    }
}

} // namespace schedules
