#pragma once

#include <QString>

namespace store {
class Database;
class DbError;
}

namespace book {

// The words for a write of the book that the database refused: what went
// wrong, `outcome` (what became of the change: "Nothing was changed.", or
// where the user's entry is now), and what to do about it. A full disk or a
// folder that takes no files is named as such, not taken for another
// station's work, since waiting would not help.
QString writeFailure(const store::DbError &error, const store::Database &db, const QString &outcome);

} // namespace book
