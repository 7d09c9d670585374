#include "schedules/core/clstableprint.h"

#include <algorithm>
#include <utility>

// The table engine's sizes and contents: cells, headers, columns, footer
// and merging, with the wildcards and range checks of every property.

namespace schedules {

TableError::TableError(int number, const QString &description)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description)
{
}

TableError TableError::invalidValue()
{
    return TableError(InvalidPropertyValue, QStringLiteral("Invalid property value"));
}

TableError TableError::subscript()
{
    return TableError(SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
}

clsTablePrint::clsTablePrint()
{
    m_hasFooter = true;
    m_rows = 5;
    m_cols = 2;
    m_headerRows = 1;
    recreate();
}

void clsTablePrint::recreate()
{
    const auto r = static_cast<size_t>(m_rows), c = static_cast<size_t>(m_cols),
               h = static_cast<size_t>(m_headerRows);
    m_cells.assign(r, std::vector<Cell>(c));
    m_header.assign(h, std::vector<HeaderCell>(c));
    m_colWidth.assign(c, 15.0);
    m_colAlign.assign(c, 0);
    m_mergeCol.assign(c, false);
    m_mergeHeaderCol.assign(c, false);
    m_mergeRow.assign(r, false);
    m_mergeHeaderRow.assign(h, false);
    if (m_hasFooter) {
        m_footerText.assign(c, QString());
        m_footerFont.assign(c, FontRef());
    } else {
        m_footerText.clear();
        m_footerFont.clear();
    }
    m_usable = true;
}

void clsTablePrint::setRows(int n)
{
    if (n < 0)
        throw TableError::invalidValue();
    m_rows = n;
    if (n == 0) {
        // The cell tables go; the per-row and footer tables stay as they
        // were, and the table is unusable until a valid size is set.
        m_cells.clear();
        m_usable = false;
        throw TableError::subscript();
    }
    recreate();
}

void clsTablePrint::setCols(int n) { setSize(m_cols, n); }
void clsTablePrint::setHeaderRows(int n) { setSize(m_headerRows, n); }

void clsTablePrint::setSize(int &count, int n)
{
    if (n < 1)
        throw TableError::invalidValue();
    count = n;
    if (m_rows > 0)
        recreate();
}

// ---------------------------------------------------------------- indexing

void clsTablePrint::checkCell(int row, int col) const
{
    if (!m_usable || row < 0 || col < 0 || row >= static_cast<int>(m_cells.size()) || col >= m_cols)
        throw TableError::subscript();
}

void clsTablePrint::checkHeader(int row, int col) const
{
    if (!m_usable || row < 0 || col < 0 || row >= static_cast<int>(m_header.size()) ||
        col >= static_cast<int>(m_header[static_cast<size_t>(row)].size()))
        throw TableError::subscript();
}

void clsTablePrint::checkCol(int col) const
{
    if (!m_usable || col < 0 || col >= static_cast<int>(m_colWidth.size()))
        throw TableError::subscript();
}

void clsTablePrint::checkFooter(int col) const
{
    if (col < 0 || col >= static_cast<int>(m_footerText.size()))
        throw TableError::subscript();
}

const clsTablePrint::Cell &clsTablePrint::cellAt(int row, int col) const
{
    checkCell(row, col);
    return m_cells[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

clsTablePrint::Cell &clsTablePrint::cellAt(int row, int col)
{
    return const_cast<Cell &>(std::as_const(*this).cellAt(row, col));
}

const clsTablePrint::HeaderCell &clsTablePrint::headerAt(int row, int col) const
{
    checkHeader(row, col);
    return m_header[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

clsTablePrint::HeaderCell &clsTablePrint::headerAt(int row, int col)
{
    return const_cast<HeaderCell &>(std::as_const(*this).headerAt(row, col));
}

template <class F>
void clsTablePrint::forMatches(int rows, int row, int col, F f) const
{
    for (int r = 0; r < rows; ++r) {
        if (row >= 0 && r != row)
            continue;
        for (int c = 0; c < m_cols; ++c) {
            if (col >= 0 && c != col)
                continue;
            f(r, c);
        }
    }
}

template <class F>
void clsTablePrint::forCells(int row, int col, F f)
{
    if (row >= 0 && col >= 0) {
        f(cellAt(row, col));
        return;
    }
    if (!m_usable)
        throw TableError::subscript();
    forMatches(m_rows, row, col, [&](int r, int c) { f(cellAt(r, c)); });
}

template <class F>
void clsTablePrint::forHeaders(int row, int col, F f)
{
    forMatches(m_headerRows, row, col, [&](int r, int c) { f(headerAt(r, c)); });
    if (row >= 0 && col >= 0)
        checkHeader(row, col);   // an index past the table is refused
}

template <class F>
void clsTablePrint::forCols(int col, F f)
{
    if (col >= 0) {
        f(col);
        return;
    }
    for (int c = 0; c < m_cols; ++c)
        f(c);
}

template <class T>
void clsTablePrint::setEach(std::vector<T> &list, int col, const T &value, void (clsTablePrint::*check)(int) const)
{
    forCols(col, [&](int c) {
        (this->*check)(c);
        list[static_cast<size_t>(c)] = value;
    });
}

template <class T>
const T &clsTablePrint::at(const std::vector<T> &list, int col, void (clsTablePrint::*check)(int) const) const
{
    (this->*check)(col);
    return list[static_cast<size_t>(col)];
}

template <class T>
void clsTablePrint::setCells(int row, int col, T Cell::*property, const T &value)
{
    forCells(row, col, [&](Cell &c) { c.*property = value; });
}

// The properties of cells, header cells and columns: each read checks its
// index, each write goes to one cell or, for -1, a whole row or column.
QString clsTablePrint::textMatrix(int row, int col) const { return cellAt(row, col).text; }
void clsTablePrint::setTextMatrix(int row, int col, const QString &text) { setCells(row, col, &Cell::text, text); }
FontRef clsTablePrint::fontMatrix(int row, int col) const { return cellAt(row, col).font; }
void clsTablePrint::setFontMatrix(int row, int col, const FontRef &font) { setCells(row, col, &Cell::font, font); }
QByteArray clsTablePrint::pictureMatrix(int row, int col) const { return cellAt(row, col).picture; }
void clsTablePrint::setPictureMatrix(int row, int col, const QByteArray &picture)
{
    setCells(row, col, &Cell::picture, picture);
}
ui::Bgr clsTablePrint::cellColor(int row, int col) const { return cellAt(row, col).colour; }
void clsTablePrint::setCellColor(int row, int col, ui::Bgr colour) { setCells(row, col, &Cell::colour, colour); }

QString clsTablePrint::headerText(int row, int col) const { return headerAt(row, col).text; }
void clsTablePrint::setHeaderText(int row, int col, const QString &text)
{
    forHeaders(row, col, [&](HeaderCell &c) { c.text = text; });
}
FontRef clsTablePrint::headerFont(int row, int col) const { return headerAt(row, col).font; }
void clsTablePrint::setHeaderFont(int row, int col, const FontRef &font)
{
    forHeaders(row, col, [&](HeaderCell &c) { c.font = font; });
}

double clsTablePrint::colWidth(int col) const { return at(m_colWidth, col, &clsTablePrint::checkCol); }
void clsTablePrint::setColWidth(int col, double width) { setEach(m_colWidth, col, width, &clsTablePrint::checkCol); }
int clsTablePrint::colAlignment(int col) const { return at(m_colAlign, col, &clsTablePrint::checkCol); }
void clsTablePrint::setColAlignment(int col, int alignment)
{
    setEach(m_colAlign, col, alignment, &clsTablePrint::checkCol);
}
FontRef clsTablePrint::colFont(int col) const { return fontMatrix(0, col); }
void clsTablePrint::setColFont(int col, const FontRef &font)
{
    checkCol(col);
    setFontMatrix(-1, col, font);
}

QString clsTablePrint::footerText(int col) const { return at(m_footerText, col, &clsTablePrint::checkFooter); }
void clsTablePrint::setFooterText(int col, const QString &text)
{
    setEach(m_footerText, col, text, &clsTablePrint::checkFooter);
}
FontRef clsTablePrint::footerFont(int col) const { return at(m_footerFont, col, &clsTablePrint::checkFooter); }
void clsTablePrint::setFooterFont(int col, const FontRef &font)
{
    setEach(m_footerFont, col, font, &clsTablePrint::checkFooter);
}

namespace {
bool flagAt(const std::vector<bool> &v, int i)
{
    if (i < 0 || i >= static_cast<int>(v.size()))
        throw TableError::subscript();
    return v[static_cast<size_t>(i)];
}
void setFlagAt(std::vector<bool> &v, int i, bool on)
{
    if (i < 0 || i >= static_cast<int>(v.size()))
        throw TableError::subscript();
    v[static_cast<size_t>(i)] = on;
}
} // namespace

bool clsTablePrint::mergeRow(int row) const { return flagAt(m_mergeRow, row); }
void clsTablePrint::setMergeRow(int row, bool on) { setFlagAt(m_mergeRow, row, on); }
bool clsTablePrint::mergeCol(int col) const { return flagAt(m_mergeCol, col); }
void clsTablePrint::setMergeCol(int col, bool on) { setFlagAt(m_mergeCol, col, on); }
bool clsTablePrint::mergeHeaderRow(int row) const { return flagAt(m_mergeHeaderRow, row); }
void clsTablePrint::setMergeHeaderRow(int row, bool on) { setFlagAt(m_mergeHeaderRow, row, on); }
bool clsTablePrint::mergeHeaderCol(int col) const { return flagAt(m_mergeHeaderCol, col); }
void clsTablePrint::setMergeHeaderCol(int col, bool on) { setFlagAt(m_mergeHeaderCol, col, on); }

} // namespace schedules
