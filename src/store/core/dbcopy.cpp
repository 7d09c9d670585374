#include "store/core/dbcopy.h"

#include "store/core/changelog.h"
#include "store/core/database.h"
#include "store/core/dberror.h"
#include "store/core/schema.h"
#include "store/core/searchindex.h"
#include "store/core/transfer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlDriver>
#include <functional>
#include <sqlite3.h>

namespace store {

namespace {

const QByteArray sqliteHeader("SQLite format 3\0", 16);

QString fromUtf8(const char *s) { return QString::fromUtf8(s ? s : ""); }

DbError engineError(int rc, sqlite3 *h)
{
    const int code = rc & 0xFF;
    const int number = code == SQLITE_BUSY || code == SQLITE_LOCKED ? DbError::Busy : rc;
    const QString text = h && sqlite3_errcode(h) == rc ? fromUtf8(sqlite3_errmsg(h))
                                                       : fromUtf8(sqlite3_errstr(rc));
    return DbError(number, text);
}

// A connection of our own to a file, closed on every way out.
class Handle {
public:
    Handle(const QString &path, int flags)
    {
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_h, flags, nullptr);
        if (rc != SQLITE_OK) {
            const DbError e = engineError(rc, m_h);
            sqlite3_close(m_h);
            m_h = nullptr;
            throw e;
        }
        sqlite3_busy_timeout(m_h, Database::DefaultBusyTimeoutMs);
    }
    ~Handle() { sqlite3_close(m_h); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    sqlite3 *get() const { return m_h; }

    // The first column of every row; throws on an engine error.
    QStringList column(const char *sql) const
    {
        sqlite3_stmt *st = nullptr;
        int rc = sqlite3_prepare_v2(m_h, sql, -1, &st, nullptr);
        QStringList out;
        if (rc == SQLITE_OK)
            while ((rc = sqlite3_step(st)) == SQLITE_ROW)
                out << fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE)
            throw engineError(rc, m_h);
        return out;
    }

private:
    sqlite3 *m_h = nullptr;
};

// Copies every page of `from` into `to` in one step, so the copy is of one
// moment: the read lock on `from` is held throughout, and `to` changes in one
// transaction. Waits for other stations' writes as long as a statement would.
void copyPages(sqlite3 *from, sqlite3 *to)
{
    sqlite3_backup *b = sqlite3_backup_init(to, "main", from, "main");
    if (!b)
        throw engineError(sqlite3_errcode(to), to);
    QElapsedTimer waited;
    waited.start();
    int rc;
    while (true) {
        rc = sqlite3_backup_step(b, -1);
        const int code = rc & 0xFF;
        if ((code == SQLITE_BUSY || code == SQLITE_LOCKED) && waited.elapsed() < Database::DefaultBusyTimeoutMs) {
            sqlite3_sleep(20);
            continue;
        }
        break;
    }
    const int finish = sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE)
        throw engineError(rc, nullptr);
    if (finish != SQLITE_OK)
        throw engineError(finish, to);
}

// What is wrong with a db.mdb file as a database of this program; empty
// when nothing is. Only reads the file.
QString fileProblem(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return QStringLiteral("does not exist");
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return QStringLiteral("cannot be read (%1)").arg(f.errorString());
        if (info.size() == 0)
            return QStringLiteral("is empty");
        if (f.read(16) != sqliteHeader)
            return QStringLiteral("is not a database of this program");
    }
    try {
        Handle h(path, SQLITE_OPEN_READONLY);
        const QStringList integrity = h.column("PRAGMA integrity_check(5)");
        if (integrity != QStringList{QStringLiteral("ok")})
            return QStringLiteral("is damaged (%1)").arg(integrity.value(0));

        QSet<QString> present;
        for (const QString &name : h.column("SELECT name FROM sqlite_master WHERE type IN ('table', 'view')"))
            present.insert(name.toLower());
        QStringList missing;
        for (const TableDef &t : mainTables())
            if (t.since <= 1 && !present.contains(t.name.toLower()))
                missing << t.name;
        if (!present.contains(accountsQuery().name.toLower()))
            missing << accountsQuery().name;
        if (!missing.isEmpty())
            return QStringLiteral("is not a database of this program (it has no %1)")
                .arg(missing.join(QStringLiteral(", ")));

        const QStringList version = h.column("SELECT MAX(\"Version\") FROM \"sys_Schema\"");
        if (version.value(0).toInt() > Database::SchemaVersion)
            return QStringLiteral("was written by a later version of this program");
    } catch (const DbError &e) {
        return QStringLiteral("is damaged (%1)").arg(e.description());
    }
    return {};
}

// Writes a new file through `write`; a file that is there already is never
// touched, and a half-written one is removed.
void writeNewFile(const QString &path, const std::function<void()> &write)
{
    if (QFileInfo::exists(path))
        throw DbError(DbError::General, QStringLiteral("The file %1 already exists").arg(path));
    try {
        write();
    } catch (...) {
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-journal"));
        throw;
    }
}

// Opens a checked file as a working database would, which adds the fields a
// file of an earlier version lacks.
void openAsWorking(Database &file, const QString &path)
{
    const Database::OpenResult r = file.open(path, Database::Kind::Main, false);
    if (!r.ok())
        throw DbError(DbError::General, QStringLiteral("The file %1 cannot be opened (%2)").arg(path, r.detail));
}

// The stations running now stay listed across a restore: the backup's rows
// name stations that ran when it was made.
void keepStationsRunning(Database &working, Database &restored)
{
    const TableDef &t = *findTable(tables::Station);
    restored.exec(QStringLiteral("DELETE FROM %1").arg(Dialect::quote(t.name)));
    if (!working.tableExists(t.name))
        return;
    for (const QSqlRecord &r : working.select(QStringLiteral("SELECT * FROM %1").arg(Dialect::quote(t.name)))) {
        QVariantMap values;
        for (const FieldDef &f : t.fields)
            values.insert(f.name, r.value(f.name));
        restored.insert(t.name, values, false);
    }
}

class SqliteCopy : public DatabaseCopy {
public:
    SqliteCopy(Database &db, sqlite3 *handle) : m_db(db), m_handle(handle) {}

    void writeSnapshot(const QString &path) override
    {
        writeNewFile(path, [&] {
            Handle out(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
            out.column("PRAGMA synchronous=FULL");
            copyPages(m_handle, out.get());
        });
    }

    QString problemWith(const QString &path) override { return fileProblem(path); }

    void replaceWith(const QString &path) override
    {
        if (m_db.inTransaction())
            throw DbError(DbError::General, QStringLiteral("The working database is in the middle of a write"));
        {
            // Brought up to date first, so the windows find every field they
            // read; its counters never below the numbers the working data
            // has issued, and a generation of its own, so that a station
            // holding a record or page of the replaced data writes nothing.
            Database upgraded;
            openAsWorking(upgraded, path);
            WriteTransaction tx(upgraded);
            for (const TableDef &t : mainTables())
                upgraded.raiseCounter(t.name, m_db.highestIssued(t.name));
            upgraded.renewGeneration();
            // A file written where SQLite had no FTS5 gets its search index here.
            if (!upgraded.tableExists(SearchIndex::Table) && SearchIndex::create(upgraded).isEmpty())
                SearchIndex::rebuild(upgraded);
            keepStationsRunning(m_db, upgraded);
            // The log goes on: what was logged since the backup stays, and the restore is logged.
            ChangeLog::carryOver(m_db, upgraded);
            ChangeLog::appendRestore(m_db, upgraded);
            tx.commit();
        }
        Handle in(path, SQLITE_OPEN_READONLY);
        copyPages(in.get(), m_handle);
        m_db.adoptGeneration();
        m_db.probeSearchIndex();
    }

private:
    Database &m_db;
    sqlite3 *m_handle;
};


// A station on a server: its backup is a db.mdb written from one consistent
// reading of the server, and a restore replaces the server's records with a
// checked db.mdb's in one write transaction, so that every station of the
// practice reads the old or the new records, never a mixture.
class ServerCopy : public DatabaseCopy {
public:
    explicit ServerCopy(Database &db) : m_db(db) {}

    void writeSnapshot(const QString &path) override
    {
        writeNewFile(path, [&] {
            Database file;
            const Database::OpenResult r = file.open(path, Database::Kind::Main, true);
            if (r.status != Database::Status::Created)
                throw DbError(DbError::General, QStringLiteral("The file %1 cannot be made (%2)").arg(path, r.detail));
            Transfer::toNewFile(m_db, file);
        });
    }

    QString problemWith(const QString &path) override { return fileProblem(path); }

    void replaceWith(const QString &path) override
    {
        Database file;
        openAsWorking(file, path);
        {
            WriteTransaction tx(m_db);
            Transfer::replaceAll(file, m_db);
            ChangeLog::appendRestore(m_db, m_db);
            tx.commit();
        }
        m_db.adoptGeneration();
    }

private:
    Database &m_db;
};

} // namespace

std::unique_ptr<DatabaseCopy> DatabaseCopy::forDatabase(Database &db)
{
    if (!db.isOpen())
        return nullptr;
    if (db.onServer())
        return std::make_unique<ServerCopy>(db);
    const QVariant h = db.connection().driver()->handle();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0)
        return nullptr;   // another engine: it brings its own copier
    sqlite3 *handle = *static_cast<sqlite3 *const *>(h.constData());
    if (!handle)
        return nullptr;
    return std::make_unique<SqliteCopy>(db, handle);
}

} // namespace store
