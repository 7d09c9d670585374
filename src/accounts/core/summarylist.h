#pragma once

#include "accounts/core/accountsums.h"
#include "ui/core/money.h"
#include "ui/core/pagedrows.h"

#include <QDate>
#include <QHash>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace store {
class Database;
}

namespace accounts {

// The rows of the account summaries: the invoices of qry_Accounts that a
// narrowing selects, in the list's order. A listing reads only how the list
// falls into runs (the invoices of one issue date, or of one patient name,
// each run in invoice-number order) and how many invoices each run holds;
// the invoice numbers of a run and the grid's columns are read as rows are
// shown, and the totals when they are first asked for.
class SummaryList : public ui::PagedRows {
    Q_OBJECT
public:
    enum class Order { Invoice, IssueDate, Name };
    // What the list is narrowed to; each part set narrows it further.
    struct Narrowing {
        int fileNo = 0;         // one patient's invoices; 0: every patient's
        QString referrer;       // names found whatever their case; empty: any
        QString practitioner;
        bool cash = false;
        bool unpaid = false;
        static Narrowing patient(int file)
        {
            Narrowing n;
            n.fileNo = file;
            return n;
        }
    };
    // Totals of the listed invoices. The aged lines share out the outstanding
    // balance by issue date; balances whose issue date reads as no date are
    // undated, so that the lines always add up to the outstanding total.
    struct Totals {
        ui::Money billed, paid, outstanding;
        ui::Money current, days31to60, days61to90, over90, undated;
        std::vector<int> undatedInvoices;   // in number order
    };

    SummaryList(store::Database &db, QDate today, QObject *parent = nullptr);

    // The fields of qry_Accounts, in its order, and their headings: the
    // grid's first columns. Two more follow them: the patient's name and
    // the amount billed (subtotal less discount).
    static const QStringList &fields();
    static const QStringList &headings();
    static int patientColumn() { return int(fields().size()); }
    static int billedColumn() { return int(fields().size()) + 1; }
    // The columns a front desk reads, in the order the grid shows them first.
    static const QList<int> &readingColumns();
    static bool isAmountColumn(int column);

    // Lists the invoices the narrowing selects in `order`. Throws DbError.
    void list(const Narrowing &n, Order order);
    // The same list read again (other stations' changes) without a reset:
    // a view keeps its row and scroll. Throws DbError.
    void reread();
    Order order() const { return m_order; }
    const Narrowing &narrowing() const { return m_narrowing; }
    int invoiceAt(int row) const;
    QString valueAt(int row, const QString &field) const;
    // Counted over the whole list on the first call after a listing (a
    // failed read counts as nothing and is tried again next time).
    const Totals &totals() const;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

protected:
    std::vector<QStringList> readPage(int first, int count) const override;
    int columns() const override { return int(fields().size()) + 2; }

private:
    // The invoices of one run share its keys: issue-date texts that read as
    // the same date (or as none), or the file numbers of one patient name.
    struct Run {
        QVariantList keys;
        bool withNull = false;   // the run also holds the invoices without the key
        int first = 0;           // its first row
        int count = 0;
    };
    // Name: in name order by the patients' index, a page at a time (the
    // whole list, or those owing); FileNo: by runs of one name's invoices.
    enum class Key { None, IssueDate, FileNo, Name };

    void listing(const Narrowing &n, Order order, bool inPlace);
    QString keyColumn() const;
    int runOf(int row) const;
    const std::vector<int> &runInvoices(int run) const;
    using PageRead = std::function<void(int first, int count, std::vector<int> &out)>;
    const std::vector<int> &keptPage(int page, const PageRead &read) const;
    const std::vector<int> &pageInvoices(int page) const;
    const std::vector<int> &namePageInvoices(int page) const;
    std::vector<int> named(bool backwards, int limit, int offset) const;
    std::vector<int> nameless(bool backwards, int limit, int offset) const;
    int namelessCount() const;
    void keep(QHash<int, std::vector<int>> &read) const;
    void totalsBySums(Totals &t) const;

    store::Database &m_db;
    QDate m_today;
    Order m_order = Order::Invoice;
    Narrowing m_narrowing;
    Key m_key = Key::None;
    QString m_where;          // the narrowing, over tbl_Accounts' own columns
    QVariantList m_binds;
    bool m_narrowed = false;  // by a column without an index of its own
    std::vector<Run> m_runs;
    // The derived figures of the list, where it is every invoice or those owing.
    std::optional<std::vector<AccountSums::Row>> m_sums;
    mutable std::optional<int> m_nameless;   // invoices of no patient's name, counted when needed
    mutable QHash<int, std::vector<int>> m_runInvoices;
    mutable int m_cachedInvoices = 0;
    mutable std::optional<Totals> m_totals;
};

// The date an issue-date text reads as, by the rules of the date prompts;
// invalid when it reads as none.
QDate issueDate(const QString &text);

} // namespace accounts
