#pragma once

#include "ui/core/money.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QHash>
#include <QStringList>
#include <vector>

namespace store {
class Database;
}

namespace accounts {

// The rows of the account summaries: the invoices of qry_Accounts that a
// narrowing selects, in the list's order. The invoice numbers and the few
// amounts the totals need are read for the whole list; the grid's columns
// are read a page at a time as rows are shown.
class SummaryList : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int PageRows = 64;

    enum class Order { Invoice, IssueDate, Name };
    struct Narrowing {
        enum Kind { All, Patient, Referrer, Practitioner, Cash, Unpaid } kind = All;
        int fileNo = 0;
        QString name;     // Referrer, Practitioner: the name as stored
    };
    // Totals of the listed invoices; the aged lines count the outstanding
    // balance of invoices whose issue date reads as a date.
    struct Totals {
        ui::Money billed, paid, outstanding;
        ui::Money current, days31to60, days61to90, over90;
    };

    SummaryList(store::Database &db, QDate today, QObject *parent = nullptr);

    // The fields of the grid's columns, in order, and their headings.
    static const QStringList &fields();
    static const QStringList &headings();

    // Lists the invoices the narrowing selects in `order`. Throws DbError.
    void list(const Narrowing &n, Order order);
    Order order() const { return m_order; }
    int invoiceAt(int row) const;
    QString valueAt(int row, const QString &field) const;
    const Totals &totals() const { return m_totals; }
    int pagesRead() const { return m_pagesRead; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const QStringList *rowAt(int row) const;

    store::Database &m_db;
    QDate m_today;
    Order m_order = Order::Invoice;
    std::vector<int> m_invoices;
    Totals m_totals;
    mutable QHash<int, std::vector<QStringList>> m_pages;
    mutable int m_pagesRead = 0;
};

// The date an issue-date text reads as, by the rules of the date prompts;
// invalid when it reads as none.
QDate issueDate(const QString &text);

} // namespace accounts
