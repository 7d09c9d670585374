#include "ui/core/gridmodel.h"

#include <QStringList>

#include <algorithm>

namespace ui {

namespace {
constexpr int kDefaultColWidth = 960;
constexpr int kDefaultRowHeight = 240;
constexpr QChar kTab = QChar(9);
constexpr QChar kCr = QChar(13);

int clampIndex(int i, int count)
{
    return std::clamp(i, 0, std::max(0, count - 1));
}
} // namespace

GridModel::GridModel(QObject *parent) : QObject(parent)
{
    m_cells.assign(m_rows, std::vector<Cell>(m_cols));
    m_colWidths.assign(m_cols, -1);
    m_colMerge.assign(m_cols, false);
    m_rowHeights.assign(m_rows, -1);
}

// ---- size -------------------------------------------------------------

int GridModel::rows() const { return m_rows; }
int GridModel::cols() const { return m_cols; }
int GridModel::fixedRows() const { return m_fixedRows; }
int GridModel::fixedCols() const { return m_fixedCols; }

void GridModel::setRows(int n)
{
    n = std::max(0, n);
    if (n == m_rows)
        return;
    m_rows = n;
    m_cells.resize(n, std::vector<Cell>(m_cols));
    m_rowHeights.resize(n, -1);
    m_fixedRows = std::min(m_fixedRows, n);
    const int oldRow = m_row, oldSel = m_rowSel;
    m_row = clampIndex(m_row, n);
    m_rowSel = clampIndex(m_rowSel, n);
    touch();
    if (oldRow != m_row || oldSel != m_rowSel)
        touchCursor();
}

void GridModel::setCols(int n)
{
    n = std::max(0, n);
    if (n == m_cols)
        return;
    m_cols = n;
    for (auto &row : m_cells)
        row.resize(n);
    m_colWidths.resize(n, -1);
    m_colMerge.resize(n, false);
    m_fixedCols = std::min(m_fixedCols, n);
    const int oldCol = m_col, oldSel = m_colSel;
    m_col = clampIndex(m_col, n);
    m_colSel = clampIndex(m_colSel, n);
    touch();
    if (oldCol != m_col || oldSel != m_colSel)
        touchCursor();
}

void GridModel::setFixedRows(int n)
{
    n = std::clamp(n, 0, m_rows);
    if (n == m_fixedRows)
        return;
    m_fixedRows = n;
    touch();
}

void GridModel::setFixedCols(int n)
{
    n = std::clamp(n, 0, m_cols);
    if (n == m_fixedCols)
        return;
    m_fixedCols = n;
    touch();
}

// ---- cursor and selection ----------------------------------------------

int GridModel::row() const { return m_row; }
int GridModel::col() const { return m_col; }
int GridModel::rowSel() const { return m_rowSel; }
int GridModel::colSel() const { return m_colSel; }

void GridModel::setRow(int r)
{
    r = clampIndex(r, m_rows);
    if (r == m_row && r == m_rowSel)
        return;
    m_row = m_rowSel = r;
    touchCursor();
}

void GridModel::setCol(int c)
{
    c = clampIndex(c, m_cols);
    if (c == m_col && c == m_colSel)
        return;
    m_col = m_colSel = c;
    touchCursor();
}

void GridModel::setRowSel(int r)
{
    r = clampIndex(r, m_rows);
    if (r == m_rowSel)
        return;
    m_rowSel = r;
    touchCursor();
}

void GridModel::setColSel(int c)
{
    c = clampIndex(c, m_cols);
    if (c == m_colSel)
        return;
    m_colSel = c;
    touchCursor();
}

void GridModel::setCursor(int r, int c)
{
    select(r, c, r, c);
}

void GridModel::select(int r1, int c1, int r2, int c2)
{
    r1 = clampIndex(r1, m_rows);
    r2 = clampIndex(r2, m_rows);
    c1 = clampIndex(c1, m_cols);
    c2 = clampIndex(c2, m_cols);
    if (r1 == m_row && c1 == m_col && r2 == m_rowSel && c2 == m_colSel)
        return;
    m_row = r1;
    m_col = c1;
    m_rowSel = r2;
    m_colSel = c2;
    touchCursor();
}

int GridModel::selTop() const { return std::min(m_row, m_rowSel); }
int GridModel::selBottom() const { return std::max(m_row, m_rowSel); }
int GridModel::selLeft() const { return std::min(m_col, m_colSel); }
int GridModel::selRight() const { return std::max(m_col, m_colSel); }

// ---- text -------------------------------------------------------------

GridModel::Cell &GridModel::cell(int r, int c)
{
    return m_cells[r][c];
}

const GridModel::Cell *GridModel::cellAt(int r, int c) const
{
    if (r < 0 || c < 0 || r >= m_rows || c >= m_cols)
        return nullptr;
    return &m_cells[r][c];
}

QString GridModel::textMatrix(int r, int c) const
{
    const Cell *p = cellAt(r, c);
    return p ? p->text : QString();
}

void GridModel::setTextMatrix(int r, int c, const QString &text)
{
    if (!cellAt(r, c) || cell(r, c).text == text)
        return;
    cell(r, c).text = text;
    touch();
}

QString GridModel::text() const { return textMatrix(m_row, m_col); }
void GridModel::setText(const QString &text) { setTextMatrix(m_row, m_col, text); }

QString GridModel::clip() const
{
    if (m_rows == 0 || m_cols == 0)
        return {};
    QString out;
    for (int r = selTop(); r <= selBottom(); ++r) {
        if (r > selTop())
            out += kCr;
        for (int c = selLeft(); c <= selRight(); ++c) {
            if (c > selLeft())
                out += kTab;
            out += m_cells[r][c].text;
        }
    }
    return out;
}

void GridModel::setClip(const QString &text)
{
    if (m_rows == 0 || m_cols == 0)
        return;
    const QStringList lines = text.split(kCr);
    bool any = false;
    for (int r = selTop(); r <= selBottom(); ++r) {
        const int i = r - selTop();
        const QStringList parts = i < lines.size() ? lines[i].split(kTab) : QStringList();
        for (int c = selLeft(); c <= selRight(); ++c) {
            const int j = c - selLeft();
            QString value = j < parts.size() ? parts[j] : QString();
            Cell &target = m_cells[r][c];
            if (target.text != value) {
                target.text = std::move(value);
                any = true;
            }
        }
    }
    if (any)
        touch();
}

// ---- per cell look ----------------------------------------------------

Bgr GridModel::cellColor(int r, int c) const
{
    const Cell *p = cellAt(r, c);
    return p ? p->color : 0;
}

void GridModel::setCellColor(int r, int c, Bgr color)
{
    if (!cellAt(r, c) || cell(r, c).color == color)
        return;
    cell(r, c).color = color;
    touch();
}

CellFont GridModel::cellFont(int r, int c) const
{
    const Cell *p = cellAt(r, c);
    return p && p->hasFont ? p->font : m_font;
}

void GridModel::setCellFont(int r, int c, const CellFont &font)
{
    if (!cellAt(r, c))
        return;
    Cell &target = cell(r, c);
    if (target.hasFont && target.font == font)
        return;
    target.hasFont = true;
    target.font = font;
    touch();
}

CellAlign GridModel::cellAlign(int r, int c) const
{
    const Cell *p = cellAt(r, c);
    return p ? p->align : CellAlign::General;
}

void GridModel::setCellAlign(int r, int c, CellAlign align)
{
    if (!cellAt(r, c) || cell(r, c).align == align)
        return;
    cell(r, c).align = align;
    touch();
}

QByteArray GridModel::cellPicture(int r, int c) const
{
    const Cell *p = cellAt(r, c);
    return p ? p->picture : QByteArray();
}

void GridModel::setCellPicture(int r, int c, const QByteArray &picture)
{
    if (!cellAt(r, c) || cell(r, c).picture == picture)
        return;
    cell(r, c).picture = picture;
    touch();
}

// One changed() for the whole selection, however many cells it holds.
void GridModel::setSelectionColor(Bgr color)
{
    beginUpdate();
    for (int r = selTop(); r <= selBottom(); ++r)
        for (int c = selLeft(); c <= selRight(); ++c)
            setCellColor(r, c, color);
    endUpdate();
}

void GridModel::setSelectionFont(const CellFont &font)
{
    beginUpdate();
    for (int r = selTop(); r <= selBottom(); ++r)
        for (int c = selLeft(); c <= selRight(); ++c)
            setCellFont(r, c, font);
    endUpdate();
}

void GridModel::setSelectionAlign(CellAlign align)
{
    beginUpdate();
    for (int r = selTop(); r <= selBottom(); ++r)
        for (int c = selLeft(); c <= selRight(); ++c)
            setCellAlign(r, c, align);
    endUpdate();
}

// ---- columns and rows -------------------------------------------------

int GridModel::colWidth(int c) const
{
    if (c < 0 || c >= m_cols)
        return 0;
    return m_colWidths[c] < 0 ? kDefaultColWidth : m_colWidths[c];
}

void GridModel::setColWidth(int c, int twips)
{
    if (c < 0 || c >= m_cols)
        return;
    twips = std::max(-1, twips);   // negative: back to the default width
    if (m_colWidths[c] == twips)
        return;
    m_colWidths[c] = twips;
    touch();
}

bool GridModel::colMerge(int c) const
{
    return c >= 0 && c < m_cols && m_colMerge[c];
}

void GridModel::setColMerge(int c, bool merge)
{
    if (c < 0 || c >= m_cols || m_colMerge[c] == merge)
        return;
    m_colMerge[c] = merge;
    touch();
}

int GridModel::rowHeight(int r) const
{
    if (r < 0 || r >= m_rows)
        return 0;
    return m_rowHeights[r] < 0 ? kDefaultRowHeight : m_rowHeights[r];
}

void GridModel::setRowHeight(int r, int twips)
{
    if (r < 0 || r >= m_rows)
        return;
    twips = std::max(-1, twips);
    if (m_rowHeights[r] == twips)
        return;
    m_rowHeights[r] = twips;
    touch();
}

int GridModel::defaultColWidth() const { return kDefaultColWidth; }
int GridModel::defaultRowHeight() const { return kDefaultRowHeight; }

int GridModel::cellLeft(int c) const
{
    int x = 0;
    for (int i = 0; i < std::min(c, m_cols); ++i)
        x += colWidth(i);
    return x;
}

int GridModel::cellTop(int r) const
{
    int y = 0;
    for (int i = 0; i < std::min(r, m_rows); ++i)
        y += rowHeight(i);
    return y;
}

// ---- whole grid -------------------------------------------------------

Bgr GridModel::backColor() const { return m_back; }
Bgr GridModel::backColorSel() const { return m_backSel; }
Bgr GridModel::backColorFixed() const { return m_backFixed; }
CellFont GridModel::font() const { return m_font; }
bool GridModel::visible() const { return m_visible; }

void GridModel::setBackColor(Bgr color)
{
    if (m_back == color)
        return;
    m_back = color;
    touch();
}

void GridModel::setBackColorSel(Bgr color)
{
    if (m_backSel == color)
        return;
    m_backSel = color;
    touch();
}

void GridModel::setBackColorFixed(Bgr color)
{
    if (m_backFixed == color)
        return;
    m_backFixed = color;
    touch();
}

void GridModel::setFont(const CellFont &font)
{
    if (m_font == font)
        return;
    m_font = font;
    touch();
}

void GridModel::setVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    touch();
}

// ---- update batching --------------------------------------------------

void GridModel::beginUpdate()
{
    ++m_updateDepth;
}

void GridModel::endUpdate()
{
    if (m_updateDepth == 0)
        return;
    if (--m_updateDepth > 0)
        return;
    const bool change = m_pendingChange;
    const bool cursor = m_pendingCursor;
    m_pendingChange = m_pendingCursor = false;
    if (change)
        emit changed();
    if (cursor)
        emit cursorChanged();
}

bool GridModel::updating() const
{
    return m_updateDepth > 0;
}

void GridModel::touch()
{
    if (m_updateDepth > 0)
        m_pendingChange = true;
    else
        emit changed();
}

void GridModel::touchCursor()
{
    if (m_updateDepth > 0)
        m_pendingCursor = true;
    else
        emit cursorChanged();
}

} // namespace ui
