#include "schedules/core/weeklycontroller.h"

#include "ui/core/dateinput.h"
#include "book/pages/pagegrid.h"
#include "book/pages/pagepos.h"
#include "book/pages/pagestore.h"
#include "store/core/dberror.h"
#include "store/core/settings.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"
#include "ui/core/windows.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace schedules {

using store::DbError;
namespace pos = book::pos;

namespace {

constexpr int Days = 7;

// The consultant's column of a day: its own page when one is stored, else
// the page it would be made from. Nothing is created: the view writes nothing.
WeeklyController::Day readDay(store::Database &db, const store::Settings &settings, const QDate &date, int column)
{
    book::PageRecord page;
    try {
        page = book::PageStore(db).find(date);
    } catch (const DbError &) {
        // Unreadable: the day shows what a new page would hold.
    }
    const bool stored = page.id != 0;
    const book::PageLayout layout =
        stored ? book::layoutOf(page, settings.rHeight)
               : book::layoutOf(settings.listno, settings.names, settings.open, settings.close, settings.timeslot,
                                settings.rHeight);
    WeeklyController::Day day;
    day.times = layout.times;
    day.closed = stored ? page.clinic : settings.closedOn(date.dayOfWeek());

    ui::GridModel g;
    g.setRows(layout.rows());
    g.setCols(std::max(layout.columns, column + 1));
    book::pasteText(g, stored ? page.data : settings.templateFor(date.dayOfWeek()));
    if (stored)
        book::applyColors(g, page.colors, page.clinic);
    for (int r = pos::FreeRow; r < g.rows(); ++r) {
        day.cells << (column < layout.columns ? g.textMatrix(r, column) : QString());
        day.colours.push_back(stored && r >= pos::FirstTimeRow ? g.cellColor(r, column) : 0);
    }
    return day;
}

} // namespace

WeeklyController::WeeklyController(ui::Services &services) : m_s(services), m_hold(services.state)
{
    m_grid.setFixedRows(pos::FreeRow);
    m_grid.setFixedCols(pos::FirstCol);
    ui::CellFont f;
    f.bold = true;
    m_grid.setFont(f);
}

QString WeeklyController::consultant() const
{
    return m_s.state.week.consultant;
}

QDate WeeklyController::dateOf(int col) const
{
    return m_first.addDays(std::clamp(col, 1, Days) - 1);
}

void WeeklyController::load(double widthFactor)
{
    const ui::WeekHandOver &week = m_s.state.week;
    m_widthFactor = widthFactor;
    m_first = week.returnDate.isValid() ? week.returnDate : m_s.state.pageDate;
    store::Settings settings;
    try {
        settings = store::SettingsStore(m_s.db).load();
    } catch (const DbError &e) {
        m_s.prompter.message(QString::number(e.number()) + QStringLiteral(" - ") + e.description(),
                             QStringLiteral("Form Load"));
    }
    m_bookName = settings.bookNo;

    // Every day brings its own time rows; the week shows them all, so each
    // booking sits at its own time.
    m_days.clear();
    std::set<int> times;
    for (int d = 1; d <= Days; ++d) {
        m_days.push_back(readDay(m_s.db, settings, m_first.addDays(d - 1), std::max(week.column, pos::FirstCol)));
        times.insert(m_days.back().times.begin(), m_days.back().times.end());
    }
    m_times.assign(times.begin(), times.end());

    m_grid.beginUpdate();
    m_grid.setRows(pos::FirstTimeRow);
    m_grid.setCols(Days + 1);
    m_grid.setColWidth(pos::TimeCol, static_cast<int>(std::lround(TimeColumnWidth * widthFactor)));
    for (int d = 1; d <= Days; ++d) {
        const QDate date = m_first.addDays(d - 1);
        m_grid.setColWidth(d, DayColumnWidth);
        m_grid.setTextMatrix(pos::NumberRow, d, book::shortDate(date));
        m_grid.setTextMatrix(pos::NameRow, d, book::weekdayName(date));
        m_grid.setCellAlign(pos::NumberRow, d, ui::CellAlign::Center);
        m_grid.setCellAlign(pos::NameRow, d, ui::CellAlign::Center);
    }
    book::PageLayout rows = book::layoutOf(settings.listno, settings.names, settings.open, settings.close,
                                           settings.timeslot, settings.rHeight);
    rows.times = m_times;
    book::setupRows(m_grid, rows);
    for (int d = 1; d <= Days; ++d)
        fill(d, m_days[static_cast<size_t>(d - 1)]);
    m_grid.setBackColor(ui::colours::PaleYellow);
    m_grid.setBackColorSel(ui::colours::PaleYellow);
    m_grid.setCursor(std::min(pos::FirstTimeRow, m_grid.rows() - 1), pos::FirstCol);
    m_grid.endUpdate();
}

void WeeklyController::fill(int col, const Day &day)
{
    // A cell without a colour of its own shows the day's background, on
    // screen and on paper alike: closed days look closed. Times the day
    // does not have are greyed out.
    const ui::Bgr background = day.closed ? ui::colours::Desktop : ui::colours::PaleYellow;
    for (int r = pos::FreeRow; r < m_grid.rows(); ++r) {
        m_grid.setTextMatrix(r, col, QString());
        m_grid.setCellColor(r, col, ui::colours::Grey);
    }
    const int lastWeekTime = pos::lastTimeRow(static_cast<int>(m_times.size()));
    const int n = static_cast<int>(day.times.size());
    for (int i = 0; i < day.cells.size(); ++i) {
        int row;
        if (i == 0)
            row = pos::FreeRow;
        else if (i <= n)
            row = pos::FirstTimeRow + static_cast<int>(std::lower_bound(m_times.begin(), m_times.end(),
                                                                        day.times[static_cast<size_t>(i - 1)]) -
                                                       m_times.begin());
        else
            row = lastWeekTime + (i - n);
        if (row >= m_grid.rows())
            continue;
        const ui::Bgr c = day.colours[static_cast<size_t>(i)];
        m_grid.setTextMatrix(row, col, day.cells[i]);
        m_grid.setCellColor(row, col, c != 0 ? c : background);
    }
}

int WeeklyController::pageRow(int col, int row) const
{
    if (m_days.empty() || row <= pos::FreeRow)
        return pos::FreeRow;
    const Day &day = m_days[static_cast<size_t>(std::clamp(col, 1, Days) - 1)];
    const int lastWeekTime = pos::lastTimeRow(static_cast<int>(m_times.size()));
    const int n = static_cast<int>(day.times.size());
    if (row > lastWeekTime)
        return pos::lastTimeRow(n) + std::min(row - lastWeekTime, pos::TrailingFreeRows);
    // The day's own row of that time, or of the last time before it.
    const int time = m_times[static_cast<size_t>(row - pos::FirstTimeRow)];
    const auto at = std::upper_bound(day.times.begin(), day.times.end(), time);
    return pos::FirstTimeRow + std::max(static_cast<int>(at - day.times.begin()) - 1, 0);
}

void WeeklyController::activate()
{
    m_hold.take();
}

void WeeklyController::jump(int row, int col)
{
    ui::WeekHandOver &week = m_s.state.week;
    week.back = ui::WeekHandOver::Back::OpenCell;
    week.openDate = dateOf(col);
    week.openRow = pageRow(col, row);
    m_hold.release();
    m_s.windows.replace(ui::win::WeeklySchedule, ui::win::Appt);
}

void WeeklyController::close()
{
    m_s.state.week.back = ui::WeekHandOver::Back::ReturnDay;
    m_hold.release();
    m_s.windows.replace(ui::win::WeeklySchedule, ui::win::Appt);
}

} // namespace schedules
