#include "accounts/core/summarylist.h"

#include "accounts/core/accountfields.h"
#include "accounts/core/summarylistsql.h"
#include "store/core/database.h"
#include "store/core/dialect.h"
#include "store/core/schema.h"

#include <QSqlRecord>
#include "ui/core/dateinput.h"

namespace accounts {

using namespace summarysql;

const SummaryList::Totals &SummaryList::totals() const
{
    if (m_totals)
        return *m_totals;
    Totals t;
    if (m_sums) {
        try {
            totalsBySums(t);
        } catch (const store::DbError &) {
            static const Totals nothing;
            return nothing;
        }
        m_totals = t;
        return *m_totals;
    }
    try {
        m_db.forEachRow(QStringLiteral("SELECT %1, %2, %3, %4, %5, %6 FROM %7%8")
                            .arg(col(f::IssueDate), col(f::Subtotal), col(f::Discount), col(f::AmountPaid),
                                 col(f::BalanceDue), col(f::Invoice), col(store::tables::Accounts),
                                 m_where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + m_where),
                        m_binds, [&](const QSqlQuery &r) {
                            const auto text = [&r](int i) { return r.isNull(i) ? QString() : r.value(i).toString(); };
                            t.billed += ui::Money::read(text(1)) - ui::Money::read(text(2));
                            t.paid += ui::Money::read(text(3));
                            const ui::Money owed = ui::Money::read(text(4));
                            t.outstanding += owed;
                            if (owed.isZero())
                                return;
                            const QDate issued = issueDate(text(0));
                            if (!issued.isValid()) {
                                t.undated += owed;
                                t.undatedInvoices.push_back(r.value(5).toInt());
                                return;
                            }
                            const qint64 age = issued.daysTo(m_today);
                            (age <= 30 ? t.current : age <= 60 ? t.days31to60 : age <= 90 ? t.days61to90 : t.over90) +=
                                owed;
                        });
        std::sort(t.undatedInvoices.begin(), t.undatedInvoices.end());
    } catch (const store::DbError &) {
        static const Totals nothing;
        return nothing;
    }
    m_totals = t;
    return *m_totals;
}

// The totals from the derived figures: the aged lines by the date each
// issue-date text reads as; the undated invoices owing are then read by
// their issue-date texts alone.
void SummaryList::totalsBySums(Totals &t) const
{
    QVariantList undatedTexts;
    bool undatedNull = false;
    for (const AccountSums::Row &row : *m_sums) {
        t.billed += row.billed;
        t.paid += row.paid;
        t.outstanding += row.owed;
        const QDate issued = row.issueDate.isNull() ? QDate() : issueDate(row.issueDate.toString());
        if (!issued.isValid()) {
            t.undated += row.owed;
            if (row.issueDate.isNull())
                undatedNull = true;
            else if (!undatedTexts.contains(row.issueDate))
                undatedTexts << row.issueDate;
            continue;
        }
        const qint64 age = issued.daysTo(m_today);
        (age <= 30 ? t.current : age <= 60 ? t.days31to60 : age <= 90 ? t.days61to90 : t.over90) += row.owed;
    }
    const QString narrowing = m_where.isEmpty() ? QString() : QStringLiteral(" AND ") + m_where;
    const auto read = [&](const QString &which, const QVariantList &binds) {
        m_db.forEachRow(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4%5")
                            .arg(col(f::Invoice), col(f::BalanceDue), col(store::tables::Accounts), which, narrowing),
                        binds + m_binds, [&](const QSqlQuery &r) {
                            if (!ui::Money::read(text(r.record(), 1)).isZero())
                                t.undatedInvoices.push_back(r.value(0).toInt());
                        });
    };
    for (qsizetype at = 0; at < undatedTexts.size(); at += KeysPerQuery) {
        const QVariantList part = undatedTexts.mid(at, KeysPerQuery);
        read(QStringLiteral("%1 IN (%2)").arg(col(f::IssueDate), marks(part.size())), part);
    }
    if (undatedNull)
        read(col(f::IssueDate) + QStringLiteral(" IS NULL"), {});
    std::sort(t.undatedInvoices.begin(), t.undatedInvoices.end());
}

} // namespace accounts
