#include "book/widgets/calendarview.h"

#include "book/core/bookcontroller.h"
#include "book/core/calendar.h"
#include "ui/widgets/qtcolour.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace book {

namespace {
constexpr int kCols = 7;
constexpr int kRows = 6;
} // namespace

CalendarView::CalendarView(BookController &controller, QWidget *parent) : QWidget(parent), m_c(controller)
{
    setObjectName(QStringLiteral("Picture2"));
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

bool CalendarView::event(QEvent *e)
{
    // Tab opens the selected day here instead of moving along the focus chain.
    if (e->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            keyPressEvent(k);
            return true;
        }
    }
    return QWidget::event(e);
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
        p.fillRect(r, ui::toQColor(ui::Bgr(m_c.calendar().colour(i))));
        p.setPen(frame);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(Qt::black);
        p.drawText(r, Qt::AlignCenter, m_c.calendar().caption(i));
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
        m_c.dayClicked(cell);
    else if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
}

void CalendarView::keyPressEvent(QKeyEvent *e)
{
    const int key = e->key() == Qt::Key_Backtab ? int(Qt::Key_Tab) : e->key();
    if (m_c.calendarKeyDown(key)) {
        e->accept();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        m_c.calendarKeyPress(QChar(13));
        e->accept();
        return;
    }
    if (key == Qt::Key_Space) {
        m_c.calendarKeyPress(QLatin1Char(' '));
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

void CalendarView::focusInEvent(QFocusEvent *e)
{
    QWidget::focusInEvent(e);
    m_c.calendarFocusIn();
    update();
}

void CalendarView::focusOutEvent(QFocusEvent *e)
{
    QWidget::focusOutEvent(e);
    m_c.calendarFocusOut();
    update();
}

} // namespace book
