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

namespace book {

using store::DbError;

namespace {

const QString Crlf = QStringLiteral("\r\n");

} // namespace

AppointmentsHistory::AppointmentsHistory(BookHub &hub, PageSession &session, ui::Services &services)
    : m_hub(hub), m_session(session), m_s(services)
{
}

QString AppointmentsHistory::report(const QString &needle, const std::vector<PageRecord> &pages)
{
    QString out = QStringLiteral("Appointments History:  ") + needle + Crlf + Crlf;
    for (const PageRecord &p : pages) {
        const CellList hits = cellsContaining(p, needle);
        if (hits.empty())
            continue;
        const PageLayout l = layoutOf(p, 1);
        const QString day = QStringLiteral("  ") + shortDate(p.date) + QStringLiteral("  ") + weekdayName(p.date) +
                            QStringLiteral("  ");
        for (const auto &[r, c] : hits) {
            const int i = r - pos::FirstTimeRow;
            // The two free rows below the times have no time label.
            const QString time = i < static_cast<int>(l.times.size())
                                     ? page::formatTime(l.times[static_cast<size_t>(i)])
                                     : QString();
            out += day + time + QStringLiteral("   ") + l.names.value(c - pos::FirstCol) + Crlf;
        }
    }
    return out;
}

void AppointmentsHistory::run()
{
    const ui::GridModel &g = m_session.grid();
    const int row = g.row(), col = g.col();
    const auto needle = m_s.prompter.input(QStringLiteral("Please enter Name to search:"), QStringLiteral("Search"),
                                           g.textMatrix(row, col));
    if (!needle || needle->isEmpty())
        return;
    const auto askDate = [this](const QString &prompt, const QString &title) -> std::optional<std::optional<QDate>> {
        const auto answer = m_s.prompter.input(prompt, title, QString());
        if (!answer || answer->trimmed().isEmpty()) {
            m_hub.requestFocus(Focus::Grid);
            return std::nullopt;
        }
        const auto date = parseDateInput(answer->trimmed());
        if (!date)
            m_s.prompter.message(QStringLiteral("Incorrect format! Please try again - mm/dd/yy "),
                                 QStringLiteral("Wrong format"));
        return date;
    };
    const auto from = askDate(QStringLiteral("You can conduct a search between two dates. Please enter start date in "
                                             "same format as Date on Diary - "),
                              QStringLiteral("Start Date"));
    if (!from || !*from)
        return;
    const auto to = askDate(QStringLiteral("Please enter last date to search:"), QStringLiteral("Last Date"));
    if (!to || !*to)
        return;
    if (**to < **from) {
        m_s.prompter.message(QStringLiteral("Sorry, start date entered is later than last date! Please try again.."),
                             QStringLiteral("Dates wrong"));
        return;
    }
    QString text;
    try {
        const PageSession::BusyScope busy(m_session);
        text = report(*needle, m_session.pages().pagesContaining(**from, **to, *needle));
    } catch (const DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Search History"), ui::Icon::Critical);
        return;
    }
    m_hub.requestFocus(Focus::Grid);
    ui::deliverText(m_s, QStringLiteral("Appointments History"), text);
}

} // namespace book
