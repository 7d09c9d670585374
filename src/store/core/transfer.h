#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace store {

class Database;

// Copies a practice's records from one database to another: a db.mdb onto a
// server, or a server back into a new db.mdb. Every table is copied whole
// with its keys (file and invoice numbers stay as they are printed), in one
// write transaction on the target, from one consistent reading of the
// source; the counters go on after the highest keys, and the counts are
// checked before the commit. Throws DbError; then the target is unchanged.
class Transfer {
public:
    using Report = std::function<void(const QString &table, int records)>;

    // Into a server database that holds no table yet (opened with
    // Database::Status::Empty): makes the tables, then copies.
    static void toEmptyServer(Database &from, Database &to, const Report &report = {});
    // Into a new file (just created, holding the first records only): the
    // first records give way to the copied ones.
    static void toNewFile(Database &from, Database &to, const Report &report = {});
    // Into a database that holds the program's tables: its records give way
    // to the copied ones (a restore).
    static void replaceAll(Database &from, Database &to, const Report &report = {});

private:
    static void copy(Database &from, Database &to, bool makeTables, const Report &report);
};

} // namespace store
