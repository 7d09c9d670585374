#pragma once

#include "book/core/calendar.h"
#include "ui/core/services.h"

#include <QChar>
#include <QDate>
#include <QString>

namespace book {

class BookHub;
class CellEntry;
class SidePanel;
class PageSession;

// Date navigation: the month calendar, the selectors, Today, Up and Down,
// open by date, the demonstration dates, the full-width toggle and the week
// handed to the weekly view.
class BookNavigation {
public:
    BookNavigation(BookHub &hub, PageSession &session, ui::Services &services, CellEntry &entry, SidePanel &panel);

    CalendarModel &calendar() { return m_calendar; }
    const CalendarModel &calendar() const { return m_calendar; }
    void startAt(const QDate &today);            // window load: the calendar of today
    void calendarFocusIn();
    void calendarFocusOut();
    bool calendarKeyDown(int qtKey);             // arrows, Page Up/Down, Tab
    void calendarKeyPress(QChar ch);             // Space or Enter
    void dayClicked(int cell);
    void goToday();
    void goToDate(const QDate &date);            // as Today, for another date
    void upButton() { stepWeek(false); }
    void downButton() { stepWeek(true); }
    void monthChosen(int index);
    void yearChosen(int index);
    void selectorEnter();
    void selectorBrowsing(bool on);
    void openPageByDate();                       // Page > Open
    QString demoCaption() const { return m_demo.caption(); }
    void demo();
    bool panelShown() const { return m_panelShown; }
    void toggleFullWidth();
    void prepareWeek();                          // the weekly hand-over data
    void weeklyView();                           // F8, toolbar Week
    void returnDay();
    // The book is shown again after the weekly view: back to the page it was
    // left on, or into the cell the user chose there.
    void weekBack();

private:
    void stepWeek(bool later);
    void showDay(const QDate &date);             // open by date / demo: calendar and page

    BookHub &m_hub;
    PageSession &m_session;
    ui::Services &m_s;
    CellEntry &m_entry;
    SidePanel &m_panel;
    CalendarModel m_calendar;
    DemoCycle m_demo;
    bool m_panelShown = true;
};

} // namespace book
