#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>
#include <vector>

namespace ui {

// A grid's rows as texts, read a page at a time as rows are shown, so a long
// list costs the pages on screen, not the whole list. A few dozen pages are
// kept; a page that cannot be read shows empty and is read again next time.
class PagedRows : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int PageRows = 64;

    explicit PagedRows(QObject *parent = nullptr) : QAbstractTableModel(parent) {}

    int pagesRead() const { return m_pagesRead; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

protected:
    // The texts of the rows from `first` on (at most `count` of them), in
    // column order. May throw store::DbError.
    virtual std::vector<QStringList> readPage(int first, int count) const = 0;
    virtual int columns() const = 0;

    // Between beginResetModel and endResetModel: the new number of rows,
    // with every page read before forgotten.
    void setRows(int rows);
    // Outside a reset: the pages read are forgotten and the list holds
    // `rows` rows from now on, rows added or dropped at its end, so that a
    // view keeps its current row, selection and scroll.
    void rereadRows(int rows);
    int rows() const { return m_rows; }
    // The row's texts; null outside the list or past what its page held.
    const QStringList *rowAt(int row) const;

private:
    int m_rows = 0;
    mutable QHash<int, std::vector<QStringList>> m_pages;
    mutable int m_pagesRead = 0;
};

} // namespace ui
