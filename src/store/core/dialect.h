#pragma once

#include "store/core/schema.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace store {

// The few places where SQL differs between the embedded engine (SQLite, the
// db.mdb file) and a database server (PostgreSQL). Everything else the
// program sends is plain SQL with names through quote().
class Dialect {
public:
    enum class Engine { Sqlite, Postgres };
    virtual ~Dialect() = default;
    static std::unique_ptr<Dialect> forDriver(const QString &driverName);
    static std::unique_ptr<Dialect> forEngine(Engine engine);

    virtual Engine engine() const = 0;
    bool isServer() const { return engine() == Engine::Postgres; }
    virtual QString driverName() const = 0;

    // A name in a statement. Both engines match it without regard to case,
    // as the program's names are matched: SQLite ignores case in names, and
    // the server's tables are made with lower-case names.
    static QString quote(const QString &identifier);
    // A LIKE pattern that finds the text anywhere in a value, its wildcards
    // escaped by '!' (the statement says ESCAPE '!').
    static QString containing(const QString &text);
    // A name as it is made by CREATE TABLE / VIEW / INDEX.
    virtual QString declare(const QString &identifier) const = 0;

    virtual QString columnType(FieldType type) const = 0;
    // A value as it is bound: dates as yyyy-MM-dd, yes/no as the engine
    // keeps it. `type` is the field's type where the statement names one.
    virtual QVariant bindValue(const QVariant &value) const = 0;
    virtual QVariant bindValue(const QVariant &value, FieldType type) const = 0;

    // Starts a transaction that will write. SQLite takes the file's write
    // lock at once, so that a read-then-write never fails half way; the
    // server locks the rows it reads with forUpdate().
    virtual QString beginWrite() const = 0;
    // Appended to a SELECT that reads rows this transaction will change.
    virtual QString forUpdate() const = 0;
    // Appended to an INSERT to read back the new record's key (empty: the
    // driver's last insert id is used).
    virtual QString returningKey(const QString &key) const = 0;
    // After records were written with keys of their own: statements that set
    // the table's counter past the highest key (none where the engine does
    // it by itself).
    virtual QStringList resetCounter(const QString &table, const QString &key) const = 0;
    // A SELECT of the highest key the table's counter has given (none: 0 or
    // no row), and statements that raise the counter to at least the one
    // bound value. Names come from the schema, never from a user.
    virtual QString counterValue(const QString &table, const QString &key) const = 0;
    virtual QStringList raiseCounter(const QString &table, const QString &key) const = 0;
    // Appended to a SELECT whose rows must not change until this transaction
    // ends (a restore waits for it).
    virtual QString forShare() const = 0;
    // Statements that let one transaction at a time past this point.
    virtual QStringList lockTable(const QString &table) const = 0;
    // The case-blind pattern match of find criteria.
    virtual QString like() const = 0;
    // A text column compared and ordered by its characters' codes (as the
    // file does), so that a list is in the same order on either engine.
    virtual QString byCodes(const QString &column) const = 0;
    // After an ascending ORDER BY term: empty (null) values come first.
    virtual QString nullsFirst() const = 0;
    // CREATE INDEX's method and storage of a ranged index (IndexDef), put
    // before and after its fields: empty where the engine has only B-trees.
    virtual QString rangedIndex() const = 0;
    virtual QString rangedIndexStorage() const = 0;
    // A 32-bit whole number made from the texts (SQL expressions), the same
    // on every server version: what a hashed index (IndexDef) holds. Empty
    // where the engine indexes the texts themselves.
    virtual QString textHash(const QStringList &texts) const = 0;
    // The counter of a table whose key has no unique index of its own
    // (TableDef::rangedKey).
    virtual QString rangedCounter() const = 0;

    // Statements creating the updatable invoice query.
    virtual QStringList createQuery(const QueryDef &query) const = 0;
    // Statements run on every new connection.
    virtual QStringList connectionSetup(int busyTimeoutMs) const = 0;
    // How long a statement waits for another station's lock.
    virtual QString busyTimeout(int ms) const = 0;
    // One bound parameter, the name: a row if such a table or view exists.
    virtual QString tableExists() const = 0;
    // One bound parameter, the name: a row if such an index exists.
    virtual QString indexExists() const = 0;
    // Names of all tables and views of the database (or the server schema).
    virtual QString allTables() const = 0;
};

} // namespace store
