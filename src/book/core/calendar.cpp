#include "book/core/calendar.h"

#include "ui/core/dateinput.h"

#include <algorithm>

namespace book {

namespace {

// The key moves stop here so the window never runs far past the selectors.
QDate forwardLimit()
{
    return QDate(CalendarModel::lastYear() + 1, 1, 1);
}
const QDate kBackwardLimit(1997, 11, 11);

struct DemoStep {
    const char *caption;
    QDate date;
};

const DemoStep kDemoSteps[DemoCycle::kSteps] = {
    {"Demo 1", QDate(1998, 10, 10)}, {"Demo 2", QDate(1998, 11, 11)},
    {"Demo 3", QDate(1998, 9, 9)},   {"Demo 4", QDate(1998, 8, 8)},
    {"Demo 5", QDate(1998, 12, 14)},
};

} // namespace

std::uint32_t cellColour(CellPaint paint)
{
    switch (paint) {
    case CellPaint::Focused:
        return kCellFocusedColour;
    case CellPaint::Shown:
        return kCellShownColour;
    case CellPaint::Ordinary:
        break;
    }
    return kCellOrdinaryColour;
}

QStringList CalendarModel::columnHeadings()
{
    return {"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"};
}

int CalendarModel::lastYear()
{
    return lastBookYear(QDate::currentDate().year());
}

QStringList CalendarModel::yearEntries()
{
    QStringList years;
    const int last = lastYear();
    for (int y = kFirstYear; y <= last; ++y)
        years << QString::number(y);
    return years;
}

QStringList CalendarModel::years() const
{
    QStringList out;
    for (int y = m_firstYear; y <= m_lastYear; ++y)
        out << QString::number(y);
    return out;
}

CalendarModel::CalendarModel()
{
    m_paint.fill(CellPaint::Ordinary);
}

void CalendarModel::populate(QDate date)
{
    if (!date.isValid())
        return;
    // Monday 1 … Sunday 7: a month that starts on a Sunday keeps a whole week
    // of the previous month in the first row.
    const QDate anchor(date.year(), date.month(), 1);
    const int anchorCell = anchor.dayOfWeek();
    fillFrom(anchorCell, anchor);

    m_selected = anchorCell;
    for (int i = anchorCell; i < kCells; ++i) {
        if (m_dates[i] == date) {
            m_selected = i;
            break;
        }
    }
    checkMonthYear(date);
    m_paint.fill(CellPaint::Ordinary);
    markFocused();
}

bool CalendarModel::checkMonthYear(QDate date)
{
    if (!date.isValid())
        return false;
    // A caller that already holds the guard keeps it afterwards.
    const bool wasGuarded = selectorGuard;
    selectorGuard = true;
    const int month = date.month() - 1;
    m_firstYear = std::min(m_firstYear, date.year());
    m_lastYear = std::max(m_lastYear, date.year());
    const int year = date.year() - m_firstYear;
    const bool changed = month != m_monthIndex || year != m_yearIndex;
    m_monthIndex = month;
    m_yearIndex = year;
    selectorGuard = wasGuarded;
    return changed;
}

QDate CalendarModel::dateAt(int cell) const
{
    return validCell(cell) ? m_dates[cell] : QDate();
}

QString CalendarModel::caption(int cell) const
{
    const QDate d = dateAt(cell);
    return d.isValid() ? QString::number(d.day()) : QString();
}

void CalendarModel::setSelected(int cell)
{
    if (validCell(cell))
        m_selected = cell;
}

CellPaint CalendarModel::paint(int cell) const
{
    return validCell(cell) ? m_paint[cell] : CellPaint::Ordinary;
}

void CalendarModel::paintCell(int cell, CellPaint paint)
{
    if (validCell(cell))
        m_paint[cell] = paint;
}

void CalendarModel::showDate(QDate date)
{
    if (!date.isValid())
        return;
    unmarkSelected();
    populate(date);
    markShown();
}

QDate CalendarModel::clickCell(int cell)
{
    if (!validCell(cell) || !m_dates[cell].isValid())
        return QDate();
    unmarkSelected();
    m_selected = cell;
    markShown();
    checkMonthYear(m_dates[cell]);
    return m_dates[cell];
}

// Off the grid the dates move a row (up going on, down going back) and the
// selection lands a row inside it: a day on from cell 41, cell 34 takes
// cell 41's date and the next day is selected in cell 35; a week on, the
// selected cell takes the date a week later.
bool CalendarModel::step(int days)
{
    if (days > 0 ? forwardBlocked() : backwardBlocked())
        return false;
    int to = m_selected + days;
    if (to < 0 || to >= kCells) {
        const QDate date = m_dates[m_selected].addDays(days);
        to += days > 0 ? -7 : 7;
        fillFrom(to, date);
    }
    moveSelection(to);
    return true;
}

bool CalendarModel::movePageDown()
{
    if (forwardBlocked())
        return false;
    // The date of cell 41 comes to cell 13: 28 days later.
    fillFrom(13, m_dates[kCells - 1]);
    afterMove();
    return true;
}

bool CalendarModel::movePageUp()
{
    if (backwardBlocked())
        return false;
    // The date of cell 0 comes to cell 21: 21 days earlier.
    fillFrom(21, m_dates[0]);
    afterMove();
    return true;
}

QDate CalendarModel::dateFromSelectors(int monthIndex, int yearIndex) const
{
    if (monthIndex < 0 || monthIndex > 11 || yearIndex < 0 || yearIndex > m_lastYear - m_firstYear)
        return QDate();
    const QDate current = selectedDate();
    if (!current.isValid())
        return QDate();
    // Counting days from the first lets 31 April roll over into 1 May.
    const QDate first(m_firstYear + yearIndex, monthIndex + 1, 1);
    return first.addDays(current.day() - 1);
}

QDate CalendarModel::applySelectors(int monthIndex, int yearIndex)
{
    const QDate date = dateFromSelectors(monthIndex, yearIndex);
    if (!date.isValid())
        return QDate();
    unmarkSelected();
    populate(date); // highlighted light cyan: the calendar takes the focus
    return date;
}

void CalendarModel::fillFrom(int cell, QDate date)
{
    for (int i = 0; i < kCells; ++i)
        m_dates[i] = date.addDays(i - cell);
}

bool CalendarModel::forwardBlocked() const
{
    return !selectedDate().isValid() || selectedDate() > forwardLimit();
}

bool CalendarModel::backwardBlocked() const
{
    return !selectedDate().isValid() || selectedDate() < kBackwardLimit;
}

void CalendarModel::moveSelection(int cell)
{
    m_selected = cell;
    afterMove();
}

void CalendarModel::afterMove()
{
    // The highlight may sit on a cell whose paint was left by the old window.
    m_paint.fill(CellPaint::Ordinary);
    markFocused();
    checkMonthYear(selectedDate());
}

QString DemoCycle::caption() const
{
    return QString::fromLatin1(kDemoSteps[m_step].caption);
}

QDate DemoCycle::currentDate() const
{
    return kDemoSteps[m_step].date;
}

QDate DemoCycle::press()
{
    const QDate date = currentDate();
    m_step = (m_step + 1) % kSteps;
    return date;
}

} // namespace book
