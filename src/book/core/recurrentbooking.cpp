#include "book/core/recurrentbooking.h"

#include "book/core/bookhub.h"
#include "book/core/cellentry.h"
#include "ui/core/dateinput.h"
#include "book/core/pagesession.h"
#include "book/core/writefailure.h"
#include "book/pages/pagepos.h"
#include "book/pages/pagetext.h"
#include "store/core/database.h"
#include "ui/core/prompter.h"

#include <cmath>
#include <optional>

namespace book {

using store::DbError;

namespace {

const QString Title = QStringLiteral("Recurrent Booking");

// A cell's text on one line of the details.
QString oneLine(QString text)
{
    return text.replace(page::LineBreak, QStringLiteral(" / "));
}

} // namespace

RecurrentBooking::RecurrentBooking(PageSession &session, ui::Services &services, CellEntry &entry)
    : m_session(session), m_s(services), m_entry(entry)
{
}

int RecurrentBooking::readNumber(const QString &text)
{
    // Blanks, a sign, digits and one decimal point: as far as they go.
    const QString t = text.trimmed();
    qsizetype end = 0;
    if (end < t.size() && (t[end] == QLatin1Char('-') || t[end] == QLatin1Char('+')))
        ++end;
    bool point = false;
    while (end < t.size() && ((t[end].isDigit() && t[end].unicode() < 128) || (!point && t[end] == QLatin1Char('.')))) {
        point = point || t[end] == QLatin1Char('.');
        ++end;
    }
    bool ok = false;
    const double value = t.left(end).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return 0;
    // Far beyond any range asked for: what matters is that it is too large.
    const double clamped = std::clamp(value, -1e6, 1e6);
    return static_cast<int>(std::nearbyint(clamped));
}

int RecurrentBooking::furtherBookings(int interval, int period)
{
    const int n = static_cast<int>(std::nearbyint(static_cast<double>(period) / interval));
    return interval == 1 ? n - 1 : n;
}

QString RecurrentBooking::confirmation(const QString &text, int interval, int period, int further)
{
    return QStringLiteral("Bookings will be made for ") + text + QLatin1Char(' ') + QString::number(interval) +
           QStringLiteral("-weekly over next ") + QString::number(period) +
           QStringLiteral(" weeks. Excluding today's booking, a further ") + QString::number(further) +
           QStringLiteral(" booking(s) will be made. Is this correct?");
}

std::vector<QDate> RecurrentBooking::targets(const QDate &start, int interval, int further)
{
    std::vector<QDate> out;
    QDate d = start;
    for (int k = 1; k <= further; ++k)
        out.push_back(d = d.addDays(7 * interval));
    return out;
}

void RecurrentBooking::run()
{
    if (!m_entry.leaveEditor())
        return;
    while (attempt() == Outcome::Again) {
    }
}

std::optional<int> RecurrentBooking::askNumber(const QString &text, const QString &proposed, const Limit &limit,
                                               Outcome &outcome)
{
    outcome = Outcome::Done;
    const auto typed = m_s.prompter.input(text, Title, proposed);
    if (!typed || typed->isEmpty())
        return std::nullopt;
    const int n = std::max(readNumber(*typed), limit.least);
    if (n > limit.most) {
        outcome = m_s.prompter.ask(limit.tooMany, limit.title) ? Outcome::Again : Outcome::Done;
        return std::nullopt;
    }
    return n;
}

RecurrentBooking::Outcome RecurrentBooking::attempt()
{
    ui::GridModel &grid = m_session.grid();
    const int row = grid.row(), col = grid.col();
    if (!pos::inData(row, col) || m_session.page().id == 0)
        return Outcome::Done;
    const QString text = grid.textMatrix(row, col);
    // The colour as stored: a closed day shows every cell in the closed look.
    int colour = DefaultCellColor;
    if (row >= pos::FirstTimeRow) {
        const int perColumn = pos::colorRow(grid.rows());
        const auto stored = shownColors(m_session.page().colors,
                                        static_cast<size_t>(pos::textCol(grid.cols()) * perColumn));
        colour = stored[static_cast<size_t>(pos::textCol(col) * perColumn + pos::colorRow(row))];
    }
    const QDate start = m_session.page().date;

    Outcome outcome = Outcome::Done;
    const auto intervalTyped = askNumber(
        QStringLiteral("Please enter the time interval for this recurrent booking e.g. 1 for weekly, 2 for "
                       "fortnightly, 3 for 3-weekly, 4 for 4-weekly, etc (Range 1 - 12). Enter only a number."),
        QStringLiteral("1"),
        {1, 12, QStringLiteral("Sorry, you can make recurrent bookings only up to 12-weekly! Do you want to try again?"),
         QStringLiteral("Time interval entry incorrect")},
        outcome);
    if (!intervalTyped)
        return outcome;
    const auto periodTyped = askNumber(
        QStringLiteral("Please enter the time period in weeks over which this recurrent booking is made (Range 2 - "
                       "24). Enter only a number."),
        QStringLiteral("4"),
        {2, 24, QStringLiteral("Sorry, you can make recurrent bookings for only up to 24 weeks! Do you want to try again?"),
         QStringLiteral("Time period entry incorrect")},
        outcome);
    if (!periodTyped)
        return outcome;
    const int interval = *intervalTyped, period = *periodTyped;

    const int further = furtherBookings(interval, period);
    const std::vector<QDate> dates = targets(start, interval, further);
    try {
        const std::vector<Target> found = survey(dates, row, col);
        const Question q = question(text, interval, period, found);
        if (!m_s.prompter.askWithDetails(q.text, Title, q.details, ui::Icon::Question, q.defaultNo))
            return Outcome::Done;

        const PageSession::BusyScope busy(m_session);
        // The target pages first, each made in its own short write: they stay
        // as ordinary pages whatever becomes of the series.
        m_session.readSettings();
        for (const QDate &d : dates)
            m_session.pages().seek(d, m_session.settings());
        // A cell may take the booking when it is empty or holds it already.
        // Emptying a series clears only what the user was shown.
        std::map<QDate, QString> before;
        for (const Target &t : found)
            before[t.date] = t.now;
        const PageStore::CellCheck mayWrite = [&](const QDate &date, const QString &stored) {
            return text.isEmpty() ? stored == before[date] : stored.isEmpty() || stored == text;
        };
        const PageStore::SeriesWrite w = m_session.pages().writeCellSeries(dates, row, col, text, colour, mayWrite);
        if (w.refused.isValid()) {
            taken(w.refused, row, col);
            return Outcome::Done;
        }
        if (w.outside.isValid()) {
            const PageLayout there = layoutOf(m_session.pages().find(w.outside), 1);
            failed(row, col,
                   QStringLiteral("Recurrent booking failed: the page of %1 %2 has no %3, as it was made with other "
                                  "times or columns. Nothing was booked; please book that day by hand.")
                       .arg(weekdayName(w.outside), shortDate(w.outside), missingIn(there, row, col)));
            return Outcome::Done;
        }
        m_session.keepStep(QStringLiteral("Recurrent Booking"), row, col, w.edits);
    } catch (const DbError &e) {
        // The cause as it is: another station holding the data, a full disk
        // or a folder that takes no files; nothing a number typed could mend.
        failed(row, col, writeFailure(e, m_s.db, QStringLiteral("Recurrent booking failed: nothing was booked.")));
        return Outcome::Done;
    }
    m_session.refreshGrid();
    grid.setCursor(row, col);
    return Outcome::Done;
}

std::vector<RecurrentBooking::Target> RecurrentBooking::survey(const std::vector<QDate> &dates, int row, int col)
{
    std::vector<Target> out;
    std::optional<store::Settings> settings;
    for (const QDate &d : dates) {
        const PageRecord p = m_session.pages().find(d);
        Target t;
        t.date = d;
        QString data = p.data;
        PageLayout l;
        if (p.id == 0) {
            if (!settings)
                settings = m_session.settingsStore().load();
            data = settings->templateFor(d.dayOfWeek());
            t.closed = settings->closedOn(d.dayOfWeek());
            l = layoutOf(settings->listno, settings->names, settings->open, settings->close, settings->timeslot, 1);
        } else {
            t.closed = p.clinic;
            l = layoutOf(p, 1);
        }
        t.missing = missingIn(l, row, col);
        if (t.missing.isEmpty())
            t.now = page::cellAt(page::decode(data), row, col);
        out.push_back(t);
    }
    return out;
}

QString RecurrentBooking::missingIn(const PageLayout &l, int row, int col) const
{
    const PageLayout &here = m_session.layout();
    if (col >= l.columns) {
        const QString name =
            pos::textCol(col) < here.names.size() ? here.names[pos::textCol(col)].trimmed() : QString();
        return name.isEmpty() ? QStringLiteral("column %1").arg(col)
                              : QStringLiteral("column %1 (%2)").arg(col).arg(name);
    }
    if (row < l.rows())
        return QString();
    if (row <= here.lastTimeRow())
        return page::formatTime(here.times[static_cast<size_t>(row - pos::FirstTimeRow)]).trimmed() +
               QStringLiteral(" row");
    return QStringLiteral("row %1 below the times").arg(row - here.lastTimeRow());
}

RecurrentBooking::Question RecurrentBooking::question(const QString &text, int interval, int period,
                                                      const std::vector<Target> &targets)
{
    Question q;
    if (targets.empty()) {
        q.text = confirmation(text, interval, period, 0);
        q.details = QStringLiteral("No further bookings.");
        return q;
    }
    QStringList lines, cleared, refused;
    for (const Target &t : targets) {
        QString line = weekdayName(t.date) + QLatin1Char(' ') + shortDate(t.date);
        if (t.closed)
            line += QStringLiteral("  - closed day");
        if (!t.missing.isEmpty()) {
            line += QStringLiteral("  - the page has no ") + t.missing;
            refused << line;
        } else if (!t.now.isEmpty() && t.now != text) {
            line += (text.isEmpty() ? QStringLiteral("  - will be cleared: ") : QStringLiteral("  - taken: ")) +
                    oneLine(t.now);
            (text.isEmpty() ? cleared : refused) << line;
        }
        lines << line;
    }
    q.details = lines.join(QLatin1Char('\n'));
    const auto list = [](const QStringList &l) { return QStringLiteral("\n    ") + l.join(QStringLiteral("\n    ")); };
    const int further = static_cast<int>(targets.size());
    if (!refused.isEmpty()) {
        // A series is booked whole or not at all.
        q.text = QStringLiteral("Bookings for %1 %2-weekly over next %3 weeks are made all together or not at "
                                "all, and of the further %4 booking(s), %5 cannot be made:%6\n\nNothing will be "
                                "booked. Please check and clear these cells before trying again. Try anyway?")
                     .arg(text.isEmpty() ? QStringLiteral("the empty cell") : text)
                     .arg(interval)
                     .arg(period)
                     .arg(further)
                     .arg(refused.size())
                     .arg(list(refused));
        q.defaultNo = true;
    } else if (text.isEmpty()) {
        q.text = QStringLiteral("The cell is empty: copied %1-weekly over next %2 weeks, it empties the same cell "
                                "on a further %3 page(s).")
                     .arg(interval)
                     .arg(period)
                     .arg(further);
        if (cleared.isEmpty()) {
            q.text += QStringLiteral(" None of them holds a booking. Is this correct?");
        } else {
            q.text += QStringLiteral("\n\n%1 booking(s) will be cleared:%2\n\nIs this correct?")
                          .arg(cleared.size())
                          .arg(list(cleared));
            q.defaultNo = true;
        }
    } else {
        q.text = confirmation(text, interval, period, further);
    }
    return q;
}

void RecurrentBooking::taken(const QDate &date, int row, int col)
{
    QString time;
    try {
        const PageLayout l = layoutOf(m_session.pages().find(date), m_session.settings().rHeight);
        const int i = row - pos::FirstTimeRow;
        if (i >= 0 && i < static_cast<int>(l.times.size()))
            time = page::formatTime(l.times[static_cast<size_t>(i)]).trimmed();
    } catch (const DbError &) {
        // The message names the date alone.
    }
    m_s.prompter.message(QStringLiteral("The requested time cell at ") + time + QStringLiteral(" on ") +
                             shortDate(date) +
                             QStringLiteral(" has already been taken! Please check and clear this cell before "
                                            "trying again..."),
                         QStringLiteral("Time cell taken!"));
    // The user stays on the page the series was started from.
    m_session.refreshGrid();
    m_session.grid().setCursor(row, col);
}

void RecurrentBooking::failed(int row, int col, const QString &text)
{
    m_s.prompter.message(text, Title);
    m_session.refreshGrid();
    m_session.grid().setCursor(row, col);
}

} // namespace book
