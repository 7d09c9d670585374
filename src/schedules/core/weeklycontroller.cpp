#include "schedules/core/weeklycontroller.h"

#include "book/core/dateinput.h"
#include "book/pages/pagegrid.h"
#include "book/pages/pagepos.h"
#include "book/pages/pagestore.h"
#include "book/pages/pagetext.h"
#include "store/core/dberror.h"
#include "store/core/settings.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"
#include "ui/core/windows.h"

#include <QStringList>
#include <cmath>

namespace schedules {

using store::DbError;
namespace pos = book::pos;

namespace {
constexpr int Days = 7;
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
    m_first = week.returnDate.isValid() ? week.returnDate : m_s.state.pageDate;
    m_grid.beginUpdate();
    try {
        const store::Settings settings = store::SettingsStore(m_s.db).load();
        m_bookName = settings.bookNo;
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
        const book::PageRecord day1 = book::PageStore(m_s.db).find(m_first);
        if (day1.id == 0)
            throw DbError(DbError::NoCurrentRecord, QStringLiteral("No current record."));
        book::setupRows(m_grid, book::layoutOf(day1, settings.rHeight));
    } catch (const DbError &e) {
        m_s.prompter.message(QString::number(e.number()) + QStringLiteral(" - ") + e.description(),
                             QStringLiteral("Form Load"));
    }

    // Each day's column from the free row down; what does not fit is dropped.
    for (int d = 1; d <= Days && d <= week.dayTexts.size(); ++d) {
        const QStringList cells = week.dayTexts[d - 1].split(QChar(13));
        const std::vector<int> none;
        const std::vector<int> &colours =
            static_cast<size_t>(d - 1) < week.dayColours.size() ? week.dayColours[static_cast<size_t>(d - 1)] : none;
        for (int r = pos::FreeRow; r < m_grid.rows(); ++r) {
            const int i = r - pos::FreeRow;
            m_grid.setTextMatrix(r, d, i < cells.size() ? cells[i] : QString());
            // A cell without a colour of its own shows the grid's background,
            // on screen and on paper alike.
            const ui::Bgr c = static_cast<size_t>(i) < colours.size() ? colours[static_cast<size_t>(i)] : 0;
            m_grid.setCellColor(r, d, c != 0 ? c : ui::colours::PaleYellow);
        }
    }
    m_grid.setBackColor(ui::colours::PaleYellow);
    m_grid.setBackColorSel(ui::colours::PaleYellow);
    m_grid.setCursor(std::min(pos::FirstTimeRow, m_grid.rows() - 1), pos::FirstCol);
    m_grid.endUpdate();
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
    week.openRow = std::max(row, pos::FreeRow);
    m_hold.release();
    m_s.windows.show(ui::win::Appt);
    m_s.windows.unload(ui::win::WeeklySchedule);
}

void WeeklyController::close()
{
    m_s.state.week.back = ui::WeekHandOver::Back::ReturnDay;
    m_hold.release();
    m_s.windows.show(ui::win::Appt);
    m_s.windows.unload(ui::win::WeeklySchedule);
}

} // namespace schedules
