#include "setup/core/pagemaintenance.h"

#include "book/core/pagestore.h"
#include "store/core/database.h"
#include "store/core/dberror.h"
#include "store/core/dialect.h"
#include "store/core/schema.h"
#include "ui/core/colours.h"

#include <QSqlRecord>
#include <QVariantList>

namespace setup {

namespace {

using store::Dialect;

constexpr int DefaultCellColor = ui::colours::PaleYellow;

QString q(const QString &identifier) { return Dialect::quote(identifier); }

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
bool removeIfEmpty(store::Database &db, const QVariant &id)
{
    store::WriteTransaction tx(db);
    const auto page = db.selectOne(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ? AND %4")
                                       .arg(q("CalDate"), q(store::tables::Appt), q("ID"),
                                            emptyPageCondition()),
                                   {id});
    if (!page)
        return false;
    const QVariant date = store::Database::toSql(store::Database::toDate(page->value(0)));
    const auto colours = db.select(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                                       .arg(q("CColor"), q(store::tables::Color), q("caldate")),
                                   {date});
    for (const QSqlRecord &c : colours)
        if (hasPaintedCells(c.value(0).toString()))
            return false;
    db.remove(store::tables::Appt, id);
    // A colour record left behind would be taken up by the page made anew,
    // laid out for the old columns and rows.
    db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(q(store::tables::Color), q("caldate")),
            {date});
    tx.commit();
    return true;
}

} // namespace

bool hasPaintedCells(const QString &ccolor)
{
    for (int v : book::decodeColors(ccolor))
        if (v != 0 && v != DefaultCellColor)
            return true;
    return false;
}

int removeEmptyPages(store::Database &db)
{
    const QVariantList ids = idsFrom(
        db.select(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %1 DESC")
                      .arg(q("ID"), q(store::tables::Appt), emptyPageCondition())));
    int removed = 0;
    for (const QVariant &id : ids) {
        try {
            if (removeIfEmpty(db, id))
                ++removed;
        } catch (const store::DbError &) {
            // Skipped: the page keeps its old layout.
        }
    }
    return removed;
}

int recolumnPages(store::Database &db, const QDate &from, int listno, const QString &names)
{
    const QVariantList ids = idsFrom(
        db.select(QStringLiteral("SELECT %1 FROM %2 WHERE %3 >= ? ORDER BY %1 DESC")
                      .arg(q("ID"), q(store::tables::Appt), q("CalDate")),
                  {store::Database::toSql(from)}));
    int changed = 0;
    for (const QVariant &id : ids) {
        try {
            store::WriteTransaction tx(db);
            changed += db.update(store::tables::Appt, id,
                                 {{QStringLiteral("Listno"), listno}, {QStringLiteral("names"), names}});
            tx.commit();
        } catch (const store::DbError &) {
            // Skipped: a page another station holds keeps its old columns.
        }
    }
    return changed;
}

} // namespace setup
