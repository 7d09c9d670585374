// Undo and redo of this station's changes to the book: each step is written
// back through the page writes, guarded like any other write.
#include "book/core/pagesession.h"

#include "book/core/bookhub.h"
#include "ui/core/dateinput.h"
#include "book/core/writefailure.h"
#include "book/pages/pagepos.h"
#include "book/pages/pagetext.h"
#include "store/core/changelog.h"
#include "store/core/database.h"
#include "ui/core/prompter.h"

namespace book {

using store::DbError;

namespace {

// A cell as the user knows it: its time (or "(free row)") and consultant.
QString cellName(const PageLayout &l, int row, int col)
{
    const int t = row - pos::FirstTimeRow;
    const QString time = t >= 0 && t < static_cast<int>(l.times.size())
                             ? page::formatTime(l.times[static_cast<size_t>(t)]).trimmed()
                             : QStringLiteral("(free row)");
    const int n = pos::textCol(col);
    const QString name = n >= 0 && n < l.names.size() ? l.names[n].trimmed() : QString();
    return QStringLiteral("%1 %2").arg(time, name.isEmpty() ? QStringLiteral("column %1").arg(col) : name);
}

// A colour list in which each of the cells holds the given colour: the guard
// of a colour write compares only the cells written.
QString colourGuard(const ColorChanges &expected, int columns, int rows)
{
    const int perColumn = std::max(pos::colorRow(rows), 0);
    std::vector<int> values(static_cast<size_t>(std::max(pos::textCol(columns), 0) * perColumn), DefaultCellColor);
    for (const auto &[at, colour] : expected) {
        const size_t i = static_cast<size_t>(pos::textCol(at.second) * perColumn + pos::colorRow(at.first));
        if (at.first >= pos::FirstTimeRow && at.first < rows && i < values.size())
            values[i] = colour;
    }
    return encodeColors(values);
}

} // namespace

void PageSession::keepStep(const QString &command, int row, int col, const std::vector<store::Edit> &edits)
{
    UndoStep step;
    step.page = m_page.date;
    step.description = QStringLiteral("%1 %2").arg(command, cellName(m_layout, row, col));
    for (const store::Edit &e : edits) {
        PageChange p = pageChange(e);
        if (!p.empty())
            step.pages.push_back(std::move(p));
    }
    if (step.pages.empty())
        return;
    m_history.add(std::move(step));
    emit m_hub.undoChanged();
}

QString PageSession::undoText() const
{
    const UndoStep *s = m_history.nextUndo(m_page.date);
    return s ? QStringLiteral("Undo ") + s->description : QString();
}

QString PageSession::redoText() const
{
    const UndoStep *s = m_history.nextRedo(m_page.date);
    return s ? QStringLiteral("Redo ") + s->description : QString();
}

CellList PageSession::takeBack(bool undo)
{
    const UndoStep *next = undo ? m_history.nextUndo(m_page.date) : m_history.nextRedo(m_page.date);
    if (!next)
        return {};
    const UndoStep step = *next;
    const QString title = undo ? QStringLiteral("Undo") : QStringLiteral("Redo");
    const int row = m_grid.row(), col = m_grid.col();
    const auto drop = [&] { undo ? m_history.dropUndo(m_page.date) : m_history.dropRedo(m_page.date); };

    // Undo writes what was there before over what the change left; redo the
    // other way round. Each page is written as it is laid out now.
    std::vector<CellChanges> expectedCells(step.pages.size());
    std::vector<QString> expectedColours(step.pages.size());
    std::vector<PageStore::BlockChange> changes;
    std::vector<PageStore::BlockWrite> writes;
    try {
        const BusyScope busy(*this);
        for (size_t i = 0; i < step.pages.size(); ++i) {
            const PageChange &p = step.pages[i];
            const PageRecord rec = m_pages.find(p.date);
            if (rec.id == 0 || (rec.colorId == 0 && !p.colorAfter.empty()))
                throw DbError(DbError::NoCurrentRecord, QStringLiteral("The page has been removed by another station."));
            const PageLayout l = layoutOf(rec, 1);
            expectedCells[i] = undo ? p.textAfter : p.textBefore;
            expectedColours[i] = colourGuard(undo ? p.colorAfter : p.colorBefore, l.columns, l.rows());
            PageStore::BlockChange c;
            c.id = p.textAfter.empty() ? 0 : rec.id;
            c.colorId = p.colorAfter.empty() ? 0 : rec.colorId;
            c.columns = l.columns;
            c.rows = l.rows();
            c.cells = undo ? p.textBefore : p.textAfter;
            c.expectedCells = &expectedCells[i];
            c.colors = undo ? p.colorBefore : p.colorAfter;
            c.expectedColors = &expectedColours[i];
            changes.push_back(std::move(c));
        }
        // The log names the step as the Edit menu did ("Undo Cut 08:00 AM Dr Avery").
        const store::CommandScope named(m_s.db, title + QLatin1Char(' ') + step.description);
        writes = m_pages.writeBlocks(changes);
    } catch (const DbError &e) {
        // A page removed meanwhile holds nothing of the step any more.
        if (e.number() == DbError::NoCurrentRecord)
            drop();
        m_s.prompter.message(
            writeFailure(e, m_s.db, undo ? QStringLiteral("Nothing was undone.") : QStringLiteral("Nothing was redone.")),
            title, ui::Icon::Warning);
        refreshGrid();
        m_grid.setCursor(row, col);
        emit m_hub.undoChanged();
        return {};
    }
    if (!writes.empty() && !writes.back().changed.empty()) {
        drop();
        refreshGrid();
        m_grid.setCursor(row, col);
        takeBackRefused(step, undo, step.pages[writes.size() - 1], writes.back());
        emit m_hub.undoChanged();
        return {};
    }

    undo ? m_history.undone(m_page.date) : m_history.redone(m_page.date);
    refreshGrid();
    m_grid.setCursor(row, col);
    emit m_hub.undoChanged();
    CellList shown;
    for (const PageChange &p : step.pages)
        if (p.date == m_page.date)
            shown = p.cells();
    return shown;
}

// Another station changed cells of the step since: each is named, with what
// it holds now.
void PageSession::takeBackRefused(const UndoStep &step, bool undo, const PageChange &page,
                                  const PageStore::BlockWrite &w)
{
    const PageRecord rec = m_pages.find(page.date);
    const PageLayout l = layoutOf(rec, 1);
    const page::Cells stored = page::decode(w.storedText);
    const CellChanges &expected = undo ? page.textAfter : page.textBefore;
    const QString day = page.date == m_page.date ? QString()
                                                   : QStringLiteral("%1 %2 ").arg(weekdayName(page.date),
                                                                                  shortDate(page.date));
    QStringList where;
    for (const auto &[r, c] : w.changed) {
        if (where.size() == 8) {
            where << QStringLiteral("…");
            break;
        }
        const QString name = day + cellName(l, r, c);
        const auto text = expected.find({r, c});
        const QString now = page::cellAt(stored, r, c);
        if (text != expected.end() && now != text->second)
            where << (now.isEmpty() ? QStringLiteral("%1 is now empty").arg(name)
                                    : QStringLiteral("%1 now holds \"%2\"").arg(name, now));
        else
            where << QStringLiteral("%1 now has another colour").arg(name);
    }
    const QString text =
        undo ? QStringLiteral("Another station has changed these cells since this station's %1:\n\n%2\n\n"
                              "Nothing was undone, and the step has been taken off the Undo list. The page now "
                              "shows what is stored.")
             : QStringLiteral("Another station has changed these cells since this station undid %1:\n\n%2\n\n"
                              "Nothing was redone, and the step has been taken off the Redo list. The page now "
                              "shows what is stored.");
    m_s.prompter.message(text.arg(step.description, where.join(QLatin1Char('\n'))),
                         undo ? QStringLiteral("Undo") : QStringLiteral("Redo"), ui::Icon::Warning);
}

} // namespace book
