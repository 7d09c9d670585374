#include "book/core/bookprinting.h"

#include "book/core/bookhub.h"
#include "book/core/cellentry.h"
#include "book/core/booknavigation.h"
#include "book/core/columnprint.h"
#include "book/core/pagesession.h"
#include "book/pages/pagepos.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"
#include "ui/core/sheetprinter.h"
#include "ui/core/windows.h"

namespace book {

BookPrinting::BookPrinting(BookHub &hub, PageSession &session, ui::Services &services, CellEntry &entry,
                           BookNavigation &nav)
    : m_hub(hub), m_session(session), m_s(services), m_entry(entry), m_nav(nav)
{
}

void BookPrinting::openPanel()
{
    if (m_session.page().id == 0 || !m_entry.leaveEditor())
        return;
    const ui::GridModel &g = m_session.grid();
    // Pressed again while the panel is up (the focus may have gone back to
    // the grid), it starts afresh from the cell in hand.
    m_options.open(g.row(), g.col(), g.cols() - pos::FirstCol);
    emit m_hub.printPanelChanged();
    m_hub.requestFocus(Focus::PrintPanel);
}

void BookPrinting::closePanel()
{
    if (!m_options.visible())
        return;
    m_session.grid().setCursor(m_options.savedRow(), m_options.savedCol());
    hidePanel();
    m_hub.requestFocus(Focus::Grid);
}

void BookPrinting::hidePanel()
{
    if (!m_options.visible())
        return;
    m_options.close();
    emit m_hub.printPanelChanged();
}

PrintOptions::Focus BookPrinting::print()
{
    const PrintOptions::Action a = m_options.print();
    // A choice carried out closes the panel: left up, it kept the keyboard
    // from the grid, or the grid's keys from it.
    switch (a.kind) {
    case PrintOptions::Action::Weekly:
        if (m_session.page().date.dayOfWeek() != Qt::Monday) {
            m_s.prompter.message(QStringLiteral("Please go to the Monday Page to print the weekly schedule"),
                                 QStringLiteral("Print Weekly Schedule"), ui::Icon::None);
            break;
        }
        closePanel();
        // The book stays on screen behind the weekly view.
        m_nav.prepareWeek();
        m_s.windows.show(ui::win::WeeklySchedule);
        return PrintOptions::Focus::Stay;
    case PrintOptions::Action::Daily:
        closePanel();
        m_s.state.pageDate = m_session.page().date;
        m_s.windows.show(ui::win::DailySchedule);
        return PrintOptions::Focus::Stay;
    case PrintOptions::Action::Column:
        if (printColumn(a.column)) {
            closePanel();
            return PrintOptions::Focus::Stay;
        }
        break;
    case PrintOptions::Action::Nothing:
        break;
    }
    emit m_hub.printPanelChanged();
    return a.focus;
}

bool BookPrinting::printColumn(int col)
{
    if (!m_printer || col < pos::FirstCol || col >= m_session.grid().cols())
        return false;
    while (true) {
        QString error;
        {
            const PageSession::BusyScope busy(m_session);
            ColumnPrint job(m_session.grid(), col, m_session.dateCaption(), m_session.dayCaption());
            error = m_printer->print(QStringLiteral("Appointment Schedule %1 column %2")
                                         .arg(m_session.page().date.toString(Qt::ISODate))
                                         .arg(col),
                                     false, [&job](ui::OutputSurface &out) { job.draw(out); });
        }
        if (error.isEmpty())
            return true;
        if (!m_s.prompter.ask(error + QStringLiteral(". Retry?"), QString(), ui::Icon::Question))
            return false;
    }
}

} // namespace book
