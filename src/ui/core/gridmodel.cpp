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

template <class T>
void GridModel::change(T &stored, const T &value)
{
    if (stored == value)
        return;
    stored = value;
    touch();
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
    resized(n, m_fixedRows, m_row, m_rowSel);
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
    resized(n, m_fixedCols, m_col, m_colSel);
}

void GridModel::resized(int count, int &fixed, int &at, int &sel)
{
    fixed = std::min(fixed, count);
    const int oldAt = at, oldSel = sel;
    at = clampIndex(at, count);
    sel = clampIndex(sel, count);
    touch();
    if (oldAt != at || oldSel != sel)
        touchCursor();
}

void GridModel::setFixedRows(int n) { change(m_fixedRows, std::clamp(n, 0, m_rows)); }
void GridModel::setFixedCols(int n) { change(m_fixedCols, std::clamp(n, 0, m_cols)); }

// ---- cursor and selection ----------------------------------------------

int GridModel::row() const { return m_row; }
int GridModel::col() const { return m_col; }
int GridModel::rowSel() const { return m_rowSel; }
int GridModel::colSel() const { return m_colSel; }

void GridModel::setRow(int r) { moveTo(m_row, m_rowSel, clampIndex(r, m_rows)); }
void GridModel::setCol(int c) { moveTo(m_col, m_colSel, clampIndex(c, m_cols)); }
void GridModel::setRowSel(int r) { moveTo(m_rowSel, m_rowSel, clampIndex(r, m_rows)); }
void GridModel::setColSel(int c) { moveTo(m_colSel, m_colSel, clampIndex(c, m_cols)); }

void GridModel::moveTo(int &at, int &sel, int to)
{
    if (to == at && to == sel)
        return;
    at = sel = to;
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

template <class T>
void GridModel::setCellValue(int r, int c, T Cell::*property, const T &value)
{
    if (cellAt(r, c))
        change(cell(r, c).*property, value);
}

template <class T>
T GridModel::cellValue(int r, int c, T Cell::*property, T none) const
{
    const Cell *p = cellAt(r, c);
    return p ? p->*property : none;
}

QString GridModel::textMatrix(int r, int c) const { return cellValue(r, c, &Cell::text, QString()); }
void GridModel::setTextMatrix(int r, int c, const QString &text) { setCellValue(r, c, &Cell::text, text); }

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
    // Read in place: a cell's text is copied only where it changes (a page
    // opened fills hundreds of cells this way).
    const QList<QStringView> lines = QStringView(text).split(kCr);
    bool any = false;
    for (int r = selTop(); r <= selBottom(); ++r) {
        const int i = r - selTop();
        const QList<QStringView> parts = i < lines.size() ? lines[i].split(kTab) : QList<QStringView>();
        for (int c = selLeft(); c <= selRight(); ++c) {
            const int j = c - selLeft();
            const QStringView value = j < parts.size() ? parts[j] : QStringView();
            Cell &target = m_cells[r][c];
            if (target.text != value) {
                target.text = value.toString();
                any = true;
            }
        }
    }
    if (any)
        touch();
}

// ---- per cell look ----------------------------------------------------

Bgr GridModel::cellColor(int r, int c) const { return cellValue(r, c, &Cell::color, Bgr(0)); }
void GridModel::setCellColor(int r, int c, Bgr color) { setCellValue(r, c, &Cell::color, color); }

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

CellAlign GridModel::cellAlign(int r, int c) const { return cellValue(r, c, &Cell::align, CellAlign::General); }
void GridModel::setCellAlign(int r, int c, CellAlign align) { setCellValue(r, c, &Cell::align, align); }
QByteArray GridModel::cellPicture(int r, int c) const { return cellValue(r, c, &Cell::picture, QByteArray()); }
void GridModel::setCellPicture(int r, int c, const QByteArray &picture)
{
    setCellValue(r, c, &Cell::picture, picture);
}

// One changed() for the whole selection, however many cells it holds.
template <class F>
void GridModel::forSelection(F set)
{
    beginUpdate();
    for (int r = selTop(); r <= selBottom(); ++r)
        for (int c = selLeft(); c <= selRight(); ++c)
            set(r, c);
    endUpdate();
}

void GridModel::setSelectionColor(Bgr color)
{
    forSelection([&](int r, int c) { setCellColor(r, c, color); });
}

void GridModel::setSelectionFont(const CellFont &font)
{
    forSelection([&](int r, int c) { setCellFont(r, c, font); });
}

void GridModel::setSelectionAlign(CellAlign align)
{
    forSelection([&](int r, int c) { setCellAlign(r, c, align); });
}

// ---- columns and rows -------------------------------------------------

// A column's width or a row's height: 0 past the grid, the default where
// none was set (-1); a negative one set goes back to the default.
int GridModel::sizeOf(const std::vector<int> &sizes, int i, int standard) const
{
    if (i < 0 || i >= int(sizes.size()))
        return 0;
    return sizes[size_t(i)] < 0 ? standard : sizes[size_t(i)];
}

void GridModel::setSize(std::vector<int> &sizes, int i, int twips)
{
    if (i >= 0 && i < int(sizes.size()))
        change(sizes[size_t(i)], std::max(-1, twips));
}

int GridModel::colWidth(int c) const { return sizeOf(m_colWidths, c, kDefaultColWidth); }
void GridModel::setColWidth(int c, int twips) { setSize(m_colWidths, c, twips); }
int GridModel::rowHeight(int r) const { return sizeOf(m_rowHeights, r, kDefaultRowHeight); }
void GridModel::setRowHeight(int r, int twips) { setSize(m_rowHeights, r, twips); }

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

void GridModel::setBackColor(Bgr color) { change(m_back, color); }
void GridModel::setBackColorSel(Bgr color) { change(m_backSel, color); }
void GridModel::setBackColorFixed(Bgr color) { change(m_backFixed, color); }
void GridModel::setFont(const CellFont &font) { change(m_font, font); }
void GridModel::setVisible(bool visible) { change(m_visible, visible); }

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
