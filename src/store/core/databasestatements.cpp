// The statements of a connection: running them (and waiting for another
// station that holds the data), reading and writing records, counters, and
// the write transaction with its check of the data's generation. Opening a
// database and making its schema are in database.cpp.
#include "store/core/database.h"

#include "store/core/migrations.h"

#include <QDateTime>
#include <QScopedValueRollback>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <sqlite3.h>

namespace store {

namespace {

// Ends the transaction where the engine has not already ended it.
void rollbackQuietly(Database &db)
{
    try {
        db.exec(QStringLiteral("ROLLBACK"));
    } catch (...) {
        // The engine has already ended the transaction.
    }
}

} // namespace

// The file's engine waits for a held file in this handler instead of its own
// timeout: the same wait, except that a statement which may run again gives
// up after a slice, so that run() can tell the listener and try again.
void Database::installBusyHandler()
{
    if (m_dialect->isServer())
        return;
    const QVariant h = connection().driver()->handle();
    if (h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0)
        if (sqlite3 *handle = *static_cast<sqlite3 *const *>(h.constData()))
            sqlite3_busy_handler(handle, &Database::busyHandler, this);
}

int Database::busyHandler(void *self, int count)
{
    Database &db = *static_cast<Database *>(self);
    if (count == 0)
        db.m_busyClock.start();
    // The windows' own statements while they draw during a wait do not wait:
    // the station must not freeze inside the wait it shows.
    const qint64 limit = db.m_listening ? 0
                         : db.m_polling ? std::min(WaitSliceMs, db.m_busyTimeoutMs)
                                        : db.m_busyTimeoutMs;
    const qint64 waited = db.m_busyClock.elapsed();
    if (waited >= limit)
        return 0;
    sqlite3_sleep(int(std::min<qint64>(count < 40 ? 1 : 5, limit - waited)));
    return 1;
}

// One wait for another station: the listener is told between the tries, and
// told when it is over.
class Database::Wait {
public:
    explicit Wait(Database &db) : m_db(db) { m_clock.start(); }
    ~Wait()
    {
        if (m_told && m_db.m_listener)
            m_db.m_listener->waitOver();
    }
    Wait(const Wait &) = delete;
    Wait &operator=(const Wait &) = delete;

    // After a try that found the data held: throws `held` once the wait has
    // lasted the busy timeout, and a Busy error when the user stops it.
    void next(const DbError &held)
    {
        if (m_clock.elapsed() >= m_db.m_busyTimeoutMs)
            throw held;
        m_told = true;
        const QScopedValueRollback<bool> listening(m_db.m_listening, true);
        if (!m_db.m_listener->keepWaiting(m_clock.elapsed()))
            throw DbError(DbError::Busy, QStringLiteral("Another station is holding the data, and this station "
                                                        "stopped waiting for it."));
    }

private:
    Database &m_db;
    QElapsedTimer m_clock;
    bool m_told = false;
};

QVariant Database::toSql(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QDate: return value.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime: return value.toDateTime().date().toString(Qt::ISODate);
    case QMetaType::Bool: return value.toBool() ? 1 : 0;
    default: return value;
    }
}

QDate Database::toDate(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDate)
        return value.toDate();
    return QDate::fromString(value.toString().left(10), Qt::ISODate);
}

bool Database::toBool(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString) {
        const QString s = value.toString().trimmed().toLower();
        return s == QLatin1String("1") || s == QLatin1String("true") || s == QLatin1String("-1") ||
               s == QLatin1String("yes");
    }
    return value.toInt() != 0;
}

QSqlQuery Database::exec(const QString &sql, const QVariantList &binds)
{
    QSqlQuery q = run(sql, binds);
    if (!q.isSelect())
        q.finish();
    return q;
}

// In the file a statement that found it held may run again when no
// transaction rides on it (the BEGIN itself, a read outside a transaction)
// and as a COMMIT, which leaves the transaction open. On a server the lock
// points of a write transaction wait in slices instead (selectLocking).
bool Database::mayRunAgain(const QString &sql) const
{
    return !m_dialect->isServer() && (m_depth == 0 || sql == QLatin1String("COMMIT"));
}

QSqlQuery Database::run(const QString &sql, const QVariantList &binds)
{
    if (!m_listener || m_listening || !mayRunAgain(sql))
        return runOnce(sql, binds);
    Wait wait(*this);
    for (;;) {
        try {
            const QScopedValueRollback<bool> polling(m_polling, true);
            return runOnce(sql, binds);
        } catch (const DbError &e) {
            if (e.number() != DbError::Busy)
                throw;
            wait.next(e);
        }
    }
}

QSqlQuery Database::runOnce(const QString &sql, const QVariantList &binds)
{
    if (!isOpen())
        throw DbError(DbError::General, QStringLiteral("The database is not open."));
    QSqlQuery q(connection());
    q.setForwardOnly(true);
    // Without values the statement goes as it is: the server prepares only
    // queries, not the statements that make tables and functions.
    bool ran = false;
    if (binds.isEmpty()) {
        ran = q.exec(sql);
    } else {
        if (!q.prepare(sql))
            throw DbError::from(q.lastError());
        for (const QVariant &v : binds)
            q.addBindValue(m_dialect->bindValue(v));
        ran = q.exec();
    }
    if (!ran) {
        const DbError e = DbError::from(q.lastError());
        q.finish();
        // The server frees a prepared statement only once the failed
        // transaction is rolled back (to its savepoint): keep it till then.
        if (m_dialect->isServer() && m_depth > 0)
            m_failedStatement = q;
        throw e;
    }
    if (m_failedStatement && sql.startsWith(QLatin1String("ROLLBACK")))
        m_failedStatement.reset();
    return q;
}

std::vector<QSqlRecord> Database::select(const QString &sql, const QVariantList &binds)
{
    QSqlQuery q = exec(sql, binds);
    std::vector<QSqlRecord> rows;
    while (q.next())
        rows.push_back(q.record());
    const QSqlError err = q.lastError();
    q.finish();
    if (err.isValid())
        throw DbError::from(err);
    return rows;
}

void Database::forEachRow(const QString &sql, const QVariantList &binds, const std::function<void(const QSqlQuery &)> &row)
{
    QSqlQuery q = exec(sql, binds);
    while (q.next())
        row(q);
    const QSqlError err = q.lastError();
    q.finish();
    if (err.isValid())
        throw DbError::from(err);
}

std::optional<QSqlRecord> Database::selectOne(const QString &sql, const QVariantList &binds)
{
    QSqlQuery q = exec(sql, binds);
    std::optional<QSqlRecord> out;
    if (q.next())
        out = q.record();
    q.finish();
    return out;
}

std::optional<QSqlRecord> Database::selectOneForUpdate(const QString &sql, const QVariantList &binds)
{
    return selectLocking(sql + m_dialect->forUpdate(), binds);
}

// On a server a held row is waited for by the server. With a listener the
// wait goes in slices, each under a savepoint so that a slice that runs out
// leaves the transaction as it was.
std::optional<QSqlRecord> Database::selectLocking(const QString &sql, const QVariantList &binds)
{
    if (!m_dialect->isServer() || !m_listener || m_listening || m_depth == 0)
        return selectOne(sql, binds);
    const QString normal = QStringLiteral("SET LOCAL lock_timeout = %1").arg(m_busyTimeoutMs);
    Wait wait(*this);
    for (;;) {
        exec(QStringLiteral("SAVEPOINT quillon_wait"));
        exec(QStringLiteral("SET LOCAL lock_timeout = %1").arg(WaitSliceMs));
        try {
            auto row = selectOne(sql, binds);
            exec(QStringLiteral("RELEASE SAVEPOINT quillon_wait"));
            exec(normal);
            return row;
        } catch (const DbError &e) {
            exec(QStringLiteral("ROLLBACK TO SAVEPOINT quillon_wait"));   // the slice's timeout too
            exec(QStringLiteral("RELEASE SAVEPOINT quillon_wait"));
            if (e.number() != DbError::Busy)
                throw;
            wait.next(e);
        }
    }
}

QVariant Database::scalar(const QString &sql, const QVariantList &binds)
{
    const auto rec = selectOne(sql, binds);
    return rec && rec->count() > 0 ? rec->value(0) : QVariant();
}

QString Database::canonical(const TableDef &t, const QString &field) const
{
    const FieldDef *f = t.field(field);
    if (!f)
        throw DbError(DbError::NoSuchField,
                      QStringLiteral("Item not found in this collection: %1.%2").arg(t.name, field));
    return f->name;
}

int Database::insert(const QString &table, const QVariantMap &values, bool reset)
{
    const TableDef *t = findTable(table);
    if (!t)
        throw DbError(DbError::General, QStringLiteral("Unknown table %1").arg(table));
    QStringList cols, marks;
    QVariantList binds;
    bool ownKey = false;
    for (auto it = values.begin(); it != values.end(); ++it) {
        const QString name = canonical(*t, it.key());
        cols << Dialect::quote(name);
        marks << QStringLiteral("?");
        binds << m_dialect->bindValue(it.value(), t->field(name)->type);
        ownKey = ownKey || (name == t->key && !it.value().isNull());
    }
    const QString sql =
        (cols.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(Dialect::quote(t->name))
                        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                              .arg(Dialect::quote(t->name), cols.join(", "), marks.join(", "))) +
        m_dialect->returningKey(t->key);
    QSqlQuery q = run(sql, binds);
    QVariant id;
    if (m_dialect->returningKey(t->key).isEmpty()) {
        id = q.lastInsertId();
    } else if (q.next()) {
        id = q.value(0);
    }
    q.finish();
    if (ownKey && reset)
        resetCounter(t->name);
    return id.toInt();
}

void Database::resetCounter(const QString &table)
{
    const TableDef *t = findTable(table);
    if (!t)
        throw DbError(DbError::General, QStringLiteral("Unknown table %1").arg(table));
    for (const QString &sql : m_dialect->resetCounter(t->name, t->key))
        selectOne(sql);
}

qint64 Database::highestIssued(const QString &table)
{
    const TableDef *t = findTable(table);
    if (!t)
        throw DbError(DbError::General, QStringLiteral("Unknown table %1").arg(table));
    const QVariant counter = scalar(m_dialect->counterValue(t->name, t->key));
    const QVariant highest = scalar(QStringLiteral("SELECT MAX(%1) FROM %2").arg(Dialect::quote(t->key), Dialect::quote(t->name)));
    return std::max(counter.toLongLong(), highest.toLongLong());
}

void Database::raiseCounter(const QString &table, qint64 highest)
{
    const TableDef *t = findTable(table);
    if (!t)
        throw DbError(DbError::General, QStringLiteral("Unknown table %1").arg(table));
    resetCounter(t->name);
    if (highest <= 0)
        return;
    for (const QString &sql : m_dialect->raiseCounter(t->name, t->key))
        exec(sql, {highest}).finish();
}

int Database::update(const QString &table, const QVariant &key, const QVariantMap &values)
{
    const TableDef *t = findTable(table);
    if (!t)
        throw DbError(DbError::General, QStringLiteral("Unknown table %1").arg(table));
    if (values.isEmpty())
        return 0;
    QStringList sets;
    QVariantList binds;
    for (auto it = values.begin(); it != values.end(); ++it) {
        const QString name = canonical(*t, it.key());
        sets << Dialect::quote(name) + QStringLiteral(" = ?");
        binds << m_dialect->bindValue(it.value(), t->field(name)->type);
    }
    binds << key;
    QSqlQuery q = run(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                          .arg(Dialect::quote(t->name), sets.join(", "), Dialect::quote(t->key)),
                      binds);
    const int changed = q.numRowsAffected();
    q.finish();
    return changed;
}

void Database::remove(const QString &table, const QVariant &key)
{
    const TableDef *t = findTable(table);
    if (!t)
        throw DbError(DbError::General, QStringLiteral("Unknown table %1").arg(table));
    exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(Dialect::quote(t->name), Dialect::quote(t->key)),
         {key});
}

void Database::beginWrite()
{
    if (m_listening)
        throw DbError(DbError::Busy, QStringLiteral("This station is waiting for another station to let go of "
                                                    "the data, so nothing else can be written meanwhile."));
    if (m_depth > 0) {
        ++m_depth;
        return;
    }
    m_failed = false;
    exec(m_dialect->beginWrite());   // outside the transaction: it may wait in slices
    m_depth = 1;
    if (m_generation.isEmpty())
        return;
    try {
        checkGeneration();
    } catch (...) {
        m_depth = 0;
        rollbackQuietly(*this);
        throw;
    }
}

QString Database::storedGeneration()
{
    if (!tableExists(tables::State))
        return {};
    return scalar(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                      .arg(Dialect::quote("Generation"), Dialect::quote(tables::State), Dialect::quote("ID")))
        .toString();
}

// In the write transaction, before anything is written: on the server the
// generation's row is share-locked until the commit, so that a restore
// (which changes it first) waits for this write, and this write for it.
void Database::checkGeneration()
{
    const auto stored = selectLocking(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3 LIMIT 1%4")
                                          .arg(Dialect::quote("Generation"), Dialect::quote(tables::State),
                                               Dialect::quote("ID"), m_dialect->forShare()),
                                      {});
    const QString now = stored ? stored->value(0).toString() : QString();
    if (now.isEmpty() || now == m_generation)
        return;
    m_generation = now;
    ++m_epoch;
    throw DbError::restored();
}

void Database::renewGeneration()
{
    const QString next = newGeneration();
    if (scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(Dialect::quote(tables::State))).toInt() == 0)
        insert(tables::State, {{"Generation", next}});
    else
        exec(QStringLiteral("UPDATE %1 SET %2 = ?").arg(Dialect::quote(tables::State), Dialect::quote("Generation")),
             {next});
}

void Database::adoptGeneration()
{
    const QString now = storedGeneration();
    if (now != m_generation) {
        m_generation = now;
        ++m_epoch;
    }
}

void Database::commit()
{
    if (m_depth == 0)
        return;
    if (--m_depth > 0)
        return;
    if (m_failed) {
        exec(QStringLiteral("ROLLBACK"));
        throw DbError(DbError::General, QStringLiteral("The change was abandoned."));
    }
    try {
        exec(QStringLiteral("COMMIT"));
    } catch (...) {
        rollbackQuietly(*this);
        throw;
    }
}

void Database::rollback()
{
    if (m_depth == 0)
        return;
    if (--m_depth > 0) {
        m_failed = true;   // the outermost commit will undo everything
        return;
    }
    rollbackQuietly(*this);
}

} // namespace store
