#include "accounts/core/invoicestore.h"

#include "accounts/core/accountfields.h"
#include "accounts/core/accountsums.h"
#include "store/core/database.h"
#include "store/core/dberror.h"
#include "store/core/dialect.h"
#include "store/core/schema.h"
#include "ui/core/money.h"

#include <QSqlField>
#include <QSqlRecord>

namespace accounts {

namespace {

using store::Dialect;
namespace f = invoice::field;

QString table() { return Dialect::quote(store::tables::Accounts); }

ui::Money amountIn(const QSqlRecord &r, const QString &field)
{
    // Old records may hold any text: their leading number, as every reader takes it.
    return ui::Money::read(store::storedText(r.value(field)));
}

QString total(ui::Money m)
{
    if (m.cents() > ui::Money::MaxCents || m.cents() < -ui::Money::MaxCents)
        throw store::DbError(store::DbError::General,
                             QStringLiteral("The invoice's total would be beyond the largest amount, %1.")
                                 .arg(ui::Money::fromCents(ui::Money::MaxCents).text()));
    return m.text();
}

} // namespace

InvoiceStore::InvoiceStore(store::Database &db)
    : RecordStore(db, store::tables::Accounts, Kind, invoice::LastProtectedInvoice)
{
}

store::Edit InvoiceStore::add(int fileNo)
{
    store::WriteTransaction tx(m_db);
    const int n = m_db.insert(store::tables::Accounts, {{f::FileNo, fileNo}});
    store::Edit e{Kind, n, {}};
    e.add(f::FileNo, QVariant(), fileNo);
    AccountSums::change(m_db, std::nullopt, AccountSums::Part{});
    logged(e, QStringLiteral("new invoice"));
    tx.commit();
    return e;
}

InvoiceStore::Write InvoiceStore::write(int invoice, const std::vector<store::FieldWrite> &changes)
{
    Write out;
    store::WriteTransaction tx(m_db);
    store::GuardedWrite w = store::writeFields(m_db, store::tables::Accounts, invoice, changes, Kind);
    out.contested = w.contested;
    if (!w.found) {
        out.outcome = Write::Gone;
        return out;
    }
    // The record as it was: what is stored now with this write's fields taken back.
    QSqlRecord was = w.after;
    for (const store::FieldChange &c : w.edit.changes)
        was.setValue(c.field, c.before);
    // The totals of what is stored now, this station's lines and another's alike.
    ui::Money subtotal;
    for (int i = 0; i < invoice::Lines; ++i)
        subtotal += amountIn(w.after, f::amount(i));
    const ui::Money balance = subtotal - amountIn(w.after, f::Discount) - amountIn(w.after, f::AmountPaid);
    QVariantMap totals;
    for (const auto &[field, value] : {std::pair{f::Subtotal, total(subtotal)}, {f::BalanceDue, total(balance)}}) {
        const QVariant before = w.after.value(field);
        if (store::storedText(before) != value) {
            totals.insert(field, value);
            w.edit.add(field, before, value);
        }
    }
    if (!totals.isEmpty())
        m_db.update(store::tables::Accounts, invoice, totals);
    QSqlRecord after = w.after;
    for (auto it = totals.cbegin(); it != totals.cend(); ++it)
        after.setValue(it.key(), it.value());
    AccountSums::change(m_db, AccountSums::partOf(was), AccountSums::partOf(after));
    logged(w.edit, QStringLiteral("invoice saved"));
    tx.commit();
    out.outcome = w.edit.empty() ? Write::Unchanged : Write::Saved;
    out.edit = std::move(w.edit);
    return out;
}

void InvoiceStore::removed(const store::Edit &edit)
{
    QSqlRecord gone;
    for (const store::FieldChange &c : edit.changes) {
        gone.append(QSqlField(c.field));
        gone.setValue(c.field, c.before);
    }
    AccountSums::change(m_db, AccountSums::partOf(gone), std::nullopt);
}

std::optional<int> InvoiceStore::lastOf(int fileNo)
{
    const QVariant v = m_db.scalar(QStringLiteral("SELECT MAX(%1) FROM %2 WHERE %3 = ?")
                                       .arg(Dialect::quote(f::Invoice), table(), Dialect::quote(f::FileNo)),
                                   {fileNo});
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    return v.toInt();
}

bool InvoiceStore::anyOutstanding(int fileNo)
{
    const auto rows = m_db.select(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                                      .arg(Dialect::quote(f::BalanceDue), table(), Dialect::quote(f::FileNo)),
                                  {fileNo});
    for (const QSqlRecord &r : rows)
        if (!ui::Money::read(store::storedText(r.value(0))).isZero())
            return true;
    return false;
}

} // namespace accounts
