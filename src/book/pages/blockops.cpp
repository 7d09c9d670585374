#include "book/pages/blockops.h"

#include "book/pages/pagegrid.h"
#include "book/pages/pagepos.h"
#include "store/core/changelog.h"
#include "store/core/dberror.h"
#include "book/pages/pagetext.h"
#include "ui/core/desktop.h"
#include "ui/core/prompter.h"

#include <algorithm>
#include <optional>

namespace book {

namespace {

QString rangeMessage()
{
    return QStringLiteral("First you have to left mouseclick on START cell, then select END cell "
                          "holding down SHIFT key. Try again...");
}

QString busyMessage()
{
    return QStringLiteral(
        "Another user is currently updating the same record. Please wait a while and try again...");
}

QString pasteMessage()
{
    return QStringLiteral("Error in Paste routine - you're pasting beyond the grid's range. Please try again...");
}

// First row whose colour is stored (the time rows and the two free rows
// after them); row 2 keeps the grid's colour.
constexpr int FirstColorRow = pos::FirstTimeRow;

// Drawing stays suspended while a command changes many cells.
class UpdateGuard {
public:
    explicit UpdateGuard(ui::GridModel &grid) : m_grid(grid) { m_grid.beginUpdate(); }
    ~UpdateGuard() { m_grid.endUpdate(); }
    UpdateGuard(const UpdateGuard &) = delete;
    UpdateGuard &operator=(const UpdateGuard &) = delete;

private:
    ui::GridModel &m_grid;
};

} // namespace

BlockOps::BlockOps(Kind kind, BlockHost &host, ui::Prompter &prompter, ui::Clipboard &clipboard)
    : m_kind(kind), m_host(host), m_prompter(prompter), m_clipboard(clipboard)
{
}

// ---- mouse ------------------------------------------------------------

void BlockOps::plainClick(int, int)
{
    m_marked = false;
    m_altMark = false;
    // The template grid shows its plain current cell unhighlighted.
    if (m_kind == Kind::Template)
        m_host.blockGrid().setBackColorSel(DefaultCellColor);
}

void BlockOps::shiftClick(int row, int col)
{
    ui::GridModel &grid = m_host.blockGrid();
    m_startRow = grid.row();
    m_startCol = grid.col();
    m_rowSpan = row - m_startRow;
    m_colSpan = col - m_startCol;
    m_marked = true;
    m_altMark = false;
    m_singleCell = false;
    UpdateGuard guard(grid);
    grid.setBackColorSel(BlockSelectionColor);
    grid.select(m_startRow, m_startCol, row, col);
}

void BlockOps::altClick(int row, int col)
{
    ui::GridModel &grid = m_host.blockGrid();
    // The spans stay as the last Shift+click left them; the single-cell flag
    // makes the next Paste fill this cell alone.
    m_startRow = row;
    m_startCol = col;
    m_marked = true;
    m_altMark = true;
    m_singleCell = true;
    UpdateGuard guard(grid);
    grid.setBackColorSel(BlockSelectionColor);
    grid.setCursor(row, col);
}

// ---- blocks -----------------------------------------------------------

// The marked range, or the current cell. A range marked upward or leftward
// has negative spans; it is taken from its top-left corner so that every
// command acts on exactly the cells the user marked.
BlockOps::Rect BlockOps::markedBlock() const
{
    const ui::GridModel &grid = m_host.blockGrid();
    if (!m_marked || m_altMark)
        return {grid.row(), grid.col(), grid.row(), grid.col()};
    const int r2 = m_startRow + m_rowSpan, c2 = m_startCol + m_colSpan;
    return {std::min(m_startRow, r2), std::min(m_startCol, c2), std::max(m_startRow, r2),
            std::max(m_startCol, c2)};
}

bool BlockOps::covers(int row, int col) const
{
    const Rect r = markedBlock();
    return row >= r.top && row <= r.bottom && col >= r.left && col <= r.right;
}

// Inside the data rectangle: rows 2 to the last, columns 1 to the last.
bool BlockOps::inData(const Rect &r) const
{
    const ui::GridModel &grid = m_host.blockGrid();
    return r.top >= pos::FreeRow && r.left >= pos::FirstCol && r.bottom < grid.rows() && r.right < grid.cols() &&
           r.top <= r.bottom && r.left <= r.right;
}

BlockOps::Rect BlockOps::clipToData(const Rect &r) const
{
    const ui::GridModel &grid = m_host.blockGrid();
    return {std::max(r.top, pos::FreeRow), std::max(r.left, pos::FirstCol), std::min(r.bottom, grid.rows() - 1),
            std::min(r.right, grid.cols() - 1)};
}

// The block for Copy and Cut. A mark left over from a page of another shape
// can reach beyond this grid; that is reported as a badly marked range.
bool BlockOps::takeBlock(Rect &block, bool &range)
{
    range = m_marked && !m_altMark;
    block = markedBlock();
    if (inData(block))
        return true;
    if (m_kind == Kind::Page)
        m_prompter.message(rangeMessage(), QStringLiteral("Select range of cells"));
    return false;
}

void BlockOps::copyBlock(const Rect &block, bool range)
{
    ui::GridModel &grid = m_host.blockGrid();
    grid.select(block.top, block.left, block.bottom, block.right);
    m_clipboard.clear();
    m_clipboard.setText(grid.clip());
    m_singleCell = !range;
    if (m_kind == Kind::Page) {
        m_somethingToPaste = true;
        m_colorList.clear();
        for (int c = block.left; c <= block.right; ++c)
            for (int r = block.top; r <= block.bottom; ++r)
                m_colorList.push_back(grid.cellColor(r, c));
        if (!range)
            m_singleColor = m_colorList.front();
        m_copiedRows = block.rows();
        m_copiedCols = block.cols();
    }
    m_marked = false;
    m_altMark = false;
    grid.setCursor(block.top, block.left);
}

// The block marked (or the cursor's cell) taken and copied: what Copy and
// Cut share. False when there is nothing to take.
bool BlockOps::takeAndCopy(Rect &block, bool &range)
{
    if (!takeBlock(block, range))
        return false;
    UpdateGuard guard(m_host.blockGrid());
    copyBlock(block, range);
    return true;
}

void BlockOps::copy()
{
    Rect block;
    bool range = false;
    if (takeAndCopy(block, range))
        m_host.focusGrid();
}

void BlockOps::cut()
{
    Rect block;
    bool range = false;
    if (!takeAndCopy(block, range))
        return;
    // The template keeps no colours; only its single cut cell is shown plain.
    std::optional<int> color;
    if (m_kind == Kind::Page || !range)
        color = 0;
    clearCells(block, color, QStringLiteral("Cut"));
}

// The marked block within the data cells, the mark forgotten.
BlockOps::Rect BlockOps::takeMarked()
{
    const Rect block = clipToData(markedBlock());
    m_marked = false;
    m_altMark = false;
    return block;
}

void BlockOps::remove()
{
    if (m_kind == Kind::Page &&
        !m_prompter.ask(QStringLiteral("Are you sure you want to proceed with Delete?"),
                        QStringLiteral("Delete")))
        return;
    const Rect block = takeMarked();
    if (block.empty())   // a mark left from a page of another shape
        return;
    std::optional<int> color;
    if (m_kind == Kind::Page)
        color = DefaultCellColor;
    clearCells(block, color, QStringLiteral("Delete"));
}

// Empties the block's cells (and gives them a colour), then stores them.
void BlockOps::clearCells(const Rect &block, std::optional<int> color, const QString &title)
{
    ui::GridModel &grid = m_host.blockGrid();
    CellChanges cells;
    ColorChanges colors;
    {
        UpdateGuard guard(grid);
        for (int r = block.top; r <= block.bottom; ++r)
            for (int c = block.left; c <= block.right; ++c) {
                grid.setTextMatrix(r, c, QString());
                cells[{r, c}] = QString();
                if (color && r >= FirstColorRow) {
                    grid.setCellColor(r, c, *color);
                    colors[{r, c}] = *color;
                }
            }
        grid.setCursor(block.top, block.left);
    }
    if (saveBlock(cells, colors, title, block.top, block.left))
        finish(block.top, block.left);
}

void BlockOps::blockout()
{
    ui::GridModel &grid = m_host.blockGrid();
    const Rect block = takeMarked();
    if (block.empty())   // a mark left from a page of another shape
        return;
    const QString text = book::page::cleanCell(m_host.blockoutText());
    CellChanges cells;
    {
        UpdateGuard guard(grid);
        for (int r = block.top; r <= block.bottom; ++r)
            for (int c = block.left; c <= block.right; ++c) {
                grid.setTextMatrix(r, c, text);
                cells[{r, c}] = text;
            }
        grid.setCursor(block.top, block.left);
    }
    if (saveBlock(cells, {}, QStringLiteral("Blockout"), block.top, block.left))
        finish(block.top, block.left);
}

// ---- paste ------------------------------------------------------------

void BlockOps::paste()
{
    if (m_kind == Kind::Page && !m_somethingToPaste)
        return;
    ui::GridModel &grid = m_host.blockGrid();
    const QString text = m_clipboard.text();
    const int row = grid.row(), col = grid.col();
    Rect target{row, col, row, col};
    if (!m_singleCell) {
        // Spans of a range marked upward or leftward reach up or left from
        // the current cell: the target is taken from its top-left corner.
        const int r2 = row + m_rowSpan, c2 = col + m_colSpan;
        target = {std::min(row, r2), std::min(col, c2), std::max(row, r2), std::max(col, c2)};
    }
    m_marked = false;
    m_altMark = false;
    CellChanges cells;
    ColorChanges colors;
    bool ok = false;
    {
        UpdateGuard guard(grid);
        ok = pasteCells(target, text, cells, colors);
        if (ok)
            grid.setCursor(target.top, target.left);
    }
    if (!ok) {
        // Nothing was changed; the template window says nothing.
        if (m_kind == Kind::Page) {
            m_prompter.message(pasteMessage(), QStringLiteral("Paste"));
            grid.setCursor(row, col);
            m_host.refreshPage();
        }
        return;
    }
    if (saveBlock(cells, colors, QStringLiteral("Paste"), target.top, target.left))
        finish(target.top, target.left);
}

// Lays the clipboard text (and on the page the copied colours) into the
// target; false, with the grid untouched, when the target does not fit.
bool BlockOps::pasteCells(const Rect &target, const QString &text, CellChanges &cells, ColorChanges &colors)
{
    ui::GridModel &grid = m_host.blockGrid();
    if (!inData(target))
        return false;
    const bool page = m_kind == Kind::Page;
    if (m_singleCell) {
        const QString one = book::page::cleanCell(text);
        grid.setTextMatrix(target.top, target.left, one);
        cells[{target.top, target.left}] = one;
        if (page && target.top >= FirstColorRow) {
            grid.setCellColor(target.top, target.left, m_singleColor);
            colors[{target.top, target.left}] = m_singleColor;
        }
        return true;
    }
    // One copied cell fills the whole marked range, text and colour.
    if (page && m_colorList.size() == 1) {
        const QString one = book::page::cleanCell(text);
        for (int c = target.left; c <= target.right; ++c)
            for (int r = target.top; r <= target.bottom; ++r) {
                grid.setTextMatrix(r, c, one);
                cells[{r, c}] = one;
                if (r >= FirstColorRow) {
                    grid.setCellColor(r, c, m_colorList.front());
                    colors[{r, c}] = m_colorList.front();
                }
            }
        return true;
    }
    // A target larger than the copied block would have cells with neither
    // text nor colour to receive: the clip form would empty them.
    if (page && (target.rows() > m_copiedRows || target.cols() > m_copiedCols))
        return false;
    grid.select(target.top, target.left, target.bottom, target.right);
    grid.setClip(text);
    for (int c = target.left; c <= target.right; ++c)
        for (int r = target.top; r <= target.bottom; ++r) {
            cells[{r, c}] = grid.textMatrix(r, c);
            if (page && r >= FirstColorRow) {
                // Each cell takes the colour of the copied cell whose text it
                // received (the same as the k-th colour when the shapes agree).
                const int color = m_colorList[static_cast<size_t>((c - target.left) * m_copiedRows +
                                                                   (r - target.top))];
                grid.setCellColor(r, c, color);
                colors[{r, c}] = color;
            }
        }
    return true;
}

// ---- colours ----------------------------------------------------------

void BlockOps::colorCommand()
{
    if (m_kind != Kind::Page)   // templates keep no colours
        return;
    ui::GridModel &grid = m_host.blockGrid();
    const Rect block = takeMarked();
    if (block.empty())   // a mark left from a page of another shape
        return;
    ColorChanges colors;
    {
        UpdateGuard guard(grid);
        for (int c = block.left; c <= block.right; ++c)
            for (int r = std::max(block.top, FirstColorRow); r <= block.bottom; ++r) {
                grid.setCellColor(r, c, m_chosenColor);
                colors[{r, c}] = m_chosenColor;
            }
        grid.setCursor(block.top, block.left);
    }
    if (saveColors(colors, QStringLiteral("Set Cell Color")))
        finish(block.top, block.left);
}

void BlockOps::chooseRowCount(int rows)
{
    m_chosenRows = std::clamp(rows, 1, 4);
    m_rowsChosen = true;
    paintRows();
}

void BlockOps::chooseColor(int bgr)
{
    m_chosenColor = bgr;
    m_colorChosen = true;
    paintRows();
}

// Paints the chosen number of time rows downward from the current cell once
// both a row count and a colour are chosen; never the two free rows below
// the last time row.
void BlockOps::paintRows()
{
    if (m_kind != Kind::Page || !m_colorChosen || !m_rowsChosen)
        return;
    ui::GridModel &grid = m_host.blockGrid();
    const int row = grid.row(), col = grid.col(), rows = grid.rows();
    if (row < FirstColorRow || row >= rows - pos::TrailingFreeRows || col < pos::FirstCol || col >= grid.cols() || m_host.editorOpen())
        return;   // both choices stay pending
    m_colorChosen = false;
    m_rowsChosen = false;
    try {
        ColorChanges colors;
        {
            UpdateGuard guard(grid);
            for (int r = row, n = 0; n < m_chosenRows && r < rows - pos::TrailingFreeRows; ++n, ++r) {
                grid.setCellColor(r, col, m_chosenColor);
                colors[{r, col}] = m_chosenColor;
            }
            grid.setCursor(row, col);
        }
        saveColors(colors, QStringLiteral("Set Cell Color"));
    } catch (const store::DbError &e) {
        m_prompter.message(e.numbered(), QStringLiteral("Set Cell Color"));
    }
}

// ---- storing ----------------------------------------------------------

// Texts and colours of one command are stored together: when any part is
// refused or fails, nothing is stored and the user is told why.
bool BlockOps::saveBlock(const CellChanges &cells, const ColorChanges &colors, const QString &title, int row,
                         int col)
{
    const ColorChanges none;
    const ColorChanges &paint = m_kind == Kind::Page ? colors : none;   // templates keep no colours
    if (cells.empty() && paint.empty())
        return true;
    std::optional<store::CommandScope> command;
    if (store::Database *db = m_host.commandLog())
        command.emplace(*db, title);
    try {
        const CellList changed = m_host.storeBlock(cells, paint);
        if (changed.empty()) {
            m_host.commandStored(title, row, col);
            return true;
        }
        refused(changed, title, row, col);
        return false;
    } catch (const store::DbError &e) {
        // The template window reports nothing of its own.
        if (m_kind == Kind::Page) {
            // Another station holding the page is what the command's words
            // say; any other cause is named as it is.
            m_prompter.message(store::troubleOf(e) == store::DbTrouble::Busy
                                   ? busyMessage()
                                   : m_host.failureText(e, QStringLiteral("Nothing was changed.")),
                               title);
            m_host.blockGrid().setCursor(row, col);
            m_host.refreshPage();
        }
        return false;
    }
}

bool BlockOps::saveColors(const ColorChanges &colors, const QString &title)
{
    if (m_kind != Kind::Page || colors.empty())
        return true;
    std::optional<store::CommandScope> command;
    if (store::Database *db = m_host.commandLog())
        command.emplace(*db, title);
    try {
        const CellList changed = m_host.storeColors(colors);
        if (changed.empty()) {
            m_host.commandStored(QStringLiteral("Color"), colors.begin()->first.first, colors.begin()->first.second);
            return true;
        }
        refused(changed, title, colors.begin()->first.first, colors.begin()->first.second);
        return false;
    } catch (const store::DbError &e) {
        m_host.colorSaveFailed(e);
        return false;
    }
}

// Another station changed cells of the block since this page was read:
// nothing was stored. The page is shown as stored, and the user told where.
void BlockOps::refused(const CellList &changed, const QString &title, int row, int col)
{
    ui::GridModel &grid = m_host.blockGrid();
    QStringList where;
    for (const auto &[r, c] : changed) {
        if (where.size() == 8) {
            where << QStringLiteral("…");
            break;
        }
        const QString time = grid.textMatrix(r, pos::TimeCol).trimmed();
        const QString name = grid.textMatrix(pos::NameRow, c).trimmed();
        where << QStringLiteral("%1 %2").arg(time.isEmpty() ? QStringLiteral("(free row)") : time,
                                            name.isEmpty() ? QStringLiteral("column %1").arg(c) : name);
    }
    grid.setCursor(row, col);
    m_host.refreshPage();
    m_prompter.message(QStringLiteral("Another station has changed these cells since this page was shown:\n\n%1\n\n"
                                      "Nothing was changed. The page now shows what is stored; please look "
                                      "at it and try again.")
                           .arg(where.join(QLatin1Char('\n'))),
                       title, ui::Icon::Warning);
}

void BlockOps::finish(int row, int col)
{
    m_host.blockGrid().setCursor(row, col);
    m_host.focusGrid();
}

} // namespace book
