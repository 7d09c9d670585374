#pragma once

#include <QString>
#include <memory>

namespace store {

class Database;

// Whole-file copies of the working database for backup and restore. A copy
// is always of one consistent moment, whatever other stations are writing,
// and the working database is only ever replaced as one write.
class DatabaseCopy {
public:
    virtual ~DatabaseCopy() = default;

    // The copier for `db`'s engine: pages of the file itself, or, for a
    // station on a server, an export into and an import from a db.mdb file.
    static std::unique_ptr<DatabaseCopy> forDatabase(Database &db);

    // Writes a consistent db.mdb of the working database at `path`, which
    // must not exist yet. Throws DbError.
    virtual void writeSnapshot(const QString &path) = 0;

    // What is wrong with the file at `path` as a database of this program,
    // said of the file ("is damaged (...)", "is not a database of this
    // program"); empty when nothing is. Only reads the file.
    virtual QString problemWith(const QString &path) = 0;

    // Replaces all data of the working database with that of the checked
    // file at `path`, as one write: another connection reads either the old
    // or the new data. An older file is brought up to date first (it is
    // written to). Throws DbError.
    virtual void replaceWith(const QString &path) = 0;
};

} // namespace store
