// Date navigation: the month calendar, the selectors, Today, Up and Down,
// open by date, the demonstration dates, the full-width toggle and the week
// handed to the weekly view.
#include "book/core/bookcontroller.h"
#include "book/core/dateinput.h"
#include "store/core/database.h"
#include "ui/core/appstate.h"
#include "ui/core/clock.h"
#include "ui/core/prompter.h"
#include "ui/core/windows.h"

namespace book {

using store::DbError;

void BookController::calendarFocusIn()
{
    // An entry typed but not stored is never dropped on the way out.
    if (m_cell.visible() && !checkUnsavedEntry())
        return;
    m_calendar.markFocused();
    emit calendarChanged();
}

void BookController::calendarFocusOut()
{
    if (m_calendar.hasFocusMark()) {
        m_calendar.markShown();
        emit calendarChanged();
    }
}

bool BookController::calendarKeyDown(int qtKey)
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
        emit calendarChanged();
    return true;
}

void BookController::calendarKeyPress(QChar ch)
{
    if (ch != QChar(13) && ch != QLatin1Char(' '))
        return;
    m_calendar.markShown();
    dayClicked(m_calendar.selected());
}

void BookController::dayClicked(int cell)
{
    if (!leaveEditor())
        return;
    try {
        const QDate date = m_calendar.clickCell(cell);
        if (date.isValid() && date != m_page.date)
            openPage(date);
    } catch (const DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Click LblDay"), ui::Icon::Critical);
    }
    emit calendarChanged();
    requestFocus(Focus::Grid);
}

void BookController::goToDate(const QDate &date)
{
    if (!date.isValid() || !leaveEditor())
        return;
    m_calendar.selectorGuard = true;
    if (date != m_page.date)
        openPage(date);
    m_calendar.showDate(date);
    m_calendar.selectorGuard = false;
    m_grid.setCursor(3, 1);
    emit calendarChanged();
    emit pageShown();
    requestFocus(Focus::Grid);
}

void BookController::goToday()
{
    // The book may have stayed open past midnight: today is today again.
    m_today = m_s.clock.today();
    goToDate(m_today);
}

void BookController::upButton()
{
    stepWeek(false);
}

void BookController::downButton()
{
    stepWeek(true);
}

void BookController::stepWeek(bool later)
{
    if (!leaveEditor())
        return;
    // The buttons move the calendar's selection as its arrow keys do; the
    // calendar takes the focus first if it has not got it.
    if (!m_calendar.hasFocusMark()) {
        if (!m_panelShown)
            toggleFullWidth();
        m_calendar.markFocused();
        requestFocus(Focus::Calendar);
    }
    if (later)
        m_calendar.moveDown();
    else
        m_calendar.moveUp();
    emit calendarChanged();
}

void BookController::monthChosen(int index)
{
    if (m_calendar.selectorGuard || m_calendar.selectorBrowsing)
        return;
    if (m_calendar.applySelectors(index, m_calendar.yearIndex()).isValid()) {
        emit calendarChanged();
        requestFocus(Focus::Calendar);
    }
}

void BookController::yearChosen(int index)
{
    if (m_calendar.selectorGuard || m_calendar.selectorBrowsing)
        return;
    if (m_calendar.applySelectors(m_calendar.monthIndex(), index).isValid()) {
        emit calendarChanged();
        requestFocus(Focus::Calendar);
    }
}

void BookController::selectorBrowsing(bool on)
{
    m_calendar.selectorBrowsing = on;
}

void BookController::selectorEnter()
{
    m_calendar.selectorBrowsing = false;
}

void BookController::showDay(const QDate &date)
{
    m_calendar.unmarkSelected();
    m_calendar.selectorGuard = true;
    m_calendar.populate(date);
    openPage(date);
    m_calendar.checkMonthYear(date);
    m_calendar.markShown();
    m_calendar.selectorGuard = false;
    emit calendarChanged();
    emit pageShown();
    requestFocus(Focus::Grid);
}

void BookController::openPageByDate()
{
    if (!leaveEditor())
        return;
    for (;;) {
        const auto answer = m_s.prompter.input(
            QStringLiteral("Please enter Date of Page to open in shortdate format: (e.g. 11/11/99, 1-1-00)"),
            QStringLiteral("Search Date"), QString());
        if (!answer || answer->trimmed().isEmpty())
            return;
        const auto date = parseDateInput(answer->trimmed());
        if (!date) {
            m_s.prompter.message(QStringLiteral("Date entered is an invalid date or entered in the wrong format."),
                                 QStringLiteral("Search Date"));
            continue;
        }
        showDay(*date);
        return;
    }
}

void BookController::demo()
{
    if (!leaveEditor())
        return;
    showDay(m_demo.press());
}

void BookController::toggleFullWidth()
{
    m_panelShown = !m_panelShown;
    emit pageShown();
}

void BookController::prepareWeek()
{
    ui::WeekHandOver &w = m_s.state.week;
    w = ui::WeekHandOver{};
    w.returnDate = m_page.date;
    w.calendarCell = m_calendar.selected();
    w.column = std::max(m_grid.col(), 1);
    w.row = m_grid.row();
    w.consultant = m_grid.textMatrix(1, w.column);

    const auto takeColumn = [&w](const ui::GridModel &g, bool colours) {
        QStringList cells;
        std::vector<int> cols;
        for (int r = 2; r < g.rows(); ++r) {
            cells << g.textMatrix(r, w.column);
            if (colours)
                cols.push_back(g.cellColor(r, w.column));
        }
        w.dayTexts << cells.join(QChar(13));
        w.dayColours.push_back(cols);
    };
    takeColumn(m_grid, true);
    w.dayStored.push_back(true);

    // The six following days, read from their stored pages without touching
    // the page on display. A day without a page is not created: it gets the
    // weekday template most recently loaded, and no colours.
    for (int d = 1; d < 7; ++d) {
        const QDate date = m_page.date.addDays(d);
        PageRecord p;
        try {
            p = m_pages.find(date);
        } catch (const DbError &) {
        }
        if (p.id == 0) {
            ui::GridModel g;
            const PageLayout l = m_layout;
            g.setRows(l.rows());
            g.setCols(l.columns);
            pasteText(g, m_template);
            takeColumn(g, false);
            w.dayStored.push_back(false);
            continue;
        }
        ui::GridModel g;
        const PageLayout l = layoutOf(p, m_settings.rHeight);
        g.setRows(l.rows());
        g.setCols(std::max(l.columns, w.column + 1));
        pasteText(g, p.data);
        applyColors(g, p.colors, p.clinic);
        takeColumn(g, true);
        w.dayStored.push_back(true);
    }
    m_s.state.pageDate = m_page.date;
}

void BookController::weeklyView()
{
    if (!leaveEditor())
        return;
    prepareWeek();
    stopTimer();
    m_s.windows.show(ui::win::WeeklySchedule);
    m_s.windows.hide(ui::win::Appt);
}

void BookController::returnDay()
{
    const QDate date = m_s.state.week.returnDate;
    m_s.windows.show(ui::win::Appt);
    goToDate(date.isValid() ? date : m_page.date);
    m_grid.setCursor(std::max(m_s.state.week.row, 3), std::max(m_s.state.week.column, 1));
    armTimer();
}

} // namespace book
