#pragma once

#include "ui/core/colours.h"
#include "ui/core/gridmodel.h"
#include "ui/core/outputsurface.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace schedules {

// A font as the table holds it: shared by the cells that use it, so that the
// engine changes the surface's font only when the next cell has another one.
using FontRef = std::shared_ptr<const ui::CellFont>;

// A refused property value or an index outside the table.
class TableError : public std::runtime_error {
public:
    static constexpr int InvalidPropertyValue = 380;
    static constexpr int SubscriptOutOfRange = 9;

    TableError(int number, const QString &description);
    int number() const { return m_number; }
    QString description() const { return m_description; }
    static TableError invalidValue();
    static TableError subscript();

private:
    int m_number;
    QString m_description;
};

// What DrawTable ended with: nothing to say, or the failure that stopped it.
struct DrawResult {
    bool ok = true;
    int number = 0;
    QString description;
    QString message() const { return QString::number(number) + QLatin1Char(' ') + description; }
};

// Lays out a table of text cells (a block of header rows, data rows, an
// optional footer row) and draws it page after page on an output surface.
// The engine knows nothing of pages: when one is full it calls the owner's
// new-page handler, which starts the next one.
//
// Order of use: setHasFooter, then setRows, setCols, setHeaderRows (each of
// these empties every table), then the contents, then drawTable.
class clsTablePrint {
public:
    // The owner starts a new page on the surface. It may put CurrentY itself
    // and set topMarginAlreadySet, else the engine puts it at MarginTop;
    // cancel stops the drawing.
    using NewPageHandler =
        std::function<void(ui::OutputSurface &, bool &topMarginAlreadySet, bool &cancel, int lastPrintedRow)>;

    clsTablePrint();

    // ---- sizes; every assignment re-creates the tables empty
    int rows() const { return m_rows; }
    void setRows(int n);          // < 0: error 380; 0: subscript error, table unusable
    int cols() const { return m_cols; }
    void setCols(int n);          // < 1: error 380
    int headerRows() const { return m_headerRows; }
    void setHeaderRows(int n);    // < 1: error 380
    bool hasFooter() const { return m_hasFooter; }
    void setHasFooter(bool on) { m_hasFooter = on; }

    // ---- scalar settings
    double marginLeft = 0, marginTop = 0, marginBottom = 0;
    int lineThickness = 1, headerLineThickness = 1, footerLineThickness = 1;
    double cellXOffset = 0, cellYOffset = 0;
    bool printHeaderOnEveryPage = false;
    bool centerMergedHeader = false;
    double rowHeightMin = 0;
    double headerRowHeightMin = 0;   // kept, not used by the layout (fixed 275 floor)
    double footerRowHeightMin = 0;
    bool resizeCellsToPicHeight = false;

    // ---- cells; a negative row and/or column writes every row and/or column
    QString textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);
    FontRef fontMatrix(int row, int col) const;
    void setFontMatrix(int row, int col, const FontRef &font);
    QByteArray pictureMatrix(int row, int col) const;
    void setPictureMatrix(int row, int col, const QByteArray &picture);
    ui::Bgr cellColor(int row, int col) const;
    void setCellColor(int row, int col, ui::Bgr colour);
    QString headerText(int row, int col) const;
    void setHeaderText(int row, int col, const QString &text);
    FontRef headerFont(int row, int col) const;
    void setHeaderFont(int row, int col, const FontRef &font);

    // ---- columns; a negative column writes every column
    double colWidth(int col) const;
    void setColWidth(int col, double width);
    int colAlignment(int col) const;
    void setColAlignment(int col, int alignment);   // 0 left, 1 centre, 2 right
    FontRef colFont(int col) const;                 // the font of row 0
    void setColFont(int col, const FontRef &font);  // every row of the column
    QString footerText(int col) const;
    void setFooterText(int col, const QString &text);
    FontRef footerFont(int col) const;
    void setFooterFont(int col, const FontRef &font);

    // ---- merging (no wildcards)
    bool mergeRow(int row) const;
    void setMergeRow(int row, bool on);
    bool mergeCol(int col) const;
    void setMergeCol(int col, bool on);
    bool mergeHeaderRow(int row) const;
    void setMergeHeaderRow(int row, bool on);
    bool mergeHeaderCol(int col) const;
    void setMergeHeaderCol(int col, bool on);

    void setNewPageHandler(NewPageHandler handler) { m_newPage = std::move(handler); }

    // Data rows, from the first, that fit on one page of the surface.
    // Leaves the surface on the last font measured.
    double calcNumRowsPerPage(ui::OutputSurface &out, bool withHeader) const;
    double calcNumRowsPerPage(ui::OutputSurface &out, bool withHeader, bool withFooter) const;

    // Draws the data rows from rowToStart on, from the surface's CurrentY on
    // the current page, counted as page startPage. On return CurrentY lies
    // just below the table and the surface has its font back. A failure
    // stops the drawing; what was drawn stays, and the result says why.
    DrawResult drawTable(ui::OutputSurface &out, int rowToStart, int startPage);

    // The layout as a drawing computes it. Each data row is as tall as its
    // tallest cell: a text wrapped within its column (the first column keeps
    // one line per line break), or a picture when pictures size the rows;
    // never lower than RowHeightMin. One height serves every header row.
    struct Heights {
        std::vector<double> rows;     // each data row's height, inset included
        double header = 0, footer = 0;
        std::vector<std::vector<QString>> lines;   // [row][col]: the text as drawn, broken into lines
        double rowsHeight(int first, int last) const;   // rows first..last together
    };
    Heights heights(ui::OutputSurface &out) const;

private:
    struct Cell {
        QString text;
        FontRef font;
        QByteArray picture;
        ui::Bgr colour = 0;
    };
    struct HeaderCell {
        QString text;
        FontRef font;
    };
    void recreate();
    // Columns or header rows: at least one; the tables are made again.
    void setSize(int &count, int n);
    void checkCell(int row, int col) const;
    void checkHeader(int row, int col) const;
    void checkCol(int col) const;
    void checkFooter(int col) const;
    // A cell or header cell by its index, refused past the table.
    const Cell &cellAt(int row, int col) const;
    Cell &cellAt(int row, int col);
    const HeaderCell &headerAt(int row, int col) const;
    HeaderCell &headerAt(int row, int col);
    // Sets `col`'s entry of a per-column list, or every column's for -1,
    // each index checked by `check` first.
    template <class T>
    void setEach(std::vector<T> &list, int col, const T &value, void (clsTablePrint::*check)(int) const);
    template <class T>
    const T &at(const std::vector<T> &list, int col, void (clsTablePrint::*check)(int) const) const;
    template <class T> void setCells(int row, int col, T Cell::*property, const T &value);
    // Every (row, column) of `rows` rows that `row` and `col` name, -1 for all.
    template <class F> void forMatches(int rows, int row, int col, F f) const;
    template <class F> void forCells(int row, int col, F f);
    template <class F> void forHeaders(int row, int col, F f);
    template <class F> void forCols(int col, F f);
    void putFont(ui::OutputSurface &out, const FontRef &font, FontRef &current) const;
    Heights measure(ui::OutputSurface &out, FontRef &current) const;
    void drawPage(ui::OutputSurface &out, int first, int last, bool withHeader, double &y,
                  FontRef &current, const Heights &h);
    int rowsThatFit(const Heights &h, int first, double room) const;
    void drawPicture(ui::OutputSurface &out, const QByteArray &picture, int col, double cellLeft,
                     const QRect &textRect, int top, int bottom);

    int m_rows = 0, m_cols = 0, m_headerRows = 0;
    bool m_hasFooter = true;
    bool m_usable = false;     // false after Rows = 0 until a valid size
    std::vector<std::vector<Cell>> m_cells;           // [row][col]
    std::vector<std::vector<HeaderCell>> m_header;    // [row][col]
    std::vector<double> m_colWidth;
    std::vector<int> m_colAlign;
    std::vector<bool> m_mergeCol, m_mergeHeaderCol;
    std::vector<bool> m_mergeRow, m_mergeHeaderRow;
    std::vector<QString> m_footerText;
    std::vector<FontRef> m_footerFont;
    NewPageHandler m_newPage;
};

} // namespace schedules
