#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace store {

class Database;

// The step that adds the change log.
inline constexpr int ChangeLogStep = 4;

// One numbered step that brings a database of version `version - 1` to
// `version`. Each runs in a write transaction of its own, together with the
// row of sys_Schema that records it, so a step is either done or not at all.
struct Migration {
    int version;
    QString what;
    std::function<void(Database &)> apply;
};

// The step that adds the table of the stations running now.
inline constexpr int PresenceStep = 5;
// The step that made the page cells' search index.
inline constexpr int SearchIndexStep = 6;
// The step that made the change log's index by time a block range index on
// a server.
inline constexpr int RangedLogStep = 7;

// The step that indexes the lists of patients and invoices for large practices.
inline constexpr int ListsStep = 8;
// The step that made the change log's indexes by number and by record
// smaller on a server.
inline constexpr int CompactLogStep = 9;

// The step that keeps the patient files' counts by initial.
inline constexpr int FileCountsStep = 10;

// The step that has a server's trigram index take changes into its tree at once.
inline constexpr int SettledIndexStep = 11;

// The step that keeps the search index by consultant column of each page.
inline constexpr int ColumnIndexStep = 12;

// Every step, in order; the last one's version is Database::SchemaVersion.
const std::vector<Migration> &migrations();

// Brings the open database from `from` up to Database::SchemaVersion, one
// step at a time. A step that another station has run meanwhile is skipped.
// Throws DbError; the steps done before the failing one stay done.
void migrate(Database &db, int from);

// The maker of the invoices' derived figures, which work amounts out as the
// accounts do: the step that adds their table makes them with it where the
// program has one; elsewhere they are made when first read.
void setAccountSumsMaker(std::function<void(Database &)> make);

// A new generation name for the database's data.
QString newGeneration();

} // namespace store
