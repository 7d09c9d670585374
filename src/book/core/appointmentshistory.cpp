#include "book/core/appointmentshistory.h"

#include "book/core/bookhub.h"
#include "ui/core/dateinput.h"
#include "book/core/namesearch.h"
#include "book/core/pagesession.h"
#include "book/pages/pagegrid.h"
#include "book/pages/pagepos.h"
#include "book/pages/pagetext.h"
#include "store/core/database.h"
#include "ui/core/prompter.h"
#include "ui/core/textdelivery.h"

#include <optional>

namespace book {

using store::DbError;

namespace {

const QString Crlf = QStringLiteral("\r\n");

} // namespace

AppointmentsHistory::AppointmentsHistory(BookHub &hub, PageSession &session, ui::Services &services)
    : m_hub(hub), m_session(session), m_s(services)
{
}

namespace {

// The report's lines, a page at a time. Pages of one layout (nearly all of
// a book) share its times and names, made once.
class Lines {
public:
    explicit Lines(const QString &needle)
        : m_needle(needle), m_out(QStringLiteral("Appointments History:  ") + needle + Crlf + Crlf)
    {
    }

    void add(const PageRecord &p)
    {
        if (!m_layout || p.listno != m_key.listno || p.timeslot != m_key.timeslot || p.open != m_key.open ||
            p.close != m_key.close || p.names != m_key.names) {
            m_key = p;
            m_key.data.clear();
            m_layout = layoutOf(p, 1);
        }
        const PageLayout &l = *m_layout;
        const CellList hits = cellsContaining(p, m_needle, l);
        if (hits.empty())
            return;
        const QString day = QStringLiteral("  ") + shortDate(p.date) + QStringLiteral("  ") + weekdayName(p.date) +
                            QStringLiteral("  ");
        for (const auto &[r, c] : hits) {
            const int i = r - pos::FirstTimeRow;
            // The two free rows below the times have no time label.
            const QString time = i < static_cast<int>(l.times.size())
                                     ? page::formatTime(l.times[static_cast<size_t>(i)])
                                     : QString();
            m_out += day + time + QStringLiteral("   ") + l.names.value(c - pos::FirstCol) + Crlf;
        }
    }

    QString take() { return std::move(m_out); }

private:
    const QString &m_needle;
    QString m_out;
    PageRecord m_key;
    std::optional<PageLayout> m_layout;
};

} // namespace

QString AppointmentsHistory::report(const QString &needle, const std::vector<PageRecord> &pages)
{
    Lines lines(needle);
    for (const PageRecord &p : pages)
        lines.add(p);
    return lines.take();
}

QString AppointmentsHistory::report(const QString &needle, const PageStore &pages, const QDate &from, const QDate &to)
{
    Lines lines(needle);
    pages.forEachPageContaining(from, to, needle, [&lines](const PageRecord &p) { lines.add(p); });
    return lines.take();
}

void AppointmentsHistory::run()
{
    const ui::GridModel &g = m_session.grid();
    const int row = g.row(), col = g.col();
    const auto needle = m_s.prompter.input(QStringLiteral("Please enter Name to search:"), QStringLiteral("Search"),
                                           g.textMatrix(row, col));
    if (!needle || needle->isEmpty())
        return;
    // A date not given sends the focus back to the grid; the search ends either way.
    const auto dateOf = [this](const QString &prompt, const QString &title) {
        const auto date = askDate(m_s.prompter, {prompt, title, QString(),
                                                 QStringLiteral("Incorrect format! Please try again - mm/dd/yy "),
                                                 QStringLiteral("Wrong format")});
        if (!date)
            m_hub.requestFocus(Focus::Grid);
        return date.value_or(QDate());
    };
    const QDate from = dateOf(QStringLiteral("You can conduct a search between two dates. Please enter start date in "
                                             "same format as Date on Diary - "),
                              QStringLiteral("Start Date"));
    if (!from.isValid())
        return;
    const QDate to = dateOf(QStringLiteral("Please enter last date to search:"), QStringLiteral("Last Date"));
    if (!to.isValid())
        return;
    if (to < from) {
        m_s.prompter.message(QStringLiteral("Sorry, start date entered is later than last date! Please try again.."),
                             QStringLiteral("Dates wrong"));
        return;
    }
    QString text;
    try {
        const PageSession::BusyScope busy(m_session);
        text = report(*needle, m_session.pages(), from, to);
    } catch (const DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Search History"), ui::Icon::Critical);
        return;
    }
    m_hub.requestFocus(Focus::Grid);
    ui::deliverText(m_s, QStringLiteral("Appointments History"), text);
}

} // namespace book
