#pragma once

#include "ui/core/colours.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>
#include <utility>

namespace ui {

class GridView;

// What a screen reader asks of a widget that draws a table itself: the
// widget's cells, row-major from 0, its first rows being the column headers
// and its first columns the row headers.
class CellTableSource {
public:
    virtual ~CellTableSource() = default;
    virtual int rows() const = 0;
    virtual int cols() const = 0;
    virtual int headerRows() const = 0;
    virtual int headerCols() const = 0;
    virtual QString name(int row, int col) const = 0;
    virtual QString description(int row, int col) const = 0;
    virtual QRect rect(int row, int col) const = 0;   // widget coordinates, empty: not on display
    virtual std::pair<int, int> current() const = 0;   // the cell the keys move, {-1, -1}: none
    virtual bool isSelected(int row, int col) const = 0;
    // The cell under a point of the widget: {-1, -1} outside the cells.
    virtual std::pair<int, int> cellAt(QPoint pos) const = 0;
};

// The accessible table of such a widget (Qt's table and table cell
// interfaces). Its cells are made on demand and kept for its lifetime; a
// cell the shrunken table no longer holds turns invalid.
class AccessibleCellTable : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    AccessibleCellTable(QWidget *widget, std::unique_ptr<CellTableSource> source);
    ~AccessibleCellTable() override;

    const CellTableSource &source() const { return *m_source; }
    int index(int row, int col) const;     // child index, -1 outside

    void *interface_cast(QAccessible::InterfaceType t) override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *iface) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int col) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface *> selectedCells() const override;
    QString columnDescription(int col) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return m_source->cols(); }
    int rowCount() const override { return m_source->rows(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // Cells are kept by position and check the table's size themselves.
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

private:
    std::unique_ptr<CellTableSource> m_source;
    mutable QHash<quint64, QAccessible::Id> m_cells;
};

// Whether anything hears the events below: a screen reader through the
// platform's accessibility bridge, or a listener set here.
bool readerListening();
// Hands an event to the screen reader, and to the listener.
void tellReader(QAccessibleEvent &event);
// A listener that hears every event told, also where the platform has no
// accessibility bridge (the offscreen platform the tests run on); empty: none.
void setReaderListener(std::function<void(QAccessibleEvent &)> listener);

// Tells screen readers that the cell at row, col of `widget`'s table has
// the reader's focus (sent only while accessibility is active and the widget
// has the keyboard focus).
void announceFocusedCell(QWidget *widget, int row, int col, int cols);

// Registers GridView's table with Qt's accessibility (idempotent; every
// GridView does it). A GridView's table is its whole model: the fixed rows
// are the column headers (a page's number and consultant rows), the fixed
// columns the row headers (the times); a cell's name is its text, the lines
// of a two-line booking joined, its description the name of its colour.
void installGridAccessibility();

// A cell's text as read aloud: the lines of a booking joined by ", ".
QString spokenCellText(const QString &text);

// The name of a cell colour ("Red"), empty for none (0), for the grid's own
// background and for pale yellow (a page's free cell); a colour without a
// name is read as its red, green and blue.
QString colourName(Bgr colour, Bgr background);

} // namespace ui
