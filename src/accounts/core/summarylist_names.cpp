#include "accounts/core/summarylist.h"

#include "accounts/core/accountfields.h"
#include "accounts/core/summarylistsql.h"
#include "store/core/database.h"
#include "store/core/dialect.h"
#include "store/core/schema.h"

#include <QSqlRecord>

namespace accounts {

using namespace summarysql;

// In name order the list is the invoices of no name (no patient file, or
// one without any part of a name), in number order, then those of the
// named patients by last, first name and initial, then number. A page is
// read by the patients' name index from the nearer end of the list.
const std::vector<int> &SummaryList::namePageInvoices(int page) const
{
    return keptPage(page, [this](int first, int count, std::vector<int> &out) {
        const int fromEnd = rows() - first - count;
        if (fromEnd <= first) {
            out = named(true, count, fromEnd);
            if (int(out.size()) < count) {
                // Into the nameless invoices: where they begin is known from
                // the named rows read, else from counting them.
                const int at = out.empty() ? fromEnd - (rows() - namelessCount()) : 0;
                const std::vector<int> more = nameless(true, count - int(out.size()), std::max(0, at));
                out.insert(out.end(), more.begin(), more.end());
            }
            std::reverse(out.begin(), out.end());
        } else {
            const int without = namelessCount();
            if (first < without)
                out = nameless(false, std::min(count, without - first), first);
            if (int(out.size()) < count) {
                const std::vector<int> more =
                    named(false, count - int(out.size()), std::max(0, first + int(out.size()) - without));
                out.insert(out.end(), more.begin(), more.end());
            }
        }
    });
}

namespace {

QString p(const QString &field) { return QStringLiteral("p.") + col(field); }

QString anyName()
{
    return QStringLiteral("NOT (%1 IS NULL AND %2 IS NULL AND %3 IS NULL)")
        .arg(p(QStringLiteral("PLastName")), p(QStringLiteral("PFirstName")), p(QStringLiteral("PMI")));
}

} // namespace

std::vector<int> SummaryList::named(bool backwards, int limit, int offset) const
{
    const store::Dialect &d = m_db.dialect();
    // Backwards: each term reversed, empty values then last (the reverse of nullsFirst()).
    const QString direction = backwards ? QStringLiteral(" DESC") + (d.nullsFirst().isEmpty() ? QString()
                                                                                              : QStringLiteral(" NULLS LAST"))
                                        : d.nullsFirst();
    QStringList order;
    for (const QString &field : {QStringLiteral("PLastName"), QStringLiteral("PFirstName"), QStringLiteral("PMI")})
        order << d.byCodes(p(field)) + direction;
    order << QStringLiteral("a.") + col(f::Invoice) + (backwards ? QStringLiteral(" DESC") : QString());
    std::vector<int> out;
    m_db.forEachRow(QStringLiteral("SELECT a.%1 FROM (SELECT %1, %2 FROM %3%4) a JOIN %5 p ON %6 = a.%2 "
                                   "WHERE %7 ORDER BY %8 LIMIT ? OFFSET ?")
                        .arg(col(f::Invoice), col(f::FileNo), col(store::tables::Accounts),
                             m_where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + m_where,
                             col(store::tables::PatientDetails), p(QStringLiteral("FileNo")), anyName(),
                             order.join(QStringLiteral(", "))),
                    m_binds + QVariantList{limit, offset},
                    [&](const QSqlQuery &r) { out.push_back(r.value(0).toInt()); });
    return out;
}

namespace {

QString namelessCondition()
{
    return QStringLiteral("NOT EXISTS (SELECT 1 FROM %1 p WHERE %2 = a.%3 AND %4)")
        .arg(col(store::tables::PatientDetails), p(QStringLiteral("FileNo")), col(f::FileNo), anyName());
}

} // namespace

std::vector<int> SummaryList::nameless(bool backwards, int limit, int offset) const
{
    std::vector<int> out;
    m_db.forEachRow(QStringLiteral("SELECT %1 FROM %2 a WHERE %3%4 ORDER BY %1%5 LIMIT ? OFFSET ?")
                        .arg(col(f::Invoice), col(store::tables::Accounts),
                             m_where.isEmpty() ? QString() : m_where + QStringLiteral(" AND "), namelessCondition(),
                             backwards ? QStringLiteral(" DESC") : QString()),
                    m_binds + QVariantList{limit, offset},
                    [&](const QSqlQuery &r) { out.push_back(r.value(0).toInt()); });
    return out;
}

int SummaryList::namelessCount() const
{
    if (!m_nameless)
        m_nameless = m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1 a WHERE %2%3")
                                     .arg(col(store::tables::Accounts),
                                          m_where.isEmpty() ? QString() : m_where + QStringLiteral(" AND "),
                                          namelessCondition()),
                                 m_binds)
                         .toInt();
    return *m_nameless;
}

} // namespace accounts
