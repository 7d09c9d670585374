#include "book/core/pagehistory.h"

#include "book/core/bookhub.h"
#include "book/core/pagesession.h"
#include "book/pages/pagegrid.h"
#include "book/pages/pagepos.h"
#include "book/pages/pagestore.h"
#include "store/core/database.h"
#include "store/core/dberror.h"
#include "ui/core/prompter.h"
#include "ui/core/textdelivery.h"

#include <QLocale>
#include <map>

namespace book {

namespace {

const QString PageKind = QStringLiteral("page");
const QString ColourSuffix = QStringLiteral(" colour");
const QString Crlf = QStringLiteral("\r\n");

// The changes of one page's log, a cell's text and colour changes of one
// entry as one line, in the entry's order of cells.
std::vector<CellChange> cellChanges(store::Database &db, const QDate &date)
{
    std::vector<CellChange> out;
    for (const store::LogEntry &e : store::ChangeLog::forRecord(db, PageKind, store::ChangeLog::keyText(date))) {
        std::map<std::pair<int, int>, CellChange> cells;
        std::vector<std::pair<int, int>> order;
        for (const store::FieldChange &c : e.changes) {
            QString field = c.field;
            const bool colour = field.endsWith(ColourSuffix);
            if (colour)
                field.chop(ColourSuffix.size());
            const QStringList at = field.split(QLatin1Char(','));
            bool rowOk = false, colOk = false;
            const int row = at.value(0).toInt(&rowOk), col = at.value(1).toInt(&colOk);
            if (at.size() != 2 || !rowOk || !colOk)
                continue;   // the memo, the closed-day flag, the page's columns
            const auto key = std::make_pair(row, col);
            auto found = cells.find(key);
            if (found == cells.end()) {
                order.push_back(key);
                found = cells.emplace(key, CellChange{e, row, col, {}, {}, {}, {}, {}, {}}).first;
                const QStringList label = c.label.split(QLatin1Char('\t'));
                found->second.time = label.value(0);
                found->second.consultant = label.value(1);
            }
            CellChange &cell = found->second;
            if (colour) {
                cell.colourBefore = c.before.toInt();
                cell.colourAfter = c.after.toInt();
            } else {
                cell.before = store::ChangeLog::shown(c.before);
                cell.after = store::ChangeLog::shown(c.after);
            }
        }
        for (const auto &key : order)
            out.push_back(std::move(cells[key]));
    }
    return out;
}

// A booking is gone from its cell when the cell no longer holds its text
// (emptied, or typed over with another); an added word is an edit.
bool emptied(const CellChange &c)
{
    if (!c.before || c.before->trimmed().isEmpty())
        return false;
    return !c.after || !c.after->contains(c.before->trimmed());
}

QString colourText(const std::optional<int> &colour)
{
    return colour ? QStringLiteral("#%1").arg(*colour, 6, 16, QLatin1Char('0')).toUpper() : QString();
}

} // namespace

PageHistory::PageHistory(BookHub &hub, PageSession &session, ui::Services &services)
    : m_hub(hub), m_session(session), m_s(services), m_db(services.db)
{
}

std::vector<CellChange> PageHistory::ofCell(store::Database &db, const QDate &date, int row, int col)
{
    std::vector<CellChange> out;
    for (CellChange &c : cellChanges(db, date))
        if (c.row == row && c.col == col)
            out.push_back(std::move(c));
    return out;
}

std::vector<CellChange> PageHistory::deletedFrom(store::Database &db, const QDate &date)
{
    std::vector<CellChange> out;
    for (CellChange &c : cellChanges(db, date))
        if (emptied(c))
            out.push_back(std::move(c));
    return out;
}

QString PageHistory::report(const QString &title, const std::vector<CellChange> &changes)
{
    QString out = title + Crlf + Crlf;
    if (changes.empty())
        return out + QStringLiteral("  No changes are recorded.") + Crlf;
    const QLocale locale;
    for (const CellChange &c : changes) {
        out += QStringLiteral("  %1  %2 (%3)  %4  [%5 %6]")
                   .arg(locale.toString(c.entry.at, QStringLiteral("MM/dd/yyyy hh:mm:ss AP")), c.entry.station,
                        c.entry.user, c.entry.command, c.time, c.consultant);
        if (c.before)
            out += QStringLiteral("  \"%1\" -> \"%2\"").arg(*c.before, c.after.value_or(QString()));
        if (c.colourBefore)
            out += QStringLiteral("  colour %1 -> %2").arg(colourText(c.colourBefore), colourText(c.colourAfter));
        out += Crlf;
    }
    return out;
}

std::vector<CellChange> PageHistory::currentCell() const
{
    const ui::GridModel &g = m_session.grid();
    return ofCell(m_db, m_session.page().date, g.row(), g.col());
}

std::vector<CellChange> PageHistory::deletedHere() const
{
    return deletedFrom(m_db, m_session.page().date);
}

PageHistory::PutBack PageHistory::restore(const CellChange &deleted)
{
    const PageLayout &l = m_session.layout();
    const QString label = deleted.time + QLatin1Char('\t') + deleted.consultant;
    int row = deleted.row, col = deleted.col;
    // The page's times or columns may have changed since: the cell of the
    // same time and consultant.
    if (cellLabel(l, row, col) != label || row >= l.rows() || col >= l.columns) {
        row = -1;
        for (int r = pos::FreeRow; r < l.rows() && row < 0; ++r)
            for (int c = pos::FirstCol; c < l.columns; ++c)
                if (cellLabel(l, r, c) == label) {
                    row = r;
                    col = c;
                    break;
                }
        if (row < 0)
            return PutBack::NoSuchCell;
    }
    const CellChanges cells{{{row, col}, deleted.before.value_or(QString())}};
    const CellChanges empty{{{row, col}, QString()}};
    PageStore::CellWrite w;
    try {
        store::CommandScope command(m_db, QStringLiteral("Put back"));
        w = m_session.pages().writeCells(m_session.page().id, cells, &empty);
    } catch (const store::DbError &) {
        return PutBack::Failed;
    }
    // What the page holds now, this station's and others' entries alike.
    m_session.showStoredText(w.storedText);
    m_session.grid().setCursor(row, col);
    return w.conflict ? PutBack::Occupied : PutBack::Done;
}

void PageHistory::cellHistory()
{
    const ui::GridModel &g = m_session.grid();
    if (!pos::inData(g.row(), g.col()))
        return;
    QString text;
    try {
        const QString cell = cellLabel(m_session.layout(), g.row(), g.col()).replace(QLatin1Char('\t'), QLatin1Char(' '));
        text = report(QStringLiteral("Cell History:  %1  %2").arg(m_session.dateCaption(), cell), currentCell());
    } catch (const store::DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Cell History"), ui::Icon::Critical);
        return;
    }
    m_hub.requestFocus(Focus::Grid);
    ui::deliverText(m_s, QStringLiteral("Cell History"), text);
}

void PageHistory::deletedOnPage()
{
    try {
        m_deletedShown = deletedHere();
    } catch (const store::DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Deleted on this page"), ui::Icon::Critical);
        return;
    }
    emit m_hub.deletedListRequested();
}

void PageHistory::putBack(const CellChange &deleted)
{
    // A locked page takes no bookings, typed or put back: nothing is
    // written, as a cell typed there stores nothing.
    if (m_session.locked()) {
        m_hub.requestFocus(Focus::Grid);
        return;
    }
    const QString title = QStringLiteral("Put back");
    switch (restore(deleted)) {
    case PutBack::Done:
        break;
    case PutBack::Occupied:
        m_s.prompter.message(QStringLiteral("The cell is not empty any more: the booking was not put back."), title,
                             ui::Icon::Warning);
        break;
    case PutBack::NoSuchCell:
        m_s.prompter.message(QStringLiteral("This page has no cell at %1 for %2 any more.")
                                 .arg(deleted.time, deleted.consultant),
                             title, ui::Icon::Warning);
        break;
    case PutBack::Failed:
        m_s.prompter.message(QStringLiteral("The booking could not be put back. Please try again."), title,
                             ui::Icon::Warning);
        m_session.refreshGrid();
        break;
    }
    m_hub.requestFocus(Focus::Grid);
}

} // namespace book
