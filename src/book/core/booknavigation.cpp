// Date navigation: the month calendar, the selectors, Today, Up and Down,
// open by date, the demonstration dates, the full-width toggle and the week
// handed to the weekly view.
#include "book/core/booknavigation.h"

#include "book/core/bookhub.h"
#include "book/core/cellentry.h"
#include "ui/core/dateinput.h"
#include "book/core/pagesession.h"
#include "book/core/sidepanel.h"
#include "book/pages/pagepos.h"
#include "store/core/database.h"
#include "ui/core/appstate.h"
#include "ui/core/desktop.h"
#include "ui/core/prompter.h"
#include "ui/core/windows.h"

namespace book {

using store::DbError;

BookNavigation::BookNavigation(BookHub &hub, PageSession &session, ui::Services &services, CellEntry &entry,
                               SidePanel &panel)
    : m_hub(hub), m_session(session), m_s(services), m_entry(entry), m_panel(panel)
{
}

void BookNavigation::startAt(const QDate &today)
{
    m_calendar.populate(today);
    m_calendar.markShown();
}

void BookNavigation::calendarFocusIn()
{
    // An entry typed but not stored is never dropped on the way out.
    if (m_entry.visible() && !m_entry.checkUnsavedEntry())
        return;
    m_calendar.markFocused();
    emit m_hub.calendarChanged();
}

void BookNavigation::calendarFocusOut()
{
    if (m_calendar.hasFocusMark()) {
        m_calendar.markShown();
        emit m_hub.calendarChanged();
    }
}

bool BookNavigation::calendarKeyDown(int qtKey)
{
    bool moved = false;
    switch (qtKey) {
    case Qt::Key_Right: moved = m_calendar.moveRight(); break;
    case Qt::Key_Left: moved = m_calendar.moveLeft(); break;
    case Qt::Key_Down: moved = m_calendar.moveDown(); break;
    case Qt::Key_Up: moved = m_calendar.moveUp(); break;
    case Qt::Key_PageDown: moved = m_calendar.movePageDown(); break;
    case Qt::Key_PageUp: moved = m_calendar.movePageUp(); break;
    case Qt::Key_Tab:
        calendarKeyPress(QChar(13));
        return true;
    default: return false;
    }
    if (moved)
        emit m_hub.calendarChanged();
    return true;
}

void BookNavigation::calendarKeyPress(QChar ch)
{
    if (ch != QChar(13) && ch != QLatin1Char(' '))
        return;
    m_calendar.markShown();
    dayClicked(m_calendar.selected());
}

void BookNavigation::dayClicked(int cell)
{
    if (!m_entry.leaveEditor())
        return;
    try {
        const QDate date = m_calendar.clickCell(cell);
        if (date.isValid() && date != m_session.page().date)
            m_session.openPage(date);
    } catch (const DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Click LblDay"), ui::Icon::Critical);
    }
    emit m_hub.calendarChanged();
    m_hub.requestFocus(Focus::Grid);
}

void BookNavigation::goToDate(const QDate &date)
{
    if (!date.isValid() || !m_entry.leaveEditor())
        return;
    m_calendar.selectorGuard = true;
    if (date != m_session.page().date)
        m_session.openPage(date);
    m_calendar.showDate(date);
    m_calendar.selectorGuard = false;
    m_session.grid().setCursor(pos::FirstTimeRow, pos::FirstCol);
    emit m_hub.calendarChanged();
    m_hub.pageChanged();
    m_hub.requestFocus(Focus::Grid);
}

void BookNavigation::goToday()
{
    // The book may have stayed open past midnight: today is today again.
    m_session.setToday(m_s.clock.today());
    goToDate(m_session.today());
}

void BookNavigation::stepWeek(bool later)
{
    if (!m_entry.leaveEditor())
        return;
    // The buttons move the calendar's selection as its arrow keys do; the
    // calendar takes the focus first if it has not got it.
    if (!m_calendar.hasFocusMark()) {
        if (!m_panelShown)
            toggleFullWidth();
        m_calendar.markFocused();
        m_hub.requestFocus(Focus::Calendar);
    }
    if (later)
        m_calendar.moveDown();
    else
        m_calendar.moveUp();
    emit m_hub.calendarChanged();
}

void BookNavigation::monthChosen(int index)
{
    if (m_calendar.selectorGuard || m_calendar.selectorBrowsing)
        return;
    if (m_calendar.applySelectors(index, m_calendar.yearIndex()).isValid()) {
        emit m_hub.calendarChanged();
        m_hub.requestFocus(Focus::Calendar);
    }
}

void BookNavigation::yearChosen(int index)
{
    if (m_calendar.selectorGuard || m_calendar.selectorBrowsing)
        return;
    if (m_calendar.applySelectors(m_calendar.monthIndex(), index).isValid()) {
        emit m_hub.calendarChanged();
        m_hub.requestFocus(Focus::Calendar);
    }
}

void BookNavigation::selectorBrowsing(bool on)
{
    m_calendar.selectorBrowsing = on;
}

void BookNavigation::selectorEnter()
{
    m_calendar.selectorBrowsing = false;
}

void BookNavigation::showDay(const QDate &date)
{
    m_calendar.unmarkSelected();
    m_calendar.selectorGuard = true;
    m_calendar.populate(date);
    m_session.openPage(date);
    m_calendar.checkMonthYear(date);
    m_calendar.markShown();
    m_calendar.selectorGuard = false;
    emit m_hub.calendarChanged();
    m_hub.pageChanged();
    m_hub.requestFocus(Focus::Grid);
}

void BookNavigation::openPageByDate()
{
    if (!m_entry.leaveEditor())
        return;
    const DateQuestion q{
        QStringLiteral("Please enter Date of Page to open in shortdate format: (e.g. 11/11/99, 1-1-00)"),
        QStringLiteral("Search Date"), QString(),
        QStringLiteral("Date entered is an invalid date or entered in the wrong format."), QStringLiteral("Search Date")};
    for (;;) {
        const auto date = askDate(m_s.prompter, q);
        if (!date)
            return;
        if (date->isValid()) {
            showDay(*date);
            return;
        }
    }
}

void BookNavigation::demo()
{
    if (!m_entry.leaveEditor())
        return;
    showDay(m_demo.press());
    emit m_hub.panelChanged();   // the caption moved on
}

void BookNavigation::toggleFullWidth()
{
    m_panelShown = !m_panelShown;
    emit m_hub.panelChanged();
}

void BookNavigation::prepareWeek()
{
    ui::WeekHandOver &w = m_s.state.week;
    w = ui::WeekHandOver{};
    w.returnDate = m_session.page().date;
    w.calendarCell = m_calendar.selected();
    w.column = std::max(m_session.grid().col(), pos::FirstCol);
    w.row = m_session.grid().row();
    w.consultant = m_session.grid().textMatrix(pos::NameRow, w.column);

    const auto takeColumn = [&w](const ui::GridModel &g, bool colours) {
        QStringList cells;
        std::vector<int> cols;
        for (int r = pos::FreeRow; r < g.rows(); ++r) {
            cells << g.textMatrix(r, w.column);
            if (colours)
                cols.push_back(g.cellColor(r, w.column));
        }
        w.dayTexts << cells.join(QChar(13));
        w.dayColours.push_back(cols);
    };
    takeColumn(m_session.grid(), true);
    w.dayStored.push_back(true);

    // The six following days, read from their stored pages without touching
    // the page on display. A day without a page is not created: it gets the
    // weekday template most recently loaded, and no colours.
    for (int d = 1; d < 7; ++d) {
        const QDate date = m_session.page().date.addDays(d);
        PageRecord p;
        try {
            p = m_session.pages().find(date);
        } catch (const DbError &) {
        }
        if (p.id == 0) {
            ui::GridModel g;
            const PageLayout l = m_session.layout();
            g.setRows(l.rows());
            g.setCols(l.columns);
            pasteText(g, m_session.weekdayTemplate());
            takeColumn(g, false);
            w.dayStored.push_back(false);
            continue;
        }
        ui::GridModel g;
        const PageLayout l = layoutOf(p, m_session.settings().rHeight);
        g.setRows(l.rows());
        g.setCols(std::max(l.columns, w.column + 1));
        pasteText(g, p.data);
        applyColors(g, p.colors, p.clinic);
        takeColumn(g, true);
        w.dayStored.push_back(true);
    }
    m_s.state.pageDate = m_session.page().date;
}

void BookNavigation::weeklyView()
{
    if (!m_entry.leaveEditor())
        return;
    prepareWeek();
    m_panel.stopTimer();
    m_s.windows.show(ui::win::WeeklySchedule);
    m_s.windows.hide(ui::win::Appt);
}

void BookNavigation::returnDay()
{
    const QDate date = m_s.state.week.returnDate;
    m_s.windows.show(ui::win::Appt);
    goToDate(date.isValid() ? date : m_session.page().date);
    m_session.grid().setCursor(std::max(m_s.state.week.row, pos::FirstTimeRow),
                               std::max(m_s.state.week.column, pos::FirstCol));
    m_panel.armTimer();
}

void BookNavigation::weekBack()
{
    ui::WeekHandOver &w = m_s.state.week;
    const ui::WeekHandOver::Back back = w.back;
    w.back = ui::WeekHandOver::Back::None;
    if (back == ui::WeekHandOver::Back::ReturnDay) {
        returnDay();
        return;
    }
    if (back != ui::WeekHandOver::Back::OpenCell || !w.openDate.isValid())
        return;
    showDay(w.openDate);
    m_session.grid().setCursor(std::max(w.openRow, pos::FreeRow), std::max(w.column, pos::FirstCol));
    m_panel.armTimer();
    // As if Enter had been pressed on the cell: the editor opens on it.
    m_entry.gridKeyPress(QChar(13));
}

} // namespace book
