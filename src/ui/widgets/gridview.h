#pragma once

#include "ui/core/gridmodel.h"
#include "ui/widgets/gridviewaxis.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QPixmap>
#include <QPointer>
#include <vector>

namespace ui {

// Draws a GridModel and turns the user's keys and clicks into the events the
// windows handle (key down/press, mouse down/up, double click, scroll).
// Fixed rows and columns stay in place; the rest scrolls by whole rows and
// columns. Sizes in the model are twips, converted at the screen's logical DPI.
class GridView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit GridView(QWidget *parent = nullptr);

    // A view always has a model: its own until another is set, and again
    // when the one set is destroyed or nullptr is passed.
    void setModel(GridModel *model);
    GridModel *model() const;

    // Cell rectangle in viewport pixels (scrolled cells may lie outside the
    // viewport), and the same in the GridView's own coordinates.
    QRect cellRect(int row, int col) const;
    QRect cellRectInWidget(int row, int col) const;
    int rowAt(int y) const;      // viewport y -> row, -1 outside the cells
    int colAt(int x) const;      // viewport x -> column, -1 outside the cells

    void ensureVisible(int row, int col);
    int topRow() const;          // first scrollable row on display
    void setTopRow(int row);
    int leftCol() const;         // first scrollable column on display
    void setLeftCol(int col);

    // The desktop's larger text: an application font above the usual size
    // enlarges the cells and their text alike (1 at the usual size or below).
    double textScale() const;

    int twipsToPixelsX(int twips) const;
    int twipsToPixelsY(int twips) const;
    int pixelsToTwipsX(int pixels) const;

    // Called from a keyDown/keyPressed handler: the view does not act on the key.
    void consumeKey();
    // When false a click never moves the current cell; the owner does it.
    void setClickMovesCursor(bool on);
    bool clickMovesCursor() const;

signals:
    void keyDown(int qtKey, int shift);     // every key; Shift+Tab arrives as Key_Tab with Shift
    void keyPressed(QChar ch);              // printable, Enter (13), Tab (9), Backspace (8)
    void mouseDown(int button, int shift, int row, int col);
    void mouseUp(int button, int shift, int row, int col);
    void doubleClicked(int row, int col);
    void scrolled();
    void columnResized(int col);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void scrollContentsBy(int dx, int dy) override;
    QSize sizeHint() const override;

private:
    using Span = GridSpan;
    void onChanged();
    void onCursorChanged();
    void announceCurrentCell();
    void announceChange();
    void ensureGeometry() const;
    void updateScrollBars();
    int fixedWidth() const;
    int fixedHeight() const;
    // The rows and the columns in pixels (geometry brought up to date first).
    GridViewAxis rowAxis() const;
    GridViewAxis colAxis() const;
    std::vector<Span> visibleRows() const;
    std::vector<Span> visibleCols() const;
    int pageRows() const;
    bool moveByKey(int key, Qt::KeyboardModifiers mods);
    void moveTo(int r, int c, bool extend);
    int resizeBorderAt(QPoint pos) const;
    void paintCell(QPainter &p, int r, int c, const QRect &rect);
    QPixmap picture(const QByteArray &bytes);

    GridModel *m_own;
    QPointer<GridModel> m_model;
    QPointer<QWidget> m_editorFocus;   // a cell editor that had the focus before a scroll bar press
    // Pixel offsets of every row and column edge, rebuilt after each change.
    mutable std::vector<int> m_colX;
    mutable std::vector<int> m_rowY;
    mutable bool m_geomDirty = true;
    mutable int m_dpiX = 96;
    mutable int m_dpiY = 96;
    mutable double m_scale = 1.0;
    bool m_consumed = false;
    bool m_clickMoves = true;
    bool m_dragSelect = false;
    int m_resizeCol = -1;
    int m_resizeLeft = 0;
    int m_lastRow = -1;
    int m_lastCol = -1;
    QHash<QByteArray, QPixmap> m_pictures;
    // What screen readers were last told: the grid's size and the current cell's text.
    int m_spokenRows = -1;
    int m_spokenCols = -1;
    QString m_spokenText;
};

} // namespace ui
