#pragma once

#include "store/core/dberror.h"
#include "store/core/dialect.h"
#include "store/core/searchindex.h"
#include "store/core/stationidentity.h"
#include "store/core/waitlistener.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <memory>
#include <functional>
#include <optional>
#include <vector>

namespace store {

// One station's connection to its data: a data file (db.mdb, or the station
// file dbn.mdb), or the practice's database on a PostgreSQL server. Every
// value is bound as a parameter; every query is finished as soon as its rows
// are read, so an idle station never blocks another's save.
class Database {
public:
    enum class Kind { Main, Station };
    enum class Status {
        Opened,      // an existing file, ready
        Created,     // a new file, schema and first records written
        Missing,     // no file and creation not allowed
        Unreadable,  // cannot be read, or not written to
        Foreign,     // not a database of this program's engine
        Incomplete,  // tables of the program are missing
        TooNew,      // written by a later version of the program
        Failed,      // the engine refused for another reason
        Unreachable, // the server cannot be reached
        LoginRefused,// the server refused this login
        Empty,       // an empty server database, and creation not allowed
                     // (the connection stays open: see createTables())
    };
    struct OpenResult {
        Status status = Status::Failed;
        QString detail;
        bool ok() const { return status == Status::Opened || status == Status::Created; }
    };

    static constexpr int SchemaVersion = 12;
    static constexpr int DefaultBusyTimeoutMs = 10000;
    // With a wait listener, a statement that finds the data held tries again
    // in slices of this length and tells the listener between them.
    static constexpr int WaitSliceMs = 50;

    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    OpenResult open(const QString &path, Kind kind = Kind::Main, bool createIfMissing = true);
    // The practice's database on a server, by a libpq connection string. An
    // empty database gets the schema and the first records, as a new file
    // does. Connects with a timeout, so an unreachable server is reported.
    OpenResult openServer(const QString &conninfo, bool createIfEmpty = true);
    void close();
    bool isOpen() const;
    // The file's path; empty on a server.
    QString path() const { return m_path; }
    // Where the data is, for messages: the file's path, or the server database.
    QString where() const { return m_where; }
    bool onServer() const { return m_dialect->isServer(); }
    const Dialect &dialect() const { return *m_dialect; }
    QSqlDatabase connection() const;

    // How long a statement waits for another station's write before failing.
    void setBusyTimeout(int ms);
    // Who is told while a statement waits for another station (none: the
    // statement just waits). While the listener runs, this station's own
    // statements do not wait, and a write transaction is refused as Busy: it
    // would join a transaction not begun yet, or wait inside the wait.
    void setWaitListener(WaitListener *listener) { m_listener = listener; }
    // A statement of this station is waiting for another station now (the
    // listener's loop runs): what is not urgent waits until it is over.
    bool waiting() const { return m_listening || m_polling; }

    // Runs one statement; throws DbError. The returned query is finished
    // unless it is a SELECT (prefer select()/selectOne() for reading).
    QSqlQuery exec(const QString &sql, const QVariantList &binds = {});
    std::vector<QSqlRecord> select(const QString &sql, const QVariantList &binds = {});
    // Runs `row` on each row of a SELECT as it is read, without copying the
    // rows out: for lists of many thousand rows.
    void forEachRow(const QString &sql, const QVariantList &binds, const std::function<void(const QSqlQuery &)> &row);
    std::optional<QSqlRecord> selectOne(const QString &sql, const QVariantList &binds = {});
    // Reads one record that the running write transaction will change: on a
    // server the row stays locked until the commit, so that another station's
    // read-then-write of it waits and then sees this one's result (in the
    // file the transaction's write lock already does that).
    std::optional<QSqlRecord> selectOneForUpdate(const QString &sql, const QVariantList &binds = {});
    QVariant scalar(const QString &sql, const QVariantList &binds = {});

    // Inserts a record into a table of the schema and returns its key.
    // Field names are matched without regard to case.
    // A key given in `values` is kept, and the table's counter goes on after
    // it (unless `resetCounter` is false: the caller resets it afterwards).
    int insert(const QString &table, const QVariantMap &values, bool resetCounter = true);
    // Updates the record whose key is `key`; returns the number of rows changed.
    int update(const QString &table, const QVariant &key, const QVariantMap &values);
    void remove(const QString &table, const QVariant &key);

    // Write transactions; nested calls join the outermost one.
    void beginWrite();
    void commit();
    void rollback();
    bool inTransaction() const { return m_depth > 0; }

    bool tableExists(const QString &name);
    // Names of every table and view in the database.
    QStringList tableNames();
    // Makes the tables, indexes and invoice query of db.mdb, without records,
    // in the running write transaction.
    void createTables();
    // Sets a table's counter past its highest key, after records were
    // written with keys of their own.
    void resetCounter(const QString &table);
    // The highest key the table's counter has ever given (0 for none), and
    // raising the counter to at least `highest`: numbers issued once are
    // never issued again, across a restore or a move to another engine.
    qint64 highestIssued(const QString &table);
    void raiseCounter(const QString &table, qint64 highest);

    // Schema steps (see migrations.h): a table of the schema, the fields and
    // indexes of a table that the database lacks, and the lock that lets one
    // station at a time take a step.
    void makeTable(const TableDef &table);
    void addMissingFields(const TableDef &table);
    void addMissingIndexes(const TableDef &table);
    void lockSchema();

    // The generation of the data this station reads: a restore gives the
    // database a new one. Every write transaction checks it first; one that
    // finds it changed writes nothing and throws DbError::Restored, and the
    // station goes on with the new generation. The epoch counts the changes
    // this station has seen, so that a window can tell whether what it
    // holds was read before a restore.
    QString generation() const { return m_generation; }
    int epoch() const { return m_epoch; }
    // Gives the data a new generation (in the running write transaction).
    void renewGeneration();
    // Takes the stored generation as this station's (after its own restore).
    void adoptGeneration();

    // The station this connection writes for: stamped on what it records.
    const StationIdentity &station() const { return m_station; }
    void setStation(const StationIdentity &station) { m_station = station; }
    // The key of this station's row among the stations running now (empty
    // until it has recorded itself): what it leaves out when it lists the
    // others.
    QString presenceKey() const { return m_presenceKey; }
    void setPresenceKey(const QString &key) { m_presenceKey = key; }

    // Whether the page cells' search index is kept and searchable here:
    // found when the database opens, and again after its tables are made or
    // replaced.
    const SearchIndex::State &searchIndex() const { return m_searchIndex; }
    void probeSearchIndex();
    // Overrides what was found (the benchmarks time the scan beside it).
    void setSearchIndex(const SearchIndex::State &state) { m_searchIndex = state; }
    // The command the user gave that the running writes belong to ("Cut",
    // "Restore"...); empty outside one (see CommandScope).
    const QString &command() const { return m_command; }
    void setCommand(const QString &command) { m_command = command; }
    // Hears how a build of the search index goes (pages done of all): the
    // start-up shows it while a schema step or a stale index builds it.
    using Progress = std::function<void(int done, int total)>;
    void setIndexProgress(Progress progress) { m_indexProgress = std::move(progress); }
    const Progress &indexProgress() const { return m_indexProgress; }

    // Values as stored: dates as yyyy-MM-dd text, yes/no as 0/1.
    static QVariant toSql(const QVariant &value);
    static QDate toDate(const QVariant &value);
    static bool toBool(const QVariant &value);

private:
    class Wait;

    // Runs one statement and leaves the query active (its insert id and
    // changed-row count are only readable until it is finished).
    QSqlQuery run(const QString &sql, const QVariantList &binds);
    QSqlQuery runOnce(const QString &sql, const QVariantList &binds);
    bool mayRunAgain(const QString &sql) const;
    // A read that locks what it reads in the running write transaction.
    std::optional<QSqlRecord> selectLocking(const QString &sql, const QVariantList &binds);
    void installBusyHandler();
    static int busyHandler(void *self, int count);
    OpenResult connected(Kind kind, bool isNew, bool createIfEmpty);
    OpenResult checkExisting(Kind kind);
    void createSchema(Kind kind);
    void makeTables(Kind kind);
    void createIndex(const TableDef &table, const IndexDef &index);
    QString canonical(const TableDef &t, const QString &field) const;
    QString storedGeneration();
    void checkGeneration();

    QString m_connection;
    QString m_path;
    QString m_where;
    std::unique_ptr<Dialect> m_dialect;
    int m_depth = 0;
    bool m_failed = false;
    QString m_generation;
    int m_epoch = 0;
    SearchIndex::State m_searchIndex;
    Progress m_indexProgress;
    StationIdentity m_station = StationIdentity::ofThisMachine();
    QString m_presenceKey;
    QString m_command;
    WaitListener *m_listener = nullptr;
    int m_busyTimeoutMs = DefaultBusyTimeoutMs;
    bool m_polling = false;     // a statement that may run again is running
    bool m_listening = false;   // the wait listener runs
    QElapsedTimer m_busyClock;
    std::optional<QSqlQuery> m_failedStatement;
};

// Runs a block of writes as one short transaction; rolls back unless
// commit() was reached.
class WriteTransaction {
public:
    explicit WriteTransaction(Database &db) : m_db(db) { m_db.beginWrite(); }
    ~WriteTransaction()
    {
        if (!m_done)
            m_db.rollback();
    }
    void commit()
    {
        m_db.commit();
        m_done = true;
    }

private:
    Database &m_db;
    bool m_done = false;
};

} // namespace store
