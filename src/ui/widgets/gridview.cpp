#include "ui/widgets/gridview.h"

#include "ui/widgets/accessibletable.h"
#include "ui/widgets/qtkeys.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

namespace ui {

namespace {
constexpr int kGrip = 3;   // pixels either side of a header border that start a column drag

int buttonCode(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}
} // namespace

bool GridView::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::MouseButtonPress &&
        (watched == verticalScrollBar() || watched == horizontalScrollBar()) && hasFocus() && m_editorFocus &&
        m_editorFocus->isVisible())
        m_editorFocus->setFocus(Qt::OtherFocusReason);
    return QAbstractScrollArea::eventFilter(watched, e);
}

GridView::GridView(QWidget *parent) : QAbstractScrollArea(parent), m_own(new GridModel(this))
{
    installGridAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    // Scrolling never takes the focus from the grid or from a cell editor
    // laid over it, so a typed entry is still there for its Tab. A press on
    // a scroll bar hands the focus to the view (the nearest widget that takes
    // it by click); the editor that had it gets it back at once.
    verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    horizontalScrollBar()->setFocusPolicy(Qt::NoFocus);
    verticalScrollBar()->installEventFilter(this);
    horizontalScrollBar()->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        if (now == this && old && viewport()->isAncestorOf(old))
            m_editorFocus = old;
    });
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    connect(m_own, &GridModel::changed, this, &GridView::onChanged);
    connect(m_own, &GridModel::cursorChanged, this, &GridView::onCursorChanged);
}

// ---- model --------------------------------------------------------------

void GridView::setModel(GridModel *model)
{
    GridModel *external = model == m_own ? nullptr : model;
    if (m_model == external)
        return;
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
    m_model = external;
    if (external) {
        connect(external, &GridModel::changed, this, &GridView::onChanged);
        connect(external, &GridModel::cursorChanged, this, &GridView::onCursorChanged);
        connect(external, &QObject::destroyed, this, [this] {
            m_model = nullptr;
            onChanged();
        });
    }
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    m_lastRow = m_lastCol = -1;
    onChanged();
    onCursorChanged();
}

GridModel *GridView::model() const
{
    return m_model ? m_model.data() : m_own;
}

void GridView::onChanged()
{
    m_geomDirty = true;
    updateScrollBars();
    viewport()->update();
    announceChange();
}

void GridView::onCursorChanged()
{
    const GridModel *m = model();
    if (m->row() != m_lastRow || m->col() != m_lastCol) {
        m_lastRow = m->row();
        m_lastCol = m->col();
        ensureVisible(m_lastRow, m_lastCol);
        announceCurrentCell();
    }
    viewport()->update();
}

// ---- screen readers ------------------------------------------------------

// The current cell takes the reader's focus whenever it moves while the grid
// has the keyboard focus, so the time, consultant and booking are read out.
void GridView::announceCurrentCell()
{
    const GridModel *m = model();
    m_spokenText = m->text();
    if (m->row() < m->rows())
        announceFocusedCell(this, m->row(), m->col(), m->cols());
}

// A new size resets the reader's table; otherwise its cells are told to read
// again, and the current cell says its new text (another station's booking
// arriving under the cursor).
void GridView::announceChange()
{
    const GridModel *m = model();
    if (!readerListening()) {
        m_spokenText = m->text();
        return;
    }
    if (m->rows() != m_spokenRows || m->cols() != m_spokenCols) {
        m_spokenRows = m->rows();
        m_spokenCols = m->cols();
        QAccessibleTableModelChangeEvent reset(this, QAccessibleTableModelChangeEvent::ModelReset);
        tellReader(reset);
    } else if (m->rows() > 0 && m->cols() > 0) {
        QAccessibleTableModelChangeEvent cells(this, QAccessibleTableModelChangeEvent::DataChanged);
        cells.setFirstRow(0);
        cells.setFirstColumn(0);
        cells.setLastRow(m->rows() - 1);
        cells.setLastColumn(m->cols() - 1);
        tellReader(cells);
    }
    const QString text = m->text();
    if (text == m_spokenText)
        return;
    m_spokenText = text;
    if (m->row() >= m->rows() || m->col() >= m->cols())
        return;
    QAccessibleEvent named(this, QAccessible::NameChanged);
    named.setChild(m->row() * m->cols() + m->col());
    tellReader(named);
}

// ---- geometry -----------------------------------------------------------

double GridView::textScale() const
{
    constexpr double kUsualPoints = 10.0;
    return std::max(1.0, QApplication::font().pointSizeF() / kUsualPoints);
}

int GridView::twipsToPixelsX(int twips) const { return qRound(twips * logicalDpiX() * textScale() / 1440.0); }
int GridView::twipsToPixelsY(int twips) const { return qRound(twips * logicalDpiY() * textScale() / 1440.0); }
int GridView::pixelsToTwipsX(int pixels) const { return qRound(pixels * 1440.0 / (logicalDpiX() * textScale())); }

// Rebuilt lazily: also covers a paint that arrives while the model is
// between beginUpdate and endUpdate and its sizes no longer match.
void GridView::ensureGeometry() const
{
    const GridModel *m = model();
    const int dx = logicalDpiX(), dy = logicalDpiY();
    const double scale = textScale();
    if (!m_geomDirty && dx == m_dpiX && dy == m_dpiY && scale == m_scale && int(m_colX.size()) == m->cols() + 1
        && int(m_rowY.size()) == m->rows() + 1)
        return;
    m_dpiX = dx;
    m_dpiY = dy;
    m_scale = scale;
    m_colX.assign(m->cols() + 1, 0);
    for (int c = 0; c < m->cols(); ++c)
        m_colX[c + 1] = m_colX[c] + qRound(m->colWidth(c) * dx * scale / 1440.0);
    m_rowY.assign(m->rows() + 1, 0);
    for (int r = 0; r < m->rows(); ++r)
        m_rowY[r + 1] = m_rowY[r] + qRound(m->rowHeight(r) * dy * scale / 1440.0);
    m_geomDirty = false;
}

int GridView::fixedWidth() const
{
    ensureGeometry();
    return m_colX[model()->fixedCols()];
}

int GridView::fixedHeight() const
{
    ensureGeometry();
    return m_rowY[model()->fixedRows()];
}

int GridView::topRow() const
{
    const GridModel *m = model();
    return std::min(m->fixedRows() + verticalScrollBar()->value(), std::max(m->fixedRows(), m->rows() - 1));
}

int GridView::leftCol() const
{
    const GridModel *m = model();
    return std::min(m->fixedCols() + horizontalScrollBar()->value(), std::max(m->fixedCols(), m->cols() - 1));
}

void GridView::setTopRow(int row)
{
    verticalScrollBar()->setValue(row - model()->fixedRows());
}

void GridView::setLeftCol(int col)
{
    horizontalScrollBar()->setValue(col - model()->fixedCols());
}

GridViewAxis GridView::rowAxis() const
{
    ensureGeometry();
    return {m_rowY, model()->fixedRows()};
}

GridViewAxis GridView::colAxis() const
{
    ensureGeometry();
    return {m_colX, model()->fixedCols()};
}

void GridView::updateScrollBars()
{
    ensureGeometry();
    const GridModel *m = model();
    const int availH = viewport()->height() - fixedHeight();
    const int availW = viewport()->width() - fixedWidth();
    verticalScrollBar()->setRange(0, std::max(0, rowAxis().lastFirstFor(availH) - m->fixedRows()));
    horizontalScrollBar()->setRange(0, std::max(0, colAxis().lastFirstFor(availW) - m->fixedCols()));
    verticalScrollBar()->setPageStep(pageRows());
    horizontalScrollBar()->setPageStep(std::max(1, int(visibleCols().size()) - m->fixedCols() - 1));
}

std::vector<GridView::Span> GridView::visibleRows() const
{
    return rowAxis().visible(topRow(), viewport()->height());
}

std::vector<GridView::Span> GridView::visibleCols() const
{
    return colAxis().visible(leftCol(), viewport()->width());
}

// Scrollable rows wholly on display from the top row: one PageDown.
int GridView::pageRows() const
{
    return rowAxis().wholeFrom(topRow(), viewport()->height() - fixedHeight());
}

QRect GridView::cellRect(int row, int col) const
{
    const GridModel *m = model();
    if (row < 0 || col < 0 || row >= m->rows() || col >= m->cols())
        return {};
    const GridViewAxis rows = rowAxis(), cols = colAxis();
    return QRect(cols.position(col, leftCol()), rows.position(row, topRow()), cols.size(col), rows.size(row));
}

QRect GridView::cellRectInWidget(int row, int col) const
{
    const QRect r = cellRect(row, col);
    return r.isNull() ? r : r.translated(viewport()->pos());
}

int GridView::rowAt(int y) const
{
    return model()->visible() ? GridViewAxis::indexAt(visibleRows(), y) : -1;
}

int GridView::colAt(int x) const
{
    return model()->visible() ? GridViewAxis::indexAt(visibleCols(), x) : -1;
}

void GridView::ensureVisible(int row, int col)
{
    // Before the first show the viewport has no real size yet; showEvent
    // brings the current cell into view then.
    if (!isVisible())
        return;
    ensureGeometry();
    const GridModel *m = model();
    if (row >= m->fixedRows() && row < m->rows())
        setTopRow(rowAxis().firstShowing(row, topRow(), viewport()->height() - fixedHeight()));
    if (col >= m->fixedCols() && col < m->cols())
        setLeftCol(colAxis().firstShowing(col, leftCol(), viewport()->width() - fixedWidth()));
}

void GridView::scrollContentsBy(int, int)
{
    viewport()->update();
    emit scrolled();
}

void GridView::resizeEvent(QResizeEvent *e)
{
    QAbstractScrollArea::resizeEvent(e);
    updateScrollBars();
}

void GridView::showEvent(QShowEvent *e)
{
    QAbstractScrollArea::showEvent(e);
    updateScrollBars();
    m_lastRow = model()->row();
    m_lastCol = model()->col();
    ensureVisible(m_lastRow, m_lastCol);
}

QSize GridView::sizeHint() const
{
    return QSize(480, 320);
}

// ---- keys ---------------------------------------------------------------

void GridView::consumeKey() { m_consumed = true; }
void GridView::setClickMovesCursor(bool on) { m_clickMoves = on; }
bool GridView::clickMovesCursor() const { return m_clickMoves; }

bool GridView::event(QEvent *e)
{
    switch (e->type()) {
    case QEvent::KeyPress: {
        // Tab belongs to the grid's owner, not to focus chain navigation.
        auto *k = static_cast<QKeyEvent *>(e);
        if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab)
            && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(k);
            return true;
        }
        break;
    }
    case QEvent::FocusIn:
        viewport()->update();   // the focus frame changes look
        // Queued: Qt tells the reader of the grid itself after this event.
        QMetaObject::invokeMethod(this, &GridView::announceCurrentCell, Qt::QueuedConnection);
        break;
    case QEvent::FocusOut:
        viewport()->update();
        break;
    case QEvent::ApplicationFontChange:
        onChanged();   // cells follow the new text size
        break;
    default:
        break;
    }
    return QAbstractScrollArea::event(e);
}

void GridView::keyPressEvent(QKeyEvent *e)
{
    const KeyStroke stroke = translateKey(e);
    const int key = stroke.key;
    Qt::KeyboardModifiers mods = e->modifiers();
    if (e->key() == Qt::Key_Backtab)
        mods |= Qt::ShiftModifier;
    const QPointer<GridView> self(this);
    m_consumed = false;
    emit keyDown(key, stroke.shift);
    if (!self)
        return;
    if (m_consumed) {
        e->accept();
        return;
    }
    const QChar ch = stroke.typed;
    if (!ch.isNull()) {
        m_consumed = false;
        emit keyPressed(ch);
        if (!self)
            return;
        if (m_consumed) {
            e->accept();
            return;
        }
    }
    if (moveByKey(key, mods) || !ch.isNull())
        e->accept();
    else
        e->ignore();   // F-keys and the like go on to the window
}

bool GridView::moveByKey(int key, Qt::KeyboardModifiers mods)
{
    GridModel *m = model();
    const int fr = m->fixedRows(), fc = m->fixedCols();
    const bool extend = mods & Qt::ShiftModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    int r = extend ? m->rowSel() : m->row();
    int c = extend ? m->colSel() : m->col();
    switch (key) {
    case Qt::Key_Up: --r; break;
    case Qt::Key_Down: ++r; break;
    case Qt::Key_Left: --c; break;
    case Qt::Key_Right: ++c; break;
    case Qt::Key_PageUp: r -= pageRows(); break;
    case Qt::Key_PageDown: r += pageRows(); break;
    case Qt::Key_Home:
        c = fc;
        if (ctrl)
            r = fr;
        break;
    case Qt::Key_End:
        c = m->cols() - 1;
        if (ctrl)
            r = m->rows() - 1;
        break;
    default:
        return false;
    }
    if (m->rows() <= fr || m->cols() <= fc)
        return true;
    r = std::clamp(r, fr, m->rows() - 1);
    c = std::clamp(c, fc, m->cols() - 1);
    moveTo(r, c, extend);
    return true;
}

// The cursor to a cell, or with `extend` the selection stretched to it; the
// cell brought into view.
void GridView::moveTo(int r, int c, bool extend)
{
    GridModel *m = model();
    if (extend) {
        m->beginUpdate();
        m->setRowSel(r);
        m->setColSel(c);
        m->endUpdate();
    } else {
        m->setCursor(r, c);
    }
    ensureVisible(r, c);
}

// ---- mouse --------------------------------------------------------------

// The column whose right border is within kGrip pixels of pos in the fixed
// rows. On a tie (a collapsed column) the later column wins, so a column
// dragged down to nothing can be pulled open again.
int GridView::resizeBorderAt(QPoint pos) const
{
    const GridModel *m = model();
    if (!m->visible() || m->fixedRows() == 0 || pos.y() < 0 || pos.y() >= fixedHeight())
        return -1;
    int best = -1, bestDist = kGrip + 1;
    for (const Span &s : visibleCols()) {
        const int d = std::abs(pos.x() - (s.pos + s.size));
        if (d <= bestDist) {
            best = s.index;
            bestDist = d;
        }
    }
    return bestDist <= kGrip ? best : -1;
}

void GridView::mousePressEvent(QMouseEvent *e)
{
    const QPoint pos = e->position().toPoint();
    if (e->button() == Qt::LeftButton) {
        const int border = resizeBorderAt(pos);
        if (border >= 0) {
            m_resizeCol = border;
            m_resizeLeft = cellRect(0, border).left();
            return;
        }
    }
    GridModel *m = model();
    const int shift = shiftState(e->modifiers());
    const int r = rowAt(pos.y()), c = colAt(pos.x());
    if (m_clickMoves && e->button() == Qt::LeftButton && r >= m->fixedRows() && c >= m->fixedCols()) {
        moveTo(r, c, shift & 1);
        m_dragSelect = true;
    }
    emit mouseDown(buttonCode(e->button()), shift, r, c);
}

void GridView::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint pos = e->position().toPoint();
    if (m_resizeCol >= 0) {
        model()->setColWidth(m_resizeCol, pixelsToTwipsX(std::max(0, pos.x() - m_resizeLeft)));
        return;
    }
    if (m_dragSelect && (e->buttons() & Qt::LeftButton)) {
        GridModel *m = model();
        int r = rowAt(pos.y()), c = colAt(pos.x());
        if (r < 0 || c < 0)
            return;
        r = std::max(r, m->fixedRows());
        c = std::max(c, m->fixedCols());
        m->beginUpdate();
        m->setRowSel(r);
        m->setColSel(c);
        m->endUpdate();
        ensureVisible(r, c);
        return;
    }
    if (e->buttons() == Qt::NoButton) {
        if (resizeBorderAt(pos) >= 0)
            viewport()->setCursor(Qt::SplitHCursor);
        else
            viewport()->unsetCursor();
    }
}

void GridView::mouseReleaseEvent(QMouseEvent *e)
{
    if (m_resizeCol >= 0 && e->button() == Qt::LeftButton) {
        const int col = m_resizeCol;
        m_resizeCol = -1;
        emit columnResized(col);
        return;
    }
    if (e->button() == Qt::LeftButton)
        m_dragSelect = false;
    const QPoint pos = e->position().toPoint();
    emit mouseUp(buttonCode(e->button()), shiftState(e->modifiers()), rowAt(pos.y()), colAt(pos.x()));
}

void GridView::mouseDoubleClickEvent(QMouseEvent *e)
{
    const QPoint pos = e->position().toPoint();
    if (e->button() != Qt::LeftButton || resizeBorderAt(pos) >= 0)
        return;
    const int r = rowAt(pos.y()), c = colAt(pos.x());
    if (r >= 0 && c >= 0)
        emit doubleClicked(r, c);
}

} // namespace ui
