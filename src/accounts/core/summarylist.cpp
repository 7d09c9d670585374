#include "accounts/core/summarylist.h"

#include "accounts/core/accountfields.h"
#include "book/core/dateinput.h"
#include "store/core/database.h"
#include "store/core/dberror.h"
#include "store/core/dialect.h"
#include "store/core/schema.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <numeric>

namespace accounts {

namespace {

using store::Dialect;
namespace f = invoice::field;
constexpr int KeptPages = 32;

QString col(const QString &name) { return Dialect::quote(name); }
QString text(const QSqlRecord &r, int i) { return r.isNull(i) ? QString() : r.value(i).toString(); }

} // namespace

QDate issueDate(const QString &text)
{
    // Lists repeat the same few dates many times over.
    static QHash<QString, QDate> seen;
    const auto it = seen.constFind(text);
    if (it != seen.cend())
        return *it;
    const QDate d = text.trimmed().isEmpty() ? QDate() : book::parseDateInput(text).value_or(QDate());
    if (seen.size() > 100000)
        seen.clear();
    seen.insert(text, d);
    return d;
}

SummaryList::SummaryList(store::Database &db, QDate today, QObject *parent)
    : QAbstractTableModel(parent), m_db(db), m_today(today)
{
}

const QStringList &SummaryList::fields()
{
    return store::accountsQuery().columns;
}

const QStringList &SummaryList::headings()
{
    static const QStringList h = [] {
        const QHash<QString, QString> renamed = {
            {"PFirstName", "FirstName"}, {"PMI", "MI"},      {"PLastName", "LastName"}, {"DateOfBirth", "DOB"},
            {"PAddress", "Address"},     {"PCity", "City"},  {"PState", "State"},       {"PZip", "Zip/PC"},
            {"DateOfAccident", "DOA"}};
        QStringList out;
        for (const QString &name : fields())
            out << renamed.value(name, name);
        return out;
    }();
    return h;
}

void SummaryList::list(const Narrowing &n, Order order)
{
    QString where;
    QVariantList binds;
    switch (n.kind) {
    case Narrowing::Patient: where = col(f::FileNo) + " = ?"; binds << n.fileNo; break;
    case Narrowing::Referrer: where = col(f::Referrer) + " = ?"; binds << n.name; break;
    case Narrowing::Practitioner: where = col(f::PayTo) + " = ?"; binds << n.name; break;
    case Narrowing::Cash:
        where = col(f::Cash) + " = ?";
        binds << m_db.dialect().bindValue(true, store::FieldType::YesNo);
        break;
    case Narrowing::All:
    case Narrowing::Unpaid: break;
    }
    QString sortBy = col(f::Invoice);
    if (order == Order::Name) {
        const Dialect &d = m_db.dialect();
        QStringList parts;
        for (const char *name : {"PLastName", "PFirstName", "PMI"})
            parts << d.byCodes(col(QLatin1String(name))) + d.nullsFirst();
        sortBy = parts.join(", ") + ", " + col(f::Invoice);
    }
    const QString sql =
        QStringLiteral("SELECT %1, %2, %3, %4, %5, %6 FROM %7%8 ORDER BY %9")
            .arg(col(f::Invoice), col(f::IssueDate), col(f::Subtotal), col(f::Discount), col(f::AmountPaid),
                 col(f::BalanceDue),
                 // The query's rows are the invoices' own: the join is needed only to sort by name.
                 col(order == Order::Name ? store::tables::AccountsQuery : store::tables::Accounts),
                 where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where, sortBy);

    struct Entry {
        int invoice;
        QDate issued;
    };
    std::vector<Entry> entries;
    entries.reserve(1024);
    Totals t;
    // Read as the rows come: a list may hold every invoice of the practice.
    m_db.forEachRow(sql, binds, [&](const QSqlQuery &r) {
        const auto text = [&r](int i) { return r.isNull(i) ? QString() : r.value(i).toString(); };
        const QString balance = text(5);
        const bool settled = ui::isSettledBalance(balance);
        if (n.kind == Narrowing::Unpaid && settled)
            return;
        const QDate issued = issueDate(text(1));
        entries.push_back({r.value(0).toInt(), issued});
        t.billed += ui::Money::read(text(2)) - ui::Money::read(text(3));
        t.paid += ui::Money::read(text(4));
        const ui::Money owed = ui::Money::read(balance);
        t.outstanding += owed;
        if (issued.isValid() && !owed.isZero()) {
            const qint64 age = issued.daysTo(m_today);
            (age <= 30 ? t.current : age <= 60 ? t.days31to60 : age <= 90 ? t.days61to90 : t.over90) += owed;
        }
    });
    if (order == Order::IssueDate) {
        // By the date the text reads as; undated invoices last, each in number order.
        std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
            if (a.issued.isValid() != b.issued.isValid())
                return a.issued.isValid();
            return a.issued < b.issued;
        });
    }
    beginResetModel();
    m_order = order;
    m_invoices.clear();
    m_invoices.reserve(entries.size());
    for (const Entry &e : entries)
        m_invoices.push_back(e.invoice);
    m_totals = t;
    m_pages.clear();
    endResetModel();
}

int SummaryList::invoiceAt(int row) const
{
    return row >= 0 && row < int(m_invoices.size()) ? m_invoices[size_t(row)] : 0;
}

const QStringList *SummaryList::rowAt(int row) const
{
    if (row < 0 || row >= int(m_invoices.size()))
        return nullptr;
    const int page = row / PageRows;
    auto it = m_pages.find(page);
    if (it == m_pages.end()) {
        if (m_pages.size() >= KeptPages)
            m_pages.clear();
        const int from = page * PageRows;
        const int to = std::min(int(m_invoices.size()), from + PageRows);
        QVariantList binds;
        QStringList marks, cols;
        for (int i = from; i < to; ++i) {
            binds << m_invoices[size_t(i)];
            marks << QStringLiteral("?");
        }
        for (const QString &name : fields())
            cols << col(name);
        std::vector<QStringList> rows(size_t(to - from));
        try {
            const auto records = m_db.select(QStringLiteral("SELECT %1 FROM %2 WHERE %3 IN (%4)")
                                                 .arg(cols.join(", "), col(store::tables::AccountsQuery),
                                                      col(f::Invoice), marks.join(", ")),
                                             binds);
            const int key = int(fields().indexOf(f::Invoice));
            QHash<int, QStringList> byInvoice;
            for (const QSqlRecord &r : records) {
                QStringList values;
                for (int i = 0; i < r.count(); ++i)
                    values << text(r, i);
                byInvoice.insert(r.value(key).toInt(), values);
            }
            for (int i = from; i < to; ++i)
                rows[size_t(i - from)] = byInvoice.value(m_invoices[size_t(i)]);
        } catch (const store::DbError &) {
            // Shown empty; the next listing reads it again.
        }
        ++m_pagesRead;
        it = m_pages.insert(page, std::move(rows));
    }
    return &(*it)[size_t(row % PageRows)];
}

QString SummaryList::valueAt(int row, const QString &field) const
{
    const QStringList *r = rowAt(row);
    const int i = int(fields().indexOf(field));
    return r && i >= 0 && i < r->size() ? r->at(i) : QString();
}

int SummaryList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_invoices.size());
}

int SummaryList::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(fields().size());
}

QVariant SummaryList::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const QStringList *r = rowAt(index.row());
    return r && index.column() < r->size() ? QVariant(r->at(index.column())) : QVariant();
}

QVariant SummaryList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return section >= 0 && section < headings().size() ? QVariant(headings()[section]) : QVariant();
}

} // namespace accounts
