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

#include <algorithm>

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

CellList cellsContaining(const PageRecord &page, const QString &needle, const PageLayout &l)
{
    CellList out;
    if (needle.isEmpty())
        return out;
    if (needle.contains(page::CellSep) || needle.contains(page::RowSep)) {
        // No cell holds a separator: nothing found, as cell by cell.
        return out;
    }
    // The stored text is searched as it is, and each find placed by the
    // separators before it: most of a long book's pages are read for a
    // name they hold once or not at all, and splitting every page into
    // its cells cost more than the search.
    const QString &data = page.data;
    qsizetype at = data.indexOf(needle, 0, Qt::CaseInsensitive);
    if (at < 0)
        return out;
    qsizetype scanned = 0;
    int textRow = 0, textCol = 0;
    while (at >= 0) {
        for (; scanned < at; ++scanned) {
            const QChar ch = data[scanned];
            if (ch == page::RowSep) {
                ++textRow;
                textCol = 0;
            } else if (ch == page::CellSep) {
                ++textCol;
            }
        }
        const int r = textRow + pos::FreeRow, c = textCol + pos::FirstCol;
        if (r >= pos::FirstTimeRow && r < l.rows() && c < l.columns &&
            (out.empty() || out.back() != std::pair<int, int>{r, c}))
            out.emplace_back(r, c);
        at = data.indexOf(needle, at + 1, Qt::CaseInsensitive);
    }
    // Column by column, as the grid is looked through.
    std::sort(out.begin(), out.end(), [](const auto &a, const auto &b) {
        return a.second != b.second ? a.second < b.second : a.first < b.first;
    });
    return out;
}

CellList cellsContaining(const PageRecord &page, const QString &needle)
{
    return cellsContaining(page, needle, layoutOf(page, 1));
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

bool NameSearch::closeEditor()
{
    if (!m_entry.leaveEditor())
        return false;
    m_entry.hideEditor();
    return true;
}

void NameSearch::step()
{
    // The cell found last may hold an entry being typed: it is never dropped.
    if (!closeEditor())
        return;
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
    if (!closeEditor())
        return;
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
