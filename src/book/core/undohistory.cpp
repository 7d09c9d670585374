#include "book/core/undohistory.h"

#include <QStringList>
#include <algorithm>
#include <set>

namespace book {

namespace {

using Steps = std::deque<UndoStep>;

Steps::const_iterator latestOf(const Steps &steps, const QDate &page)
{
    const auto r = std::find_if(steps.rbegin(), steps.rend(), [&page](const UndoStep &s) { return s.page == page; });
    return r == steps.rend() ? steps.end() : std::prev(r.base());
}

void moveLatest(Steps &from, Steps *to, const QDate &page)
{
    const auto it = latestOf(from, page);
    if (it == from.end())
        return;
    if (to)
        to->push_back(*it);
    from.erase(it);
}

} // namespace

CellList PageChange::cells() const
{
    std::set<std::pair<int, int>> at;
    for (const auto &entry : textAfter)
        at.insert(entry.first);
    for (const auto &entry : colorAfter)
        at.insert(entry.first);
    return {at.begin(), at.end()};
}

PageChange pageChange(const store::Edit &edit)
{
    PageChange out;
    out.date = edit.key.toDate();
    for (const store::FieldChange &f : edit.changes) {
        // "row,col" or "row,col colour"
        const QStringList words = f.field.split(QLatin1Char(' '));
        const QStringList at = words.front().split(QLatin1Char(','));
        if (at.size() != 2)
            continue;
        const std::pair<int, int> cell{at[0].toInt(), at[1].toInt()};
        if (words.size() > 1) {
            out.colorBefore[cell] = f.before.toInt();
            out.colorAfter[cell] = f.after.toInt();
        } else {
            out.textBefore[cell] = f.before.toString();
            out.textAfter[cell] = f.after.toString();
        }
    }
    return out;
}

void UndoHistory::add(UndoStep step)
{
    std::erase_if(m_redo, [&step](const UndoStep &s) { return s.page == step.page; });
    m_undo.push_back(std::move(step));
    while (m_undo.size() > Limit)
        m_undo.pop_front();
}

const UndoStep *UndoHistory::nextUndo(const QDate &page) const
{
    const auto it = latestOf(m_undo, page);
    return it == m_undo.end() ? nullptr : &*it;
}

const UndoStep *UndoHistory::nextRedo(const QDate &page) const
{
    const auto it = latestOf(m_redo, page);
    return it == m_redo.end() ? nullptr : &*it;
}

void UndoHistory::undone(const QDate &page)
{
    moveLatest(m_undo, &m_redo, page);
}

void UndoHistory::redone(const QDate &page)
{
    moveLatest(m_redo, &m_undo, page);
    while (m_undo.size() > Limit)
        m_undo.pop_front();
}

void UndoHistory::dropUndo(const QDate &page)
{
    moveLatest(m_undo, nullptr, page);
}

void UndoHistory::dropRedo(const QDate &page)
{
    moveLatest(m_redo, nullptr, page);
}

void UndoHistory::clear()
{
    m_undo.clear();
    m_redo.clear();
}

} // namespace book
