#include "store/core/database.h"

#include "store/core/conninfo.h"
#include "store/core/filecounts.h"
#include "store/core/migrations.h"
#include "store/core/seed.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSet>
#include <QSqlError>
#include <QSqlField>
#include <atomic>

namespace store {

namespace {

std::atomic<int> g_connections{0};

const QByteArray sqliteHeader("SQLite format 3\0", 16);

const std::vector<TableDef> &tablesOf(Database::Kind kind)
{
    return kind == Database::Kind::Main ? mainTables() : stationTables();
}

// libpq tells why a connection failed only in words (the server's own
// messages are in its language; these are the usual English ones).
Database::OpenResult connectFailure(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    // "connection to server on socket ... failed: FATAL:  <why>"
    QString why = text;
    const int fatal = why.indexOf(QLatin1String("FATAL:"));
    if (fatal >= 0)
        why = why.mid(fatal + 6).trimmed();
    why = why.split(QLatin1Char('\n')).first().trimmed();
    using S = Database::Status;
    const auto has = [&text](const char *s) { return text.contains(QLatin1String(s), Qt::CaseInsensitive); };
    if (has("authentication failed") || has("no pg_hba.conf entry") || has("no password supplied") ||
        has("role \"") || has("permission denied for database") || has("not permitted to log in") ||
        has("too many connections for role"))
        return {S::LoginRefused, why};
    if (has("database \"") && has("does not exist"))
        return {S::Missing, why};
    if (has("could not connect") || has("connection refused") || has("no such file or directory") ||
        has("could not translate host name") || has("timeout expired") || has("is the server running") ||
        has("network is unreachable") || has("no route to host") || has("server closed the connection") ||
        has("the database system is starting up") || has("the database system is shutting down"))
        return {S::Unreachable, text.split(QLatin1Char('\n')).first().trimmed()};
    return {S::Failed, text.split(QLatin1Char('\n')).first().trimmed()};
}

} // namespace

Database::Database()
    : m_connection(QStringLiteral("quillon-%1").arg(++g_connections)),
      m_dialect(Dialect::forDriver(QStringLiteral("QSQLITE")))
{
}

Database::~Database()
{
    close();
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connection, false);
}

bool Database::isOpen() const
{
    return QSqlDatabase::contains(m_connection) && connection().isOpen();
}

void Database::close()
{
    m_failedStatement.reset();
    if (!QSqlDatabase::contains(m_connection))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isOpen()) {
            if (m_depth > 0)
                db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_connection);
    m_depth = 0;
}

Database::OpenResult Database::open(const QString &path, Kind kind, bool createIfMissing)
{
    close();
    m_path = path;
    m_where = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    const QFileInfo info(path);
    const bool exists = info.exists();

    if (!exists && !createIfMissing)
        return {Status::Missing, QStringLiteral("The file does not exist.")};
    if (exists) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {Status::Unreadable, f.errorString()};
        const QByteArray head = f.read(16);
        if (head != sqliteHeader)
            return {Status::Foreign, info.size() == 0 ? QStringLiteral("The file is empty.")
                                                      : QStringLiteral("The file is not a database of this program.")};
        if (!info.isWritable())
            return {Status::Unreadable, QStringLiteral("The file cannot be written to.")};
    }

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(path);
    if (!db.open())
        return {Status::Failed, db.lastError().text()};
    m_dialect = Dialect::forDriver(db.driverName());
    return connected(kind, !exists, true);
}

Database::OpenResult Database::openServer(const QString &conninfo, bool createIfEmpty)
{
    close();
    m_path.clear();
    m_dialect = Dialect::forEngine(Dialect::Engine::Postgres);
    QString why;
    auto info = ConnInfo::parse(conninfo, &why);
    if (!info) {
        m_where = QStringLiteral("the server database");
        return {Status::Failed, QStringLiteral("The connection settings cannot be read: %1").arg(why)};
    }
    m_where = info->describe();
    if (!QSqlDatabase::isDriverAvailable(m_dialect->driverName()))
        return {Status::Failed, QStringLiteral("The PostgreSQL driver of Qt is not installed on this "
                                               "computer (Debian package libqt6sql6-psql).")};
    // An unreachable server is reported in seconds, not after minutes.
    if (!info->has(QStringLiteral("connect_timeout")))
        info->set(QStringLiteral("connect_timeout"), QStringLiteral("10"));
    if (!info->has(QStringLiteral("application_name")))
        info->set(QStringLiteral("application_name"), QStringLiteral("Quillon"));

    QSqlDatabase db = QSqlDatabase::addDatabase(m_dialect->driverName(), m_connection);
    db.setConnectOptions(info->toString());
    if (!db.open())
        return connectFailure(db.lastError());
    return connected(Kind::Main, false, createIfEmpty);
}

Database::OpenResult Database::connected(Kind kind, bool isNew, bool createIfEmpty)
{
    m_generation.clear();
    try {
        m_busyTimeoutMs = DefaultBusyTimeoutMs;
        for (const QString &sql : m_dialect->connectionSetup(m_busyTimeoutMs))
            exec(sql);
        installBusyHandler();
        // A new file, or a server database without a single table.
        if (!isNew && m_dialect->isServer() && tableNames().isEmpty()) {
            if (!createIfEmpty)
                return {Status::Empty, QString()};
            isNew = true;
        }
        OpenResult r{Status::Created, QString()};
        if (isNew)
            createSchema(kind);
        else
            r = checkExisting(kind);
        if (r.ok() && kind == Kind::Main) {
            m_generation = storedGeneration();
            probeSearchIndex();
        }
        return r;
    } catch (const DbError &e) {
        return {Status::Failed, e.numbered()};
    }
}

Database::OpenResult Database::checkExisting(Kind kind)
{
    int version = 1;
    // One read of the names rather than a round trip per table: on a server
    // the check at start was a fifth of the time to the menu.
    QSet<QString> present;
    for (const QString &name : tableNames())
        present.insert(name.toLower());
    const auto exists = [&present](const QString &name) { return present.contains(name.toLower()); };
    if (kind == Kind::Main && exists(tables::Schema)) {
        version = scalar(QStringLiteral("SELECT MAX(%1) FROM %2")
                             .arg(Dialect::quote("Version"), Dialect::quote(tables::Schema)))
                      .toInt();
        if (version > SchemaVersion)
            return {Status::TooNew, QStringLiteral("version %1").arg(version)};
    }
    // Tables that a later step adds are made by that step.
    QStringList missing;
    for (const TableDef &t : tablesOf(kind))
        if (t.since <= std::max(version, 1) && !exists(t.name))
            missing << t.name;
    if (kind == Kind::Main && !exists(accountsQuery().name))
        missing << accountsQuery().name;
    if (!missing.isEmpty())
        return {Status::Incomplete, missing.join(QStringLiteral(", "))};

    if (kind == Kind::Main) {
        if (version < SchemaVersion) {
            try {
                migrate(*this, version);
            } catch (const DbError &e) {
                return {Status::Failed, QStringLiteral("The data could not be brought up to this version of "
                                                       "the program (%1).").arg(e.numbered())};
            }
        }
    } else {
        for (const TableDef &t : tablesOf(kind))
            addMissingFields(t);
    }
    return {Status::Opened, QString()};
}

void Database::addMissingFields(const TableDef &t)
{
    const QSqlRecord rec = connection().record(m_dialect->isServer() ? t.name.toLower() : t.name);
    for (const FieldDef &f : t.fields) {
        if (rec.indexOf(f.name) >= 0 || f.type == FieldType::Counter)
            continue;
        exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                 .arg(m_dialect->declare(t.name), m_dialect->declare(f.name), m_dialect->columnType(f.type)));
    }
}

void Database::addMissingIndexes(const TableDef &t)
{
    for (const IndexDef &i : t.indexes)
        if (!selectOne(m_dialect->indexExists(), {t.name + QLatin1Char('_') + i.name}))
            createIndex(t, i);
}

void Database::lockSchema()
{
    for (const QString &sql : m_dialect->lockTable(tables::Schema))
        exec(sql);
}

void Database::createSchema(Kind kind)
{
    WriteTransaction tx(*this);
    makeTables(kind);
    if (kind == Kind::Main) {
        insert(tables::Schema, {{"Version", SchemaVersion},
                                {"Created", QDateTime::currentDateTime().toString(Qt::ISODate)}});
        insert(tables::State, {{"Generation", newGeneration()}});
        seedFirstRecords(*this);
    }
    tx.commit();
}

void Database::createTables()
{
    WriteTransaction tx(*this);
    makeTables(Kind::Main);
    tx.commit();
    probeSearchIndex();
}

void Database::probeSearchIndex()
{
    m_searchIndex = SearchIndex::probe(*this);
    if (!m_searchIndex.searchable)
        qInfo("Name searches read every page of %s: %s", qPrintable(m_where), qPrintable(m_searchIndex.why));
}

void Database::makeTables(Kind kind)
{
    const Dialect &d = *m_dialect;
    for (const TableDef &t : tablesOf(kind))
        makeTable(t);
    if (kind == Kind::Main) {
        for (const TableDef &t : derivedTables())
            makeTable(t);
        for (const QString &sql : d.createQuery(accountsQuery()))
            exec(sql);
        SearchIndex::create(*this);   // probed after: what it cannot be is told at open
        FileCounts::create(*this);
    }
}

void Database::makeTable(const TableDef &t)
{
    const Dialect &d = *m_dialect;
    QStringList cols;
    for (const FieldDef &f : t.fields)
        cols << d.declare(f.name) + QLatin1Char(' ') +
                    (f.type == FieldType::Counter && t.rangedKey ? d.rangedCounter() : d.columnType(f.type));
    exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(d.declare(t.name), cols.join(", ")));
    for (const IndexDef &i : t.indexes)
        createIndex(t, i);
}

void Database::createIndex(const TableDef &t, const IndexDef &i)
{
    const Dialect &d = *m_dialect;
    if (i.serverOnly && !d.isServer())
        return;
    QStringList fields;
    for (const QString &f : i.fields) {
        const FieldDef *def = t.field(f);
        if (i.byCodes && def && def->type == FieldType::Text)
            fields << d.byCodes(d.declare(f)) + d.nullsFirst();
        else
            fields << (i.folded ? QStringLiteral("upper(%1)").arg(d.declare(f)) : d.declare(f));
    }
    if (const QString hash = d.textHash(fields); i.hashed && !hash.isEmpty())
        fields = QStringList{QLatin1Char('(') + hash + QLatin1Char(')')};
    exec(QStringLiteral("CREATE %1INDEX %2 ON %3 %4(%5)%6")
             .arg(i.unique ? QStringLiteral("UNIQUE ") : QString(), d.declare(t.name + QLatin1Char('_') + i.name),
                  d.declare(t.name), i.ranged ? d.rangedIndex() : QString(), fields.join(", "),
                  i.ranged ? d.rangedIndexStorage() : QString()));
}

void Database::setBusyTimeout(int ms)
{
    m_busyTimeoutMs = ms;
    exec(m_dialect->busyTimeout(ms));
    installBusyHandler();   // the engine's own timeout has replaced it
}

bool Database::tableExists(const QString &name)
{
    return selectOne(m_dialect->tableExists(), {name}).has_value();
}

QStringList Database::tableNames()
{
    QStringList out;
    for (const QSqlRecord &r : select(m_dialect->allTables()))
        out << r.value(0).toString();
    return out;
}

} // namespace store
