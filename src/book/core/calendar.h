#pragma once

#include "ui/core/colours.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace book {

// How a day cell of the month calendar is painted.
enum class CellPaint {
    Ordinary, // pale yellow
    Focused,  // selected cell while the calendar has the keyboard focus
    Shown,    // selected cell while the focus is elsewhere: the day whose page is shown
};

constexpr std::uint32_t kCellOrdinaryColour = ui::colours::PaleYellow;
constexpr std::uint32_t kCellFocusedColour = ui::colours::LightCyan;
constexpr std::uint32_t kCellShownColour = ui::colours::LightGrey;

std::uint32_t cellColour(CellPaint paint);

// State of the navigation panel's month calendar: 42 day cells (6 rows of 7,
// Sunday first) over 42 consecutive days, the selected cell, the paint of
// each cell, and the values the month and year selectors show. It never
// loads a page; callers open the page of the date it hands back.
class CalendarModel {
public:
    static constexpr int kCells = 42;
    static constexpr int kFirstYear = 1997;
    // The selector runs 30 years past today, so the book never reaches its end.
    static int lastYear();

    // Column headings, Sunday first.
    static QStringList columnHeadings();
    // Year selector entries of a new calendar: "1997" … lastYear().
    static QStringList yearEntries();

    CalendarModel();

    // PopulateCal: fills the cells around the month of `date`, selects the
    // cell of `date` painted light cyan and sets the selectors. Every other
    // cell becomes ordinary.
    void populate(QDate date);

    // CheckMonthYear: the selectors show the month and year of `date`.
    // Returns true when either of them changed. A year outside the year
    // selector's entries widens them to take it in: a page opened by date
    // may lie before 1997 or after the last year.
    bool checkMonthYear(QDate date);

    // The year selector's entries now: yearEntries() widened to every year
    // the calendar has shown (entry index = year - firstYear()).
    QStringList years() const;
    int firstYear() const { return m_firstYear; }

    QDate dateAt(int cell) const;
    QString caption(int cell) const; // day of the month as text
    int selected() const { return m_selected; }
    QDate selectedDate() const { return dateAt(m_selected); }
    void setSelected(int cell); // moves the selection only; paints nothing

    CellPaint paint(int cell) const;
    std::uint32_t colour(int cell) const { return cellColour(paint(cell)); }
    void paintCell(int cell, CellPaint paint);
    void paintOrdinary(int cell) { paintCell(cell, CellPaint::Ordinary); }
    void unmarkSelected() { paintOrdinary(m_selected); } // old selection turns pale yellow
    void markFocused() { paintCell(m_selected, CellPaint::Focused); } // focus gained
    void markShown() { paintCell(m_selected, CellPaint::Shown); }     // focus lost / page shown
    bool hasFocusMark() const { return paint(m_selected) == CellPaint::Focused; }

    // Going to a date (Today, return from the weekly view, open by date, Demo):
    // the old selection turns pale yellow, the calendar is filled around the
    // date and its cell painted as shown.
    void showDate(QDate date);

    // A click on a day cell: the selection moves there, painted as shown, and
    // the selectors follow its date; the 42 cells stay as they are. Returns
    // the date whose page is to be opened (invalid for a bad index).
    QDate clickCell(int cell);

    // Keyboard moves. They never load a page; they return false when the key
    // is ignored at the limits. The moved selection is painted light cyan and
    // the selectors follow its date.
    bool moveRight() { return step(1); }
    bool moveLeft() { return step(-1); }
    bool moveDown() { return step(7); }
    bool moveUp() { return step(-7); }
    bool movePageDown();
    bool movePageUp();

    // Selector values: month index 0..11, year index year - firstYear().
    int monthIndex() const { return m_monthIndex; }
    int yearIndex() const { return m_yearIndex; }

    // The date a selector choice stands for: the selected cell's day number
    // in the chosen month and year; a day beyond the month's end rolls over
    // (31 with April is 1 May). Invalid for indices out of range.
    QDate dateFromSelectors(int monthIndex, int yearIndex) const;
    // A selector choice (click or Enter): the calendar is filled around
    // dateFromSelectors() with its cell highlighted. Returns that date; an
    // invalid choice changes nothing.
    QDate applySelectors(int monthIndex, int yearIndex);

    // Set while the window itself changes a selector; its change
    // notifications are then ignored.
    bool selectorGuard = false;
    // Set while the user moves through a selector list with the arrow keys.
    bool selectorBrowsing = false;

private:
    static bool validCell(int cell) { return cell >= 0 && cell < kCells; }
    void fillFrom(int cell, QDate date);
    bool forwardBlocked() const;
    bool backwardBlocked() const;
    void moveSelection(int cell);
    void afterMove();
    bool step(int days);         // a day (1, -1) or a week (7, -7)

    std::array<QDate, kCells> m_dates;
    std::array<CellPaint, kCells> m_paint;
    int m_selected = 0;
    int m_monthIndex = -1;
    int m_yearIndex = -1;
    int m_firstYear = kFirstYear;
    int m_lastYear = lastYear();
};

// The hidden Demo button: each press opens the date of the caption shown at
// that moment and then shows the next caption, "Demo 1" following "Demo 5".
class DemoCycle {
public:
    static constexpr int kSteps = 5;

    QString caption() const;
    QDate currentDate() const;
    QDate press(); // the date to open; the caption moves on

private:
    int m_step = 0;
};

} // namespace book
