#include "ui/widgets/accessibletable.h"

#include "ui/widgets/gridview.h"

#include <QRegularExpression>
#include <QStringList>
#include <QWindow>

#include <vector>

namespace ui {

namespace {

struct NamedColour {
    Bgr value;
    const char *name;
};

// The book toolbar's paints under the names of their buttons, then the
// program's other cell colours.
constexpr NamedColour kNames[] = {
    {colours::Cyan, "Cyan"},
    {colours::Red, "Red"},
    {colours::Amber, "Amber"},
    {colours::Green, "Green"},
    {colours::Magenta, "Magenta"},
    {colours::LightBlue, "Light Blue"},
    {colours::LightPurple, "Light Purple"},
    {colours::Grey, "Grey"},
    {colours::Desktop, "Grey Blue"},
    {colours::BlockSelection, "Dark Blue"},
    {colours::Yellow, "Yellow"},
    {colours::White, "White"},
    {colours::LightCyan, "Light Cyan"},
    {colours::LightGrey, "Light Grey"},
};

// The header cells that name a column (its cells in the header rows) or,
// with col -1, a row (its cells in the header columns).
std::vector<std::pair<int, int>> headerPlaces(const CellTableSource &s, int row, int col)
{
    std::vector<std::pair<int, int>> out;
    if (col >= 0)
        for (int r = 0; r < s.headerRows(); ++r)
            out.emplace_back(r, col);
    else
        for (int c = 0; c < s.headerCols(); ++c)
            out.emplace_back(row, c);
    return out;
}

// Their texts, the empty ones left out.
QString headerNames(const CellTableSource &s, int row, int col)
{
    QStringList parts;
    for (const auto &[r, c] : headerPlaces(s, row, col))
        if (const QString t = s.name(r, c).trimmed(); !t.isEmpty())
            parts << t;
    return parts.join(QStringLiteral(", "));
}

AccessibleCellTable *tableOf(QWidget *w)
{
    return w ? dynamic_cast<AccessibleCellTable *>(QAccessible::queryAccessibleInterface(w)) : nullptr;
}

class CellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    CellAccessible(QWidget *widget, int row, int col) : m_widget(widget), m_row(row), m_col(col) {}

    bool isValid() const override
    {
        const AccessibleCellTable *t = owner();
        return t && m_row < t->source().rows() && m_col < t->source().cols();
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_widget ? m_widget->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return owner(); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        switch (t) {
        case QAccessible::Name: return owner()->source().name(m_row, m_col);
        case QAccessible::Description: return owner()->source().description(m_row, m_col);
        default: return {};
        }
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = owner()->source().rect(m_row, m_col);
        return r.isEmpty() ? QRect() : QRect(m_widget->mapToGlobal(r.topLeft()), r.size());
    }

    QAccessible::Role role() const override
    {
        const AccessibleCellTable *t = owner();
        if (t && m_row < t->source().headerRows())
            return QAccessible::ColumnHeader;
        if (t && m_col < t->source().headerCols())
            return QAccessible::RowHeader;
        return QAccessible::Cell;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        if (!m_widget->isVisible())
            s.invisible = true;
        const QRect r = owner()->source().rect(m_row, m_col);
        if (r.isEmpty() || !m_widget->rect().intersects(r))
            s.offscreen = true;
        if (isHeader())
            return s;
        s.focusable = true;
        s.selectable = true;
        const bool current = owner()->source().current() == std::pair(m_row, m_col);
        s.focused = current && m_widget->hasFocus();
        s.active = current;
        s.selected = isSelected();
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        return t == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface *>(this) : nullptr;
    }

    bool isSelected() const override
    {
        return isValid() && !isHeader() && owner()->source().isSelected(m_row, m_col);
    }
    QList<QAccessibleInterface *> columnHeaderCells() const override { return headerCells(-1, m_col); }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return headerCells(m_row, -1); }
    int columnIndex() const override { return m_col; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return owner(); }

private:
    AccessibleCellTable *owner() const { return tableOf(m_widget); }
    bool isHeader() const
    {
        const CellTableSource &s = owner()->source();
        return m_row < s.headerRows() || m_col < s.headerCols();
    }
    // A body cell's headers; a header cell has none.
    QList<QAccessibleInterface *> headerCells(int row, int col) const
    {
        QList<QAccessibleInterface *> out;
        if (isValid() && !isHeader())
            for (const auto &[r, c] : headerPlaces(owner()->source(), row, col))
                out << owner()->cellAt(r, c);
        return out;
    }

    QPointer<QWidget> m_widget;
    int m_row;
    int m_col;
};

// ---- GridView's table ---------------------------------------------------------

class GridSource : public CellTableSource {
public:
    explicit GridSource(GridView *view) : m_view(view) {}
    int rows() const override { return m()->rows(); }
    int cols() const override { return m()->cols(); }
    int headerRows() const override { return m()->fixedRows(); }
    int headerCols() const override { return m()->fixedCols(); }
    QString name(int row, int col) const override { return spokenCellText(m()->textMatrix(row, col)); }
    QString description(int row, int col) const override
    {
        if (row < headerRows() || col < headerCols())
            return {};
        return colourName(m()->cellColor(row, col), m()->backColor());
    }
    QRect rect(int row, int col) const override
    {
        return m()->visible() ? m_view->cellRectInWidget(row, col) : QRect();
    }
    std::pair<int, int> current() const override { return {m()->row(), m()->col()}; }
    bool isSelected(int row, int col) const override
    {
        return row >= m()->selTop() && row <= m()->selBottom() && col >= m()->selLeft() && col <= m()->selRight();
    }
    std::pair<int, int> cellAt(QPoint pos) const override
    {
        const QPoint p = m_view->viewport()->mapFrom(m_view, pos);
        const int r = m_view->rowAt(p.y()), c = m_view->colAt(p.x());
        return r >= 0 && c >= 0 ? std::pair(r, c) : std::pair(-1, -1);
    }

private:
    const GridModel *m() const { return m_view->model(); }
    GridView *m_view;
};

QAccessibleInterface *gridFactory(const QString &key, QObject *object)
{
    if (key == QLatin1String("ui::GridView") && object && object->isWidgetType()) {
        auto *view = static_cast<GridView *>(object);
        return new AccessibleCellTable(view, std::make_unique<GridSource>(view));
    }
    return nullptr;
}

} // namespace

// ---- the table ------------------------------------------------------------------

AccessibleCellTable::AccessibleCellTable(QWidget *widget, std::unique_ptr<CellTableSource> source)
    : QAccessibleWidget(widget, QAccessible::Table), m_source(std::move(source))
{
}

AccessibleCellTable::~AccessibleCellTable()
{
    for (QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
}

void *AccessibleCellTable::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

int AccessibleCellTable::index(int row, int col) const
{
    if (row < 0 || col < 0 || row >= m_source->rows() || col >= m_source->cols())
        return -1;
    return row * m_source->cols() + col;
}

int AccessibleCellTable::childCount() const
{
    return m_source->rows() * m_source->cols();
}

QAccessibleInterface *AccessibleCellTable::child(int index) const
{
    const int cols = m_source->cols();
    if (index < 0 || index >= childCount() || cols == 0)
        return nullptr;
    return cellAt(index / cols, index % cols);
}

int AccessibleCellTable::indexOfChild(const QAccessibleInterface *iface) const
{
    if (!iface || iface->parent() != this)
        return -1;
    auto *cell = const_cast<QAccessibleInterface *>(iface)->tableCellInterface();
    return cell ? index(cell->rowIndex(), cell->columnIndex()) : -1;
}

QAccessibleInterface *AccessibleCellTable::childAt(int x, int y) const
{
    const auto [r, c] = m_source->cellAt(widget()->mapFromGlobal(QPoint(x, y)));
    return cellAt(r, c);
}

QAccessibleInterface *AccessibleCellTable::focusChild() const
{
    if (widget()->hasFocus()) {
        const auto [r, c] = m_source->current();
        if (QAccessibleInterface *cell = cellAt(r, c))
            return cell;
    }
    return QAccessibleWidget::focusChild();
}

QAccessibleInterface *AccessibleCellTable::cellAt(int row, int col) const
{
    if (index(row, col) < 0)
        return nullptr;
    const quint64 key = quint64(quint32(row)) << 32 | quint32(col);
    auto it = m_cells.constFind(key);
    if (it != m_cells.constEnd())
        return QAccessible::accessibleInterface(*it);
    auto *iface = new CellAccessible(widget(), row, col);
    m_cells.insert(key, QAccessible::registerAccessibleInterface(iface));
    return iface;
}

int AccessibleCellTable::selectedCellCount() const
{
    return int(selectedCells().size());
}

QList<QAccessibleInterface *> AccessibleCellTable::selectedCells() const
{
    QList<QAccessibleInterface *> out;
    for (int r = m_source->headerRows(); r < m_source->rows(); ++r)
        for (int c = m_source->headerCols(); c < m_source->cols(); ++c)
            if (m_source->isSelected(r, c))
                out << cellAt(r, c);
    return out;
}

QString AccessibleCellTable::columnDescription(int col) const { return headerNames(*m_source, -1, col); }
QString AccessibleCellTable::rowDescription(int row) const { return headerNames(*m_source, row, -1); }

// ---- helpers ------------------------------------------------------------------

namespace {
std::function<void(QAccessibleEvent &)> &listener()
{
    static std::function<void(QAccessibleEvent &)> l;
    return l;
}
} // namespace

bool readerListening()
{
    return QAccessible::isActive() || listener();
}

void tellReader(QAccessibleEvent &event)
{
    if (listener())
        listener()(event);
    QAccessible::updateAccessibility(&event);
}

void setReaderListener(std::function<void(QAccessibleEvent &)> l)
{
    listener() = std::move(l);
}

void announceFocusedCell(QWidget *widget, int row, int col, int cols)
{
    if (!readerListening() || !widget->hasFocus() || row < 0 || col < 0 || col >= cols)
        return;
    QAccessibleEvent focus(widget, QAccessible::Focus);
    focus.setChild(row * cols + col);
    tellReader(focus);
}

void installGridAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(gridFactory);
        return true;
    }();
    (void)installed;
}

QString spokenCellText(const QString &text)
{
    QStringList lines = text.split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts);
    for (QString &l : lines)
        l = l.trimmed();
    lines.removeAll(QString());
    return lines.join(QStringLiteral(", "));
}

QString colourName(Bgr colour, Bgr background)
{
    if (colour == 0 || colour == background || colour == colours::PaleYellow)
        return {};
    for (const NamedColour &n : kNames)
        if (n.value == colour)
            return QString::fromLatin1(n.name);
    return QStringLiteral("Red %1, green %2, blue %3").arg(redOf(colour)).arg(greenOf(colour)).arg(blueOf(colour));
}

} // namespace ui
