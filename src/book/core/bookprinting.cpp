#include "book/core/bookprinting.h"

#include "book/core/bookcontroller.h"
#include "book/core/pagesession.h"
#include "book/pages/pagepos.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"
#include "ui/core/windows.h"

namespace book {

BookPrinting::BookPrinting(BookController &book, PageSession &session, ui::Services &services)
    : m_book(book), m_session(session), m_s(services)
{
}

void BookPrinting::openPanel()
{
    if (m_session.page().id == 0 || !m_book.entry().leaveEditor())
        return;
    const ui::GridModel &g = m_session.grid();
    m_options.open(g.row(), g.col(), g.cols() - pos::FirstCol);
    emit m_book.printPanelChanged();
}

void BookPrinting::closePanel()
{
    if (!m_options.visible())
        return;
    m_options.close();
    m_session.grid().setCursor(m_options.savedRow(), m_options.savedCol());
    emit m_book.printPanelChanged();
    m_book.requestFocus(Focus::Grid);
}

PrintOptions::Focus BookPrinting::print()
{
    const PrintOptions::Action a = m_options.print();
    switch (a.kind) {
    case PrintOptions::Action::Weekly:
        weekly();
        break;
    case PrintOptions::Action::Daily:
        m_s.state.pageDate = m_session.page().date;
        m_s.windows.show(ui::win::DailySchedule);
        break;
    case PrintOptions::Action::Column:
    case PrintOptions::Action::Nothing:
        break;
    }
    emit m_book.printPanelChanged();
    return a.focus;
}

void BookPrinting::weekly()
{
    if (m_session.page().date.dayOfWeek() != Qt::Monday) {
        m_s.prompter.message(QStringLiteral("Please go to the Monday Page to print the weekly schedule"),
                             QStringLiteral("Print Weekly Schedule"), ui::Icon::None);
        return;
    }
    // The book stays on screen behind the weekly view.
    m_book.navigation().prepareWeek();
    m_s.windows.show(ui::win::WeeklySchedule);
}

} // namespace book
