#pragma once

#include <QString>

namespace store {

class Database;

// How many patient files there are by the first character of their last
// name ('' for none), kept by the engine itself in the transaction of every
// insert, delete and change of a last name, whoever writes the files (every
// station, a restore, a copy between engines). The manual search places its
// list from these few rows instead of counting a large practice's files at
// each showing.
class FileCounts {
public:
    // Makes the counts and what keeps them, from the files there now, in the
    // running write transaction. Again on a database that has them: nothing.
    static void create(Database &db);

    // Every file.
    static int total(Database &db);
    // The files whose last name sorts by character codes before `initial`
    // (one character), those without one included.
    static int before(Database &db, const QString &initial);
    // The files without a last name (empty or none).
    static int unnamed(Database &db);
};

} // namespace store
