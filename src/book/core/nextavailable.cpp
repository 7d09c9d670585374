#include "book/core/nextavailable.h"

#include "book/core/bookhub.h"
#include "book/core/booknavigation.h"
#include "book/core/cellentry.h"
#include "ui/core/dateinput.h"
#include "book/core/pagesession.h"
#include "book/pages/pagegrid.h"
#include "book/pages/pagepos.h"
#include "book/pages/pagetext.h"
#include "store/core/database.h"
#include "store/core/settings.h"
#include "ui/core/prompter.h"

#include <map>

namespace book {

using store::DbError;

namespace {
const QString Title = QStringLiteral("Next Available");
} // namespace

NextAvailable::NextAvailable(BookHub &hub, PageSession &session, ui::Services &services, CellEntry &entry,
                             BookNavigation &nav)
    : m_hub(hub), m_session(session), m_s(services), m_entry(entry), m_nav(nav)
{
}

bool NextAvailable::isFree(const QString &text, int colour)
{
    return text.isEmpty() && colour == DefaultCellColor;
}

bool NextAvailable::Day::freeAt(int row, int col) const
{
    if (closed || row < pos::FirstTimeRow || row > lastTimeRow || col < pos::FirstCol || col >= columns)
        return false;
    const size_t k = static_cast<size_t>(pos::textCol(col) * pos::colorRow(rows) + pos::colorRow(row));
    return isFree(page::cellAt(cells, row, col), colours[k]);
}

NextAvailable::Day NextAvailable::dayOf(const PageRecord &page, page::Cells cells)
{
    Day d;
    const PageLayout l = layoutOf(page, 1);
    d.cells = std::move(cells);
    d.columns = l.columns;
    d.rows = l.rows();
    d.lastTimeRow = l.lastTimeRow();
    // A closed day shows every cell in the closed look: none is free.
    d.closed = page.clinic;
    d.colours = shownColors(page.colors, static_cast<size_t>(pos::textCol(d.columns) * pos::colorRow(d.rows)));
    return d;
}

NextAvailable::Day NextAvailable::templateDay(const QDate &date, const store::Settings &s)
{
    PageRecord p;
    p.date = date;
    p.data = s.templateFor(date.dayOfWeek());
    p.clinic = s.closedOn(date.dayOfWeek());
    p.listno = s.listno;
    p.names = s.names;
    p.open = s.open;
    p.close = s.close;
    p.timeslot = s.timeslot;
    p.colors = QStringLiteral("0");
    return dayOf(p, page::decode(p.data));
}

std::optional<std::pair<int, int>> NextAvailable::firstFree(const Day &day, std::optional<int> column)
{
    for (int r = pos::FirstTimeRow; r <= day.lastTimeRow; ++r) {
        if (column) {
            if (day.freeAt(r, *column))
                return std::make_pair(r, *column);
            continue;
        }
        for (int c = pos::FirstCol; c < day.columns; ++c)
            if (day.freeAt(r, c))
                return std::make_pair(r, c);
    }
    return std::nullopt;
}

void NextAvailable::byRow()
{
    forward(Mode::Row);
}

void NextAvailable::byColumn()
{
    forward(Mode::Column);
}

void NextAvailable::forward(Mode mode)
{
    if (!m_entry.leaveEditor())
        return;
    try {
        // The page on display as stored now, looked at in the grid itself.
        m_session.refreshGrid();
        const ui::GridModel &g = m_session.grid();
        const int row = g.row(), col = g.col();
        const int lastTimeRow = m_session.layout().lastTimeRow();
        const auto freeHere = [&](int r, int c) {
            return r >= pos::FirstTimeRow && r <= lastTimeRow && c >= pos::FirstCol && c < g.cols() &&
                   isFree(g.textMatrix(r, c), g.cellColor(r, c));
        };
        if (mode == Mode::Row) {
            for (int c = col + 1; c < g.cols(); ++c)
                if (freeHere(row, c))
                    return land(row, c);
            for (int r = std::max(row + 1, pos::FirstTimeRow); r <= lastTimeRow; ++r)
                for (int c = pos::FirstCol; c < g.cols(); ++c)
                    if (freeHere(r, c))
                        return land(r, c);
        } else {
            for (int r = std::max(row + 1, pos::FirstTimeRow); r <= lastTimeRow; ++r)
                if (freeHere(r, col))
                    return land(r, col);
        }

        const QDate start = m_session.page().date;
        std::map<QDate, DecodedPage> stored;
        std::optional<store::Settings> settings;
        {
            const PageSession::BusyScope busy(m_session);
            for (DecodedPage &p : m_session.pages().pagesBetween(start.addDays(1), start.addDays(Days))) {
                const QDate date = p.record.date;
                stored.emplace(date, std::move(p));
            }
        }
        for (int d = 1; d <= Days; ++d) {
            const QDate date = start.addDays(d);
            const auto it = stored.find(date);
            if (it == stored.end() && !settings)
                settings = m_session.settingsStore().load();
            const Day day = it != stored.end() ? dayOf(it->second.record, std::move(it->second.cells))
                                               : templateDay(date, *settings);
            const auto cell = firstFree(day, mode == Mode::Column ? std::optional<int>(col) : std::nullopt);
            if (cell) {
                m_nav.goToDate(date);
                if (m_session.page().date == date)   // else the user has been told why not
                    land(cell->first, cell->second);
                return;
            }
        }
        m_nav.goToDate(start.addDays(Days));
        nothingFree(mode == Mode::Row ? QStringLiteral("No empty timeslot availabe last 90 days!")
                                      : QStringLiteral("No empty timeslot availabe next 90 days!"));
    } catch (const DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Search Error"), ui::Icon::Critical);
    }
}

void NextAvailable::onDate()
{
    if (!m_entry.leaveEditor())
        return;
    const auto date =
        askDate(m_s.prompter, {QStringLiteral("Please enter date to search: Use date format  mm/dd/yy  or  mm-dd-yy"),
                               QStringLiteral("Search Date"), shortDate(m_session.page().date),
                               QStringLiteral("Date entered is in wrong format. Please try again!"),
                               QStringLiteral("Wrong Date format")});
    if (!date) {
        m_hub.requestFocus(Focus::Grid);
        return;
    }
    if (!date->isValid())
        return;
    try {
        if (*date == m_session.page().date)
            m_session.refreshGrid();
        else
            m_nav.goToDate(*date);
        if (m_session.page().date != *date)
            return;   // the page could not be opened: the user has been told
        const ui::GridModel &g = m_session.grid();
        const int lastTimeRow = m_session.layout().lastTimeRow();
        for (int r = pos::FirstTimeRow; r <= lastTimeRow; ++r)
            for (int c = pos::FirstCol; c < g.cols(); ++c)
                if (isFree(g.textMatrix(r, c), g.cellColor(r, c)))
                    return land(r, c);
        nothingFree(QStringLiteral("No empty timeslot availabe on this page! Please try another date..."));
    } catch (const DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Search Error"), ui::Icon::Critical);
    }
}

void NextAvailable::land(int row, int col)
{
    m_session.grid().setCursor(row, col);
    m_hub.requestFocus(Focus::Grid);
    m_entry.gridKeyPress(QChar(13));   // the editor opens on the free cell
}

void NextAvailable::nothingFree(const QString &text)
{
    m_s.prompter.message(text, Title);
    if (!m_nav.panelShown())
        m_nav.toggleFullWidth();
    m_hub.requestFocus(Focus::Calendar);
}

} // namespace book
