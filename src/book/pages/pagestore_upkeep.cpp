#include "book/pages/pagestore.h"

#include "book/pages/pagerows.h"
#include "store/core/changelog.h"
#include "store/core/database.h"
#include "store/core/schema.h"

#include <QSqlRecord>
#include <QVariantList>

// What saving the practice settings does to the stored pages.

namespace book {

using namespace rows;

using store::Database;
using store::DbError;

namespace {

// The page condition of "empty", as SQL over one tbl_Appt row.
QString emptyPageCondition()
{
    return QStringLiteral("COALESCE(%1, '') = '' AND COALESCE(%2, '') = COALESCE(%3, '')")
        .arg(q("Memo"), q("Data"), q("BlankPage"));
}

QVariantList idsFrom(const std::vector<QSqlRecord> &rows)
{
    QVariantList ids;
    ids.reserve(static_cast<qsizetype>(rows.size()));
    for (const QSqlRecord &r : rows)
        ids << r.value(0);
    return ids;
}

// Deletes one page if it is still empty when the write lock is held: another
// station may have booked into it since the pages were listed.
bool removeIfEmpty(Database &db, const QVariant &id)
{
    store::WriteTransaction tx(db);
    const auto found = db.selectOneForUpdate(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = ? AND %5")
                                        .arg(q("CalDate"), q("Data"), q(store::tables::Appt), q("ID"), emptyPageCondition()),
                                    {id});
    if (!found)
        return false;
    const QVariant date = Database::toSql(Database::toDate(found->value(0)));
    const auto colours = db.select(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                                       .arg(q("CColor"), q(store::tables::Color), q("caldate")),
                                   {date});
    for (const QSqlRecord &c : colours)
        if (hasPaintedCells(c.value(0).toString()))
            return false;
    db.remove(store::tables::Appt, id);
    reindex(db, Database::toDate(found->value(0)), found->value(1).toString(), QString());
    // A colour record left behind would be taken up by the page made anew,
    // laid out for the old columns and rows.
    db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(q(store::tables::Color), q("caldate")), {date});
    store::Edit edit{PageKind, Database::toDate(found->value(0)), {}};
    edit.add(QStringLiteral("Data"), found->value(1).toString(), QVariant());
    store::ChangeLog::append(db, edit, QStringLiteral("empty page removed"));
    announcePage(db, Database::toDate(found->value(0)));
    tx.commit();
    return true;
}

} // namespace

int PageStore::removeEmptyPages()
{
    const QVariantList ids = idsFrom(
        m_db.select(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %1 DESC")
                        .arg(q("ID"), q(store::tables::Appt), emptyPageCondition())));
    int removed = 0;
    for (const QVariant &id : ids) {
        try {
            if (removeIfEmpty(m_db, id))
                ++removed;
        } catch (const DbError &) {
            // Skipped: the page keeps its old layout.
        }
    }
    return removed;
}

int PageStore::recolumnPages(const QDate &from, int listno, const QString &names)
{
    const QVariantList ids = idsFrom(
        m_db.select(QStringLiteral("SELECT %1 FROM %2 WHERE %3 >= ? ORDER BY %1 DESC")
                        .arg(q("ID"), q(store::tables::Appt), q("CalDate")),
                    {Database::toSql(from)}));
    int changed = 0;
    for (const QVariant &id : ids) {
        try {
            store::WriteTransaction tx(m_db);
            const auto rec = m_db.selectOneForUpdate(QStringLiteral("SELECT %1, %2, %3 FROM %4 WHERE %5 = ?")
                                                         .arg(q("CalDate"), q("Listno"), q("names"),
                                                              q(store::tables::Appt), q("ID")),
                                                     {id});
            if (!rec)
                continue;
            changed += m_db.update(store::tables::Appt, id,
                                   {{QStringLiteral("Listno"), listno}, {QStringLiteral("names"), names}});
            store::Edit edit{PageKind, Database::toDate(rec->value(0)), {}};
            edit.add(QStringLiteral("Listno"), rec->value(1).toInt(), listno);
            edit.add(QStringLiteral("names"), rec->value(2).toString(), names);
            store::ChangeLog::append(m_db, edit, QStringLiteral("columns changed"));
            tx.commit();
        } catch (const DbError &) {
            // Skipped: a page another station holds keeps its old columns.
        }
    }
    return changed;
}

} // namespace book
