#include "book/widgets/calendarview.h"

#include "book/core/bookhub.h"
#include "book/core/booknavigation.h"
#include "book/core/calendar.h"
#include "book/pages/pagestore.h"
#include "store/core/dberror.h"
#include "ui/widgets/accessibletable.h"
#include "ui/widgets/qtcolour.h"

#include <QLocale>
#include <QMouseEvent>
#include <QPainter>

namespace book {

namespace {
constexpr int kCols = 7;
constexpr int kRows = 6;
constexpr int kFactsMaxAgeMs = 3000;
constexpr int kFocusArriving = -2;

// The calendar as screen readers see it: a table whose first row is the
// weekdays and whose cells are the 42 days, each named by its date and
// described by what is booked on it.
class CalendarSource : public ui::CellTableSource {
public:
    explicit CalendarSource(CalendarView *view) : m_view(view) {}
    int rows() const override { return kRows + 1; }
    int cols() const override { return kCols; }
    int headerRows() const override { return 1; }
    int headerCols() const override { return 0; }
    QString name(int row, int col) const override
    {
        if (row == 0)   // Sunday first
            return QLocale(QLocale::English).dayName(col == 0 ? 7 : col);
        return QLocale(QLocale::English).toString(date(row, col), QStringLiteral("dddd d MMMM yyyy"));
    }
    QString description(int row, int col) const override
    {
        if (row == 0)
            return {};
        const CalendarView::DayFacts f = m_view->dayFacts(date(row, col));
        QStringList parts;
        if (f.bookings)
            parts << QStringLiteral("has bookings");
        if (f.closed)
            parts << QStringLiteral("closed");
        return parts.join(QStringLiteral(", "));
    }
    QRect rect(int row, int col) const override
    {
        if (row == 0) {
            const QRect first = m_view->cellRect(col);
            return QRect(first.left(), 1, first.width(), first.top() - 1);
        }
        return m_view->cellRect(cell(row, col));
    }
    std::pair<int, int> current() const override
    {
        const int sel = m_view->calendar().selected();
        return {1 + sel / kCols, sel % kCols};
    }
    bool isSelected(int row, int col) const override { return current() == std::pair(row, col); }
    std::pair<int, int> cellAt(QPoint pos) const override
    {
        const int c = m_view->cellAt(pos);
        return c >= 0 ? std::pair(1 + c / kCols, c % kCols) : std::pair(-1, -1);
    }

private:
    static int cell(int row, int col) { return (row - 1) * kCols + col; }
    QDate date(int row, int col) const { return m_view->calendar().dateAt(cell(row, col)); }
    CalendarView *m_view;
};

QAccessibleInterface *calendarFactory(const QString &key, QObject *object)
{
    if (key == QLatin1String("book::CalendarView") && object && object->isWidgetType()) {
        auto *view = static_cast<CalendarView *>(object);
        return new ui::AccessibleCellTable(view, std::make_unique<CalendarSource>(view));
    }
    return nullptr;
}
} // namespace

const CalendarModel &CalendarView::calendar() const
{
    return m_nav.calendar();
}

CalendarView::CalendarView(BookNavigation &nav, BookHub &hub, QWidget *parent) : QWidget(parent), m_nav(nav)
{
    static const bool accessible = [] {
        QAccessible::installFactory(calendarFactory);
        return true;
    }();
    (void)accessible;
    setObjectName(QStringLiteral("Picture2"));
    setAccessibleName(QStringLiteral("Calendar"));
    connect(&hub, &BookHub::calendarChanged, this, &CalendarView::announceSelected);
    // A click on a day acts like the day labels it stands for: it opens the
    // day (after the unsaved-entry check) without taking the focus first.
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont f = font();
    f.setBold(true);
    setFont(f);
}

int CalendarView::headingHeight() const
{
    return fontMetrics().height() + 6;
}

QRect CalendarView::cellsArea() const
{
    return rect().adjusted(1, 1 + headingHeight(), -1, -1);
}

QRect CalendarView::cellRect(int cell) const
{
    if (cell < 0 || cell >= CalendarModel::kCells)
        return {};
    const QRect a = cellsArea();
    const int col = cell % kCols, row = cell / kCols;
    // Spread the remainder so the cells fill the area edge to edge.
    const int x0 = a.left() + a.width() * col / kCols, x1 = a.left() + a.width() * (col + 1) / kCols;
    const int y0 = a.top() + a.height() * row / kRows, y1 = a.top() + a.height() * (row + 1) / kRows;
    return QRect(x0, y0, x1 - x0, y1 - y0);
}

int CalendarView::cellAt(QPoint pos) const
{
    for (int i = 0; i < CalendarModel::kCells; ++i)
        if (cellRect(i).contains(pos))
            return i;
    return -1;
}

QSize CalendarView::sizeHint() const
{
    const int w = fontMetrics().horizontalAdvance(QStringLiteral("000")) + 10;
    const int h = fontMetrics().height() + 8;
    return QSize(kCols * w + 2, headingHeight() + kRows * h + 2);
}

QSize CalendarView::minimumSizeHint() const
{
    return sizeHint();
}

void CalendarView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QColor frame(0x80, 0x80, 0x80);
    p.fillRect(rect(), palette().color(QPalette::Window));

    const QStringList headings = CalendarModel::columnHeadings();
    const QRect a = cellsArea();
    for (int c = 0; c < kCols; ++c) {
        const int x0 = a.left() + a.width() * c / kCols, x1 = a.left() + a.width() * (c + 1) / kCols;
        const QRect h(x0, 1, x1 - x0, headingHeight());
        p.fillRect(h, ui::toQColor(ui::colours::Grey));
        p.setPen(c == 0 ? QColor(0xA0, 0x20, 0x20) : palette().color(QPalette::WindowText));
        p.drawText(h, Qt::AlignCenter, headings.value(c));
    }
    for (int i = 0; i < CalendarModel::kCells; ++i) {
        const QRect r = cellRect(i);
        p.fillRect(r, ui::toQColor(ui::Bgr(m_nav.calendar().colour(i))));
        p.setPen(frame);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(Qt::black);
        p.drawText(r, Qt::AlignCenter, m_nav.calendar().caption(i));
    }
    // The selected day is framed, not only coloured: a thick frame while the
    // keys move it, a dotted one otherwise.
    const QRect sel = cellRect(m_nav.calendar().selected()).adjusted(1, 1, -2, -2);
    if (sel.width() > 4 && sel.height() > 4) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, hasFocus() ? 2 : 1, hasFocus() ? Qt::SolidLine : Qt::DotLine));
        p.drawRect(hasFocus() ? sel.adjusted(1, 1, 0, 0) : sel);
    }
    p.setPen(hasFocus() ? palette().color(QPalette::Highlight) : frame);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CalendarView::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return;
    const int cell = cellAt(e->position().toPoint());
    if (cell >= 0)
        m_nav.dayClicked(cell);
    else if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
}

void CalendarView::focusInEvent(QFocusEvent *e)
{
    // The day is read once Qt has told the reader of the calendar itself.
    m_spokenCell = kFocusArriving;
    QWidget::focusInEvent(e);
    m_nav.calendarFocusIn();
    update();
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_spokenCell = -1;
            announceSelected();
        },
        Qt::QueuedConnection);
}

// The selected day takes the reader's focus when a key moves it.
void CalendarView::announceSelected()
{
    const int sel = m_nav.calendar().selected();
    if (sel == m_spokenCell || m_spokenCell == kFocusArriving || !hasFocus())
        return;
    m_spokenCell = sel;
    ui::announceFocusedCell(this, 1 + sel / kCols, sel % kCols, kCols);
}

CalendarView::DayFacts CalendarView::dayFacts(QDate date) const
{
    if (!m_factsSource || !date.isValid())
        return {};
    const QDate first = m_nav.calendar().dateAt(0);
    if (first != m_factsFirst || !m_factsAge.isValid() || m_factsAge.elapsed() > kFactsMaxAgeMs) {
        m_facts = m_factsSource(first, m_nav.calendar().dateAt(CalendarModel::kCells - 1));
        m_factsFirst = first;
        m_factsAge.start();
    }
    const auto it = m_facts.find(date);
    return it == m_facts.end() ? DayFacts{} : it->second;
}

CalendarView::FactsSource CalendarView::pageFacts(store::Database &db)
{
    return [&db](QDate first, QDate last) {
        Facts out;
        try {
            for (const DecodedPage &p : PageStore(db).pagesBetween(first, last)) {
                DayFacts &f = out[p.record.date];
                f.closed = f.closed || p.record.clinic;
                for (const QStringList &row : p.cells)
                    for (const QString &text : row)
                        f.bookings = f.bookings || !text.trimmed().isEmpty();
            }
        } catch (const store::DbError &) {
            // The reader hears the dates alone; the window reports store failures itself.
        }
        return out;
    };
}

void CalendarView::focusOutEvent(QFocusEvent *e)
{
    QWidget::focusOutEvent(e);
    m_nav.calendarFocusOut();
    update();
}

} // namespace book
