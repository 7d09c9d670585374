#include "schedules/core/dailycontroller.h"

#include "book/pages/pagegrid.h"
#include "book/pages/pagepos.h"
#include "ui/core/dateinput.h"
#include "schedules/core/dailywidths.h"
#include "store/core/database.h"
#include "store/core/dberror.h"
#include "ui/core/desktop.h"
#include "ui/core/prompter.h"
#include "ui/core/windows.h"


namespace schedules {

using store::DbError;
namespace pos = book::pos;

const QString DailyController::Note = QStringLiteral(
    "Adjust column widths to obtain good fit for printout. To print more columns than will fit on one "
    "page, collapse some columns first. Re-expand them later to print.");

DailyController::DailyController(ui::Services &services)
    : m_s(services), m_pages(services.db), m_settingsStore(services.db), m_hold(services.state)
{
    m_grid.setFixedRows(pos::FreeRow);
    m_grid.setFixedCols(pos::FirstCol);
    ui::CellFont f;
    f.bold = true;
    m_grid.setFont(f);
}

void DailyController::load(double widthFactor)
{
    m_widthFactor = widthFactor;
    m_date = m_s.state.pageDate.isValid() ? m_s.state.pageDate : m_s.clock.today();
    try {
        m_settings = m_settingsStore.load();
        m_dwidth = m_settingsStore.field(QStringLiteral("DWidth")).toString();
        // The one way a page comes to be: as the book makes it, from the
        // settings and the weekday's template.
        m_page = m_pages.seek(m_date, m_settings);
    } catch (const DbError &e) {
        m_s.prompter.message(QString::number(e.number()) + QStringLiteral(" - ") + e.description(),
                             QStringLiteral("Get Emptystring"));
        m_page = book::PageRecord{};
        m_page.date = m_date;
        m_page.listno = m_settings.listno;
        m_page.names = m_settings.names;
        m_page.open = m_settings.open;
        m_page.close = m_settings.close;
        m_page.timeslot = m_settings.timeslot;
    }
    build();
}

void DailyController::build()
{
    const book::PageLayout layout = book::layoutOf(m_page, m_settings.rHeight);
    m_grid.beginUpdate();
    m_grid.setRows(std::max(layout.rows(), pos::FirstTimeRow));
    book::setupColumns(m_grid, layout.columns, layout.names, QString(), m_widthFactor);
    m_shownWidths = dailyWidths(m_grid.cols(), m_dwidth, m_widthFactor);
    for (int c = 0; c < m_grid.cols(); ++c)
        m_grid.setColWidth(c, m_shownWidths[static_cast<size_t>(c)]);
    book::setupRows(m_grid, layout);
    try {
        book::pasteText(m_grid, m_page.data);
        const ui::Bgr back = m_page.clinic ? book::DesktopColor : book::DefaultCellColor;
        m_grid.setBackColor(back);
        m_grid.setBackColorSel(back);
        book::applyColors(m_grid, m_page.colors, m_page.clinic);
    } catch (const std::exception &e) {
        m_s.prompter.message(QStringLiteral("Error Number 5. ") + QString::fromUtf8(e.what()),
                             QStringLiteral("Fill Grid"));
    }
    m_grid.setCursor(pos::FirstTimeRow, pos::FirstCol);
    m_grid.endUpdate();
}

void DailyController::activate()
{
    m_hold.take();
}

QString DailyController::dayCaption() const
{
    return book::weekdayName(m_date);
}

QString DailyController::dateCaption() const
{
    return book::shortDate(m_date);
}

void DailyController::saveWidths()
{
    // Widths the user left as they were shown are stored already (or are
    // the defaults): taking the width factor out and back must not move them.
    std::vector<int> now;
    for (int c = 0; c < m_grid.cols(); ++c)
        now.push_back(m_grid.colWidth(c));
    if (now == m_shownWidths)
        return;
    const QString text = dwidthText(m_grid, m_widthFactor);
    if (text == m_dwidth) {
        m_shownWidths = now;
        return;
    }
    try {
        const auto stored = m_settingsStore.writeIfUnchanged(QStringLiteral("DWidth"), m_dwidth, text);
        if (!stored) {
            m_dwidth = text;
            m_shownWidths = now;
            return;
        }
        // Another station stored its widths meanwhile: they stay, and the
        // next save (Print or Close) stores these over them.
        m_dwidth = stored->toString();
        m_s.prompter.message(QStringLiteral("Another station has stored other column widths meanwhile, so "
                                            "these were not stored. Print or close again to store them."),
                             QStringLiteral("Save Column Widths"));
    } catch (const DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Save Column Widths"));
    }
}

void DailyController::print()
{
    saveWidths();
}

void DailyController::close()
{
    saveWidths();
    m_hold.release();
    m_s.windows.unload(ui::win::DailySchedule);
}

} // namespace schedules
