#include "accounts/core/accountsums.h"

#include "accounts/core/accountfields.h"
#include "store/core/database.h"
#include "store/core/dberror.h"
#include "store/core/dialect.h"
#include "store/core/fieldwrite.h"
#include "store/core/migrations.h"
#include "store/core/schema.h"

#include <QSqlQuery>
#include <map>

namespace accounts {

namespace {

using store::Dialect;
namespace f = invoice::field;

QString q(const QString &name) { return Dialect::quote(name); }
QString sums() { return q(store::tables::AccountSums); }
QString state() { return q(store::tables::State); }

ui::Money amount(const QVariant &v) { return ui::Money::read(store::storedText(v)); }

// A key's condition: a null key is matched by IS NULL, as = never matches it.
QString keyCondition(const AccountSums::Part &p, QVariantList &binds)
{
    QStringList conds;
    for (const auto &[column, value] : {std::pair{q(QStringLiteral("IssueDate")), p.issueDate},
                                        {q(QStringLiteral("SettledAs")), p.settledAs}}) {
        if (value.isNull()) {
            conds << column + QStringLiteral(" IS NULL");
        } else {
            conds << column + QStringLiteral(" = ?");
            binds << value;
        }
    }
    return conds.join(QStringLiteral(" AND "));
}

// Adds `sign` times the part's figures to its row.
void add(store::Database &db, const AccountSums::Part &p, int sign)
{
    QVariantList binds;
    const QString where = keyCondition(p, binds);
    const auto row = db.selectOne(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %1 LIMIT 1")
                                      .arg(q(QStringLiteral("ID")), sums(), where),
                                  binds);
    const QVariantList figures = {double(sign), double(sign * p.billed.cents()), double(sign * p.paid.cents()),
                                  double(sign * p.owed.cents())};
    if (row) {
        db.exec(QStringLiteral("UPDATE %1 SET %2 = %2 + ?, %3 = %3 + ?, %4 = %4 + ?, %5 = %5 + ? WHERE %6 = ?")
                    .arg(sums(), q(QStringLiteral("Invoices")), q(QStringLiteral("Billed")),
                         q(QStringLiteral("Paid")), q(QStringLiteral("Owed")), q(QStringLiteral("ID"))),
                figures + QVariantList{row->value(0)});
        return;
    }
    // Two stations may both add a key's first row: the readers sum every row of a key.
    db.insert(store::tables::AccountSums, {{QStringLiteral("IssueDate"), p.issueDate},
                                           {QStringLiteral("SettledAs"), p.settledAs},
                                           {QStringLiteral("Invoices"), figures[0]},
                                           {QStringLiteral("Billed"), figures[1]},
                                           {QStringLiteral("Paid"), figures[2]},
                                           {QStringLiteral("Owed"), figures[3]}});
}

bool sameKey(const AccountSums::Part &a, const AccountSums::Part &b)
{
    return a.issueDate.isNull() == b.issueDate.isNull() && a.settledAs.isNull() == b.settledAs.isNull() &&
           a.issueDate.toString() == b.issueDate.toString() && a.settledAs.toString() == b.settledAs.toString();
}

// Wherever invoices are written, the step that adds the figures makes them.
const bool madeByTheirStep = [] {
    store::setAccountSumsMaker(&AccountSums::rebuild);
    return true;
}();

} // namespace

AccountSums::Part AccountSums::partOf(const QSqlRecord &r)
{
    Part p;
    const QVariant date = r.value(f::IssueDate);
    p.issueDate = date.isNull() ? QVariant() : QVariant(date.toString());
    const QVariant balance = r.value(f::BalanceDue);
    if (!balance.isNull() && ui::isSettledBalance(balance.toString()))
        p.settledAs = balance.toString();
    p.billed = amount(r.value(f::Subtotal)) - amount(r.value(f::Discount));
    p.paid = amount(r.value(f::AmountPaid));
    p.owed = amount(balance);
    return p;
}

bool AccountSums::kept(store::Database &db)
{
    return db.selectOne(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = %3").arg(state(), q(QStringLiteral("SumsOf")),
                                                                          q(QStringLiteral("Generation"))))
        .has_value();
}

void AccountSums::change(store::Database &db, const std::optional<Part> &before, const std::optional<Part> &after)
{
    if (!kept(db))
        return;
    if (before && after && sameKey(*before, *after)) {
        Part delta = *after;
        delta.billed = after->billed - before->billed;
        delta.paid = after->paid - before->paid;
        delta.owed = after->owed - before->owed;
        if (!delta.billed.isZero() || !delta.paid.isZero() || !delta.owed.isZero()) {
            // The count stays: only the amounts move.
            QVariantList binds = {double(delta.billed.cents()), double(delta.paid.cents()),
                                  double(delta.owed.cents())};
            const QString where = keyCondition(delta, binds);
            db.exec(QStringLiteral("UPDATE %1 SET %2 = %2 + ?, %3 = %3 + ?, %4 = %4 + ? WHERE %5 = "
                                   "(SELECT MIN(%5) FROM %1 WHERE %6)")
                        .arg(sums(), q(QStringLiteral("Billed")), q(QStringLiteral("Paid")),
                             q(QStringLiteral("Owed")), q(QStringLiteral("ID")), where),
                    binds);
        }
        return;
    }
    if (before)
        add(db, *before, -1);
    if (after)
        add(db, *after, 1);
}

void AccountSums::rebuild(store::Database &db)
{
    store::WriteTransaction tx(db);
    // Every invoice write share-locks this row: those under way finish first,
    // and those that come later wait, so no invoice is missed or counted twice.
    db.selectOneForUpdate(QStringLiteral("SELECT %1 FROM %2 ORDER BY %1 LIMIT 1").arg(q(QStringLiteral("ID")), state()));
    std::map<std::pair<std::optional<QString>, std::optional<QString>>, Row> rows;
    db.forEachRow(QStringLiteral("SELECT %1, %2, %3, %4, %5 FROM %6")
                      .arg(q(f::IssueDate), q(f::Subtotal), q(f::Discount), q(f::AmountPaid), q(f::BalanceDue),
                           q(store::tables::Accounts)),
                  {}, [&](const QSqlQuery &r) {
                      QSqlRecord rec = r.record();
                      const Part p = partOf(rec);
                      const auto key = std::pair{p.issueDate.isNull() ? std::nullopt : std::optional(p.issueDate.toString()),
                                                 p.settledAs.isNull() ? std::nullopt : std::optional(p.settledAs.toString())};
                      Row &row = rows[key];
                      row.issueDate = p.issueDate;
                      row.settledAs = p.settledAs;
                      ++row.invoices;
                      row.billed += p.billed;
                      row.paid += p.paid;
                      row.owed += p.owed;
                  });
    db.exec(QStringLiteral("DELETE FROM %1").arg(sums()));
    // A few hundred values to a statement.
    constexpr int PerStatement = 60;
    const QString one = QStringLiteral("(?, ?, ?, ?, ?, ?)");
    QVariantList binds;
    int n = 0;
    const auto flush = [&] {
        if (n == 0)
            return;
        QStringList values;
        for (int i = 0; i < n; ++i)
            values << one;
        db.exec(QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5, %6, %7) VALUES %8")
                    .arg(sums(), q(QStringLiteral("IssueDate")), q(QStringLiteral("SettledAs")),
                         q(QStringLiteral("Invoices")), q(QStringLiteral("Billed")), q(QStringLiteral("Paid")),
                         q(QStringLiteral("Owed")), values.join(QStringLiteral(", "))),
                binds);
        binds.clear();
        n = 0;
    };
    for (const auto &[key, row] : rows) {
        binds << row.issueDate << row.settledAs << double(row.invoices) << double(row.billed.cents())
              << double(row.paid.cents()) << double(row.owed.cents());
        if (++n == PerStatement)
            flush();
    }
    flush();
    db.exec(QStringLiteral("UPDATE %1 SET %2 = %3").arg(state(), q(QStringLiteral("SumsOf")), q(QStringLiteral("Generation"))));
    tx.commit();
}

void AccountSums::forget(store::Database &db)
{
    db.exec(QStringLiteral("UPDATE %1 SET %2 = NULL").arg(state(), q(QStringLiteral("SumsOf"))));
}

std::optional<std::vector<AccountSums::Row>> AccountSums::read(store::Database &db)
{
    try {
        if (!kept(db))
            rebuild(db);
        std::vector<Row> out;
        db.forEachRow(QStringLiteral("SELECT %1, %2, SUM(%3), SUM(%4), SUM(%5), SUM(%6) FROM %7 GROUP BY %1, %2")
                          .arg(q(QStringLiteral("IssueDate")), q(QStringLiteral("SettledAs")),
                               q(QStringLiteral("Invoices")), q(QStringLiteral("Billed")), q(QStringLiteral("Paid")),
                               q(QStringLiteral("Owed")), sums()),
                      {}, [&](const QSqlQuery &r) {
                          Row row;
                          row.issueDate = r.isNull(0) ? QVariant() : QVariant(r.value(0).toString());
                          row.settledAs = r.isNull(1) ? QVariant() : QVariant(r.value(1).toString());
                          row.invoices = qint64(r.value(2).toDouble());
                          row.billed = ui::Money::fromCents(qint64(r.value(3).toDouble()));
                          row.paid = ui::Money::fromCents(qint64(r.value(4).toDouble()));
                          row.owed = ui::Money::fromCents(qint64(r.value(5).toDouble()));
                          if (row.invoices > 0)
                              out.push_back(row);
                      });
        return out;
    } catch (const store::DbError &) {
        return std::nullopt;
    }
}

} // namespace accounts
