#pragma once

#include <QDate>
#include <QString>

namespace store {
class Database;
}

// What saving the practice settings does to the stored day pages.
namespace setup {

// Deletes every day page that holds nothing yet: no memo, and a page text
// still equal to the template it was made from (a missing value counts as
// empty text), so it is made again with the new settings when next opened.
// Its colour record goes with it; a page with painted cells is kept.
// Pages run from the last record to the first, each in its own short write
// transaction that checks the page again; a page that cannot be deleted
// (another station holds the file) is skipped. Returns the pages deleted.
// Throws store::DbError when the pages cannot be listed at all.
int removeEmptyPages(store::Database &db);

// Gives every page dated `from` or later the number of columns and the names
// (a "%"-terminated list). Times and slot length stay as the page has them.
// Same record order, transactions and skipping as above; returns the pages
// changed.
int recolumnPages(store::Database &db, const QDate &from, int listno, const QString &names);

// Whether a tbl_Color list holds a colour other than the grid's default.
bool hasPaintedCells(const QString &ccolor);

} // namespace setup
