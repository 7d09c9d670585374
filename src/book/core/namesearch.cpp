#include "book/core/namesearch.h"

#include "book/core/bookhub.h"
#include "book/core/booknavigation.h"
#include "book/core/cellentry.h"
#include "book/core/pagesession.h"
#include "book/pages/pagegrid.h"
#include "book/pages/pagepos.h"
#include "book/pages/pagetext.h"
#include "store/core/database.h"
#include "ui/core/prompter.h"

namespace book {

using store::DbError;

namespace {
// Pages read at a time while stepping back: a name booked every day is
// found in the first few, a name booked nowhere costs one read.
constexpr int Batch = 64;
} // namespace

const QString NameSearch::Successful = QStringLiteral("Search successful. Continue search?");
const QString NameSearch::Complete = QStringLiteral("Search complete. Do another search?");
const QString NameSearch::Unsuccessful =
    QStringLiteral("Search unsuccessful!  Search again with different Name spelling?");

CellList cellsContaining(const PageRecord &page, const QString &needle)
{
    CellList out;
    if (needle.isEmpty())
        return out;
    const PageLayout l = layoutOf(page, 1);
    const page::Cells cells = page::decode(page.data);
    for (int c = pos::FirstCol; c < l.columns; ++c)
        for (int r = pos::FirstTimeRow; r < l.rows(); ++r)
            if (page::cellAt(cells, r, c).contains(needle, Qt::CaseInsensitive))
                out.emplace_back(r, c);
    return out;
}

NameSearch::NameSearch(BookHub &hub, PageSession &session, ui::Services &services, CellEntry &entry,
                       BookNavigation &nav)
    : m_hub(hub), m_session(session), m_s(services), m_entry(entry), m_nav(nav)
{
}

void NameSearch::start()
{
    if (!m_entry.leaveEditor())
        return;
    const ui::GridModel &g = m_session.grid();
    const auto answer = m_s.prompter.input(QStringLiteral("Please enter Name to search:"), QStringLiteral("Search"),
                                           g.textMatrix(g.row(), g.col()));
    if (!answer || answer->isEmpty()) {
        m_hub.requestFocus(Focus::Grid);
        return;
    }
    m_text = *answer;
    m_firstStep = true;
    m_foundBefore = false;
    step();
}

void NameSearch::step()
{
    // The cell found last may hold an entry being typed: it is never dropped.
    if (!m_entry.leaveEditor())
        return;
    m_entry.hideEditor();
    QDate to = m_firstStep ? QDate() : m_session.page().date.addDays(-1);
    try {
        const PageSession::BusyScope busy(m_session);
        for (;;) {
            const std::vector<PageRecord> pages = m_session.pages().pagesContaining(QDate(), to, m_text, true, Batch);
            for (const PageRecord &p : pages) {
                const CellList hits = cellsContaining(p, m_text);
                if (hits.empty())
                    continue;   // the name is only outside the cells looked at
                if (p.date == m_session.page().date)
                    m_session.refreshGrid();   // shown already: as stored now
                m_nav.goToDate(p.date);
                m_session.grid().setCursor(hits.front().first, hits.front().second);
                m_entry.gridKeyPress(QChar(13));   // the editor opens on the find
                m_foundBefore = true;
                report(true);
                return;
            }
            if (static_cast<int>(pages.size()) < Batch)
                break;
            to = pages.back().date.addDays(-1);
        }
    } catch (const DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Search"), ui::Icon::Critical);
    }
    report(false);
}

void NameSearch::report(bool foundNow)
{
    if (foundNow) {
        m_message = Successful;
        m_mode = Answer::Continue;
    } else {
        m_message = m_foundBefore ? Complete : Unsuccessful;
        m_mode = Answer::NewSearch;
    }
    m_panelShown = true;
    emit m_hub.searchPanelChanged();
    m_hub.requestFocus(Focus::AnswerYes);
}

void NameSearch::yes()
{
    if (m_mode == Answer::NewSearch) {
        start();
        return;
    }
    m_firstStep = false;
    m_foundBefore = true;
    step();
}

void NameSearch::no()
{
    if (!m_entry.leaveEditor())
        return;
    m_entry.hideEditor();
    hidePanel();
    m_session.grid().setCursor(pos::FirstTimeRow, pos::FirstCol);
    m_hub.requestFocus(Focus::Grid);
}

void NameSearch::hidePanel()
{
    if (!m_panelShown)
        return;
    m_panelShown = false;
    emit m_hub.searchPanelChanged();
}

} // namespace book
