#pragma once

// What the page store's reads and writes of tbl_Appt share: the quoting,
// a stored row as a page record, and the notes every page write leaves for
// the search index and the other stations. Not for use outside the store.

#include "book/pages/pagestore.h"
#include "store/core/changewatcher.h"
#include "store/core/dialect.h"
#include "store/core/database.h"
#include "store/core/searchindex.h"
#include "store/core/settings.h"

#include <QSqlRecord>

namespace book::rows {

inline QString q(const QString &id)
{
    return store::Dialect::quote(id);
}

// The kind the change log and the other stations know a page by.
inline const QString PageKind = QStringLiteral("page");

inline PageRecord fromRecord(const QSqlRecord &r)
{
    using store::Database;
    PageRecord p;
    p.id = r.value("ID").toInt();
    p.date = Database::toDate(r.value("CalDate"));
    p.data = r.value("Data").toString();
    store::readLayout(r, p);
    p.memo = r.value("Memo").toString();
    p.clinic = Database::toBool(r.value("Clinic"));
    p.blankPage = r.value("BlankPage").toString();
    return p;
}

// Every write of a page's text tells the search index which cells changed,
// in the same transaction, so the name searches never miss a booking.
inline void reindex(store::Database &db, const QDate &date, const QString &before, const QString &after)
{
    store::SearchIndex::pageChanged(db, date, before, after);
}

// Tells the other stations, when the write commits, that the page of a
// date changed.
inline void announcePage(store::Database &db, const QDate &date)
{
    store::ChangeWatcher::announce(db, PageKind, date.toString(Qt::ISODate));
}

} // namespace book::rows
