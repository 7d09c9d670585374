#pragma once

#include "ui/core/colours.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <vector>

namespace ui {

// Colours are 0xBBGGRR integers throughout the program (blue in the high byte).

struct CellFont {
    QString name = QStringLiteral("Arial");
    double size = 8.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    bool operator==(const CellFont &) const = default;
};

enum class CellAlign { General, Left, Center, Right };

// The rectangle of text cells behind every grid of the program: the page
// grid, the template grid, the setup names grid and the schedule grids.
// Rows and columns count from 0. Setting Row or Col moves the current cell
// and collapses the selection onto it; RowSel/ColSel then extend it.
class GridModel : public QObject {
    Q_OBJECT
public:
    explicit GridModel(QObject *parent = nullptr);

    // Size. Growing adds empty rows/columns at the end, shrinking drops the last.
    int rows() const;
    void setRows(int n);
    int cols() const;
    void setCols(int n);
    int fixedRows() const;
    void setFixedRows(int n);
    int fixedCols() const;
    void setFixedCols(int n);

    // Current cell and selection end; the selection is the rectangle between.
    int row() const;
    void setRow(int r);
    int col() const;
    void setCol(int c);
    int rowSel() const;
    void setRowSel(int r);
    int colSel() const;
    void setColSel(int c);
    void setCursor(int r, int c);                       // Row, Col
    void select(int r1, int c1, int r2, int c2);        // Row, Col, RowSel, ColSel
    int selTop() const;
    int selBottom() const;
    int selLeft() const;
    int selRight() const;

    // Cell text.
    QString textMatrix(int r, int c) const;
    void setTextMatrix(int r, int c, const QString &text);
    QString text() const;                  // current cell
    void setText(const QString &text);

    // Clip text of the selection: cells of a row joined by TAB, rows by CR.
    // Writing pastes from the selection's top-left cell; text beyond the
    // selection is dropped, selected cells the text does not reach are emptied.
    QString clip() const;
    void setClip(const QString &text);

    // Per cell look. A colour of 0 shows the grid's background.
    Bgr cellColor(int r, int c) const;
    void setCellColor(int r, int c, Bgr color);
    CellFont cellFont(int r, int c) const;
    void setCellFont(int r, int c, const CellFont &font);
    CellAlign cellAlign(int r, int c) const;
    void setCellAlign(int r, int c, CellAlign align);
    QByteArray cellPicture(int r, int c) const;      // encoded image, empty for none
    void setCellPicture(int r, int c, const QByteArray &picture);

    // The same for the current cell, or for every cell of the selection.
    void setSelectionColor(Bgr color);
    void setSelectionFont(const CellFont &font);
    void setSelectionAlign(CellAlign align);

    // Columns and rows, in twips (1/1440 inch).
    int colWidth(int c) const;
    void setColWidth(int c, int twips);
    bool colMerge(int c) const;
    void setColMerge(int c, bool merge);
    int rowHeight(int r) const;
    void setRowHeight(int r, int twips);
    int defaultColWidth() const;
    int defaultRowHeight() const;

    // Cell geometry relative to the grid's top-left corner, in twips,
    // not counting scrolling.
    int cellLeft(int c) const;
    int cellTop(int r) const;

    // Whole grid.
    Bgr backColor() const;
    void setBackColor(Bgr color);
    Bgr backColorSel() const;
    void setBackColorSel(Bgr color);
    Bgr backColorFixed() const;
    void setBackColorFixed(Bgr color);
    CellFont font() const;                 // font of cells with none of their own
    void setFont(const CellFont &font);
    bool visible() const;
    void setVisible(bool visible);

    // Drawing is suspended between begin and end (nested); one changed()
    // follows the outermost end.
    void beginUpdate();
    void endUpdate();
    bool updating() const;

signals:
    void changed();         // contents, look or size changed
    void cursorChanged();   // current cell or selection moved

private:
    struct Cell {
        QString text;
        Bgr color = 0;
        bool hasFont = false;
        CellFont font;
        CellAlign align = CellAlign::General;
        QByteArray picture;
    };
    Cell &cell(int r, int c);
    const Cell *cellAt(int r, int c) const;
    void touch();
    void touchCursor();
    // A row or column count changed: the fixed ones, the cursor and the
    // selection's end kept inside it.
    void resized(int count, int &fixed, int &at, int &sel);
    // The cursor's row or column and the selection's end there (the same
    // one to move the end alone) both to `to`.
    void moveTo(int &at, int &sel, int to);
    int sizeOf(const std::vector<int> &sizes, int i, int standard) const;
    void setSize(std::vector<int> &sizes, int i, int twips);
    // Stores `value` and tells the views, unless it is what is there already.
    template <class T> void change(T &stored, const T &value);
    // A property of a cell that exists; otherwise nothing, or `none`.
    template <class T> void setCellValue(int r, int c, T Cell::*property, const T &value);
    template <class T> T cellValue(int r, int c, T Cell::*property, T none) const;
    // `set` on every cell of the selection, the views told once.
    template <class F> void forSelection(F set);

    int m_rows = 2;
    int m_cols = 2;
    int m_fixedRows = 1;
    int m_fixedCols = 1;
    int m_row = 1;
    int m_col = 1;
    int m_rowSel = 1;
    int m_colSel = 1;
    std::vector<std::vector<Cell>> m_cells;   // [row][col]
    std::vector<int> m_colWidths;             // -1: default
    std::vector<bool> m_colMerge;
    std::vector<int> m_rowHeights;            // -1: default
    Bgr m_back = colours::White;
    Bgr m_backSel = colours::GridSelection;
    Bgr m_backFixed = colours::Grey;
    CellFont m_font;
    bool m_visible = true;
    int m_updateDepth = 0;
    bool m_pendingChange = false;
    bool m_pendingCursor = false;
};

} // namespace ui
