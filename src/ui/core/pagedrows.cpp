#include "ui/core/pagedrows.h"

#include "store/core/dberror.h"

#include <algorithm>

namespace ui {

namespace {
constexpr int KeptPages = 32;   // about 2000 rows in memory at most
}

void PagedRows::setRows(int rows)
{
    m_pages.clear();
    m_rows = rows;
}

void PagedRows::rereadRows(int rows)
{
    const int was = m_rows;
    if (rows > was) {
        beginInsertRows({}, was, rows - 1);
        setRows(rows);
        endInsertRows();
    } else if (rows < was) {
        beginRemoveRows({}, rows, was - 1);
        setRows(rows);
        endRemoveRows();
    } else {
        setRows(rows);
    }
    if (rows > 0 && columns() > 0)
        emit dataChanged(index(0, 0), index(rows - 1, columns() - 1));
}

const QStringList *PagedRows::rowAt(int row) const
{
    if (row < 0 || row >= m_rows)
        return nullptr;
    const int page = row / PageRows;
    auto it = m_pages.find(page);
    if (it == m_pages.end()) {
        if (m_pages.size() >= KeptPages)
            m_pages.clear();
        std::vector<QStringList> rows;
        try {
            rows = readPage(page * PageRows, std::min(PageRows, m_rows - page * PageRows));
        } catch (const store::DbError &) {
            // Shown empty; read again when next shown after a listing.
        }
        ++m_pagesRead;
        it = m_pages.insert(page, std::move(rows));
    }
    const size_t at = size_t(row % PageRows);
    return at < it->size() ? &(*it)[at] : nullptr;
}

int PagedRows::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int PagedRows::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columns();
}

QVariant PagedRows::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const QStringList *r = rowAt(index.row());
    return r && index.column() < r->size() ? QVariant(r->at(index.column())) : QVariant();
}

} // namespace ui
