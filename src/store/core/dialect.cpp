#include "store/core/dialect.h"

#include "store/core/database.h"

#include <QDate>
#include <QDateTime>

namespace store {

namespace {

// The invoice query: invoice columns from tbl_Accounts, patient columns
// from the patient file. `name` declares each name as the engine makes it.
template <typename Declare>
QString viewSql(const QueryDef &q, Declare name)
{
    static const QStringList patientCols = {"Title",    "PFirstName", "PMI",    "PLastName",
                                            "DateOfBirth", "PAddress", "PCity", "PState",
                                            "PZip"};
    QStringList cols;
    for (const QString &c : q.columns)
        cols << (patientCols.contains(c) ? "p." : "a.") + name(c);
    return QStringLiteral("CREATE VIEW %1 AS SELECT %2 FROM %3 a LEFT JOIN %4 p ON p.%5 = a.%5")
        .arg(name(q.name), cols.join(QStringLiteral(", ")), name(q.baseTable),
             name(tables::PatientDetails), name(QStringLiteral("FileNo")));
}

// "col = NEW.col, ..." for the base table's own columns of the query.
template <typename Declare>
QString assignments(const QueryDef &q, Declare name)
{
    const TableDef *base = findTable(q.baseTable);
    QStringList sets;
    for (const QString &c : q.columns) {
        if (c.compare(q.key, Qt::CaseInsensitive) == 0 || !base || !base->field(c))
            continue;
        sets << name(c) + QStringLiteral(" = NEW.") + name(c);
    }
    return sets.join(QStringLiteral(", "));
}

QString isoDate(const QVariant &value)
{
    return value.typeId() == QMetaType::QDateTime ? value.toDateTime().date().toString(Qt::ISODate)
                                                  : value.toDate().toString(Qt::ISODate);
}

class SqliteDialect : public Dialect {
public:
    Engine engine() const override { return Engine::Sqlite; }
    QString driverName() const override { return QStringLiteral("QSQLITE"); }
    // The file keeps the names spelt as the program spells them.
    QString declare(const QString &id) const override
    {
        QString s = id;
        s.replace(QLatin1Char('"'), QLatin1String("\"\""));
        return QLatin1Char('"') + s + QLatin1Char('"');
    }
    QString columnType(FieldType type) const override
    {
        switch (type) {
        case FieldType::Counter: return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
        case FieldType::Integer: return QStringLiteral("INTEGER");
        case FieldType::Number: return QStringLiteral("REAL");
        case FieldType::YesNo: return QStringLiteral("INTEGER NOT NULL DEFAULT 0");
        case FieldType::Date: return QStringLiteral("TEXT");
        case FieldType::Text:
        case FieldType::Memo: return QStringLiteral("TEXT");
        }
        return QStringLiteral("TEXT");
    }
    // Dates as yyyy-MM-dd text, yes/no as 0/1.
    QVariant bindValue(const QVariant &value) const override { return Database::toSql(value); }
    QVariant bindValue(const QVariant &value, FieldType) const override { return Database::toSql(value); }
    QString beginWrite() const override { return QStringLiteral("BEGIN IMMEDIATE"); }
    QString forUpdate() const override { return QString(); }   // the write lock covers the file
    QString returningKey(const QString &) const override { return QString(); }
    // AUTOINCREMENT goes on from the highest key ever stored.
    QStringList resetCounter(const QString &, const QString &) const override { return {}; }
    QString counterValue(const QString &table, const QString &) const override
    {
        return QStringLiteral("SELECT seq FROM sqlite_sequence WHERE lower(name) = lower('%1')").arg(table);
    }
    QStringList raiseCounter(const QString &table, const QString &) const override
    {
        return {QStringLiteral("UPDATE sqlite_sequence SET seq = MAX(seq, ?) WHERE lower(name) = lower('%1')").arg(table),
                QStringLiteral("INSERT INTO sqlite_sequence (name, seq) SELECT '%1', ? WHERE NOT EXISTS "
                               "(SELECT 1 FROM sqlite_sequence WHERE lower(name) = lower('%1'))")
                    .arg(table)};
    }
    QString forShare() const override { return QString(); }   // the write lock covers the file
    QStringList lockTable(const QString &) const override { return {}; }
    QString like() const override { return QStringLiteral("LIKE"); }   // ignores case in ASCII
    QString byCodes(const QString &column) const override { return column; }   // BINARY already
    QString nullsFirst() const override { return {}; }   // nulls sort first already
    QString rangedIndex() const override { return {}; }
    QString rangedIndexStorage() const override { return {}; }
    QString textHash(const QStringList &) const override { return {}; }
    // The row's own number: no index of its own to spare.
    QString rangedCounter() const override { return columnType(FieldType::Counter); }
    QStringList createQuery(const QueryDef &q) const override
    {
        const auto name = [this](const QString &s) { return declare(s); };
        // The invoice window edits invoices through the query: its edits go
        // to the invoice table.
        const QString trigger =
            QStringLiteral("CREATE TRIGGER %1 INSTEAD OF UPDATE ON %2 BEGIN UPDATE %3 SET %4 "
                           "WHERE %5 = OLD.%5; END")
                .arg(declare(q.name + "_update"), declare(q.name), declare(q.baseTable),
                     assignments(q, name), declare(q.key));
        return {viewSql(q, name), trigger};
    }
    QStringList connectionSetup(int busyTimeoutMs) const override
    {
        // Stations share the file over a network folder, where a write-ahead
        // log does not work: keep the rollback journal and sync every commit.
        return {QStringLiteral("PRAGMA journal_mode=DELETE"),
                QStringLiteral("PRAGMA synchronous=FULL"), busyTimeout(busyTimeoutMs)};
    }
    QString busyTimeout(int ms) const override
    {
        return QStringLiteral("PRAGMA busy_timeout=%1").arg(ms);
    }
    QString tableExists() const override
    {
        return QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type IN ('table','view') AND lower(name) = lower(?)");
    }
    QString indexExists() const override
    {
        return QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND lower(name) = lower(?)");
    }
    QString allTables() const override
    {
        return QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table','view') AND "
                              "name NOT LIKE 'sqlite_%'");
    }
};

class PostgresDialect : public Dialect {
public:
    Engine engine() const override { return Engine::Postgres; }
    QString driverName() const override { return QStringLiteral("QPSQL"); }
    // Lower-case names, so that a name matches in any case, quoted or not.
    QString declare(const QString &id) const override { return quote(id); }
    QString columnType(FieldType type) const override
    {
        switch (type) {
        case FieldType::Counter:
            return QStringLiteral("INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
        case FieldType::Integer: return QStringLiteral("INTEGER");
        case FieldType::Number: return QStringLiteral("DOUBLE PRECISION");
        case FieldType::YesNo: return QStringLiteral("BOOLEAN NOT NULL DEFAULT FALSE");
        case FieldType::Date: return QStringLiteral("DATE");
        case FieldType::Text:
        case FieldType::Memo: return QStringLiteral("TEXT");
        }
        return QStringLiteral("TEXT");
    }
    // Dates go as yyyy-MM-dd text, which the server reads into a DATE (or
    // keeps in a text field); yes/no stays a boolean.
    QVariant bindValue(const QVariant &value) const override
    {
        switch (value.typeId()) {
        case QMetaType::QDate:
        case QMetaType::QDateTime: return value.isNull() ? QVariant() : QVariant(isoDate(value));
        default: return value;
        }
    }
    QVariant bindValue(const QVariant &value, FieldType type) const override
    {
        if (value.isNull())
            return value;
        switch (type) {
        case FieldType::YesNo: return Database::toBool(value);
        case FieldType::Date: {
            const QDate d = Database::toDate(value);
            if (d.isValid())
                return d.toString(Qt::ISODate);
            // No date: stored empty. Anything else the server refuses.
            return value.toString().trimmed().isEmpty() ? QVariant() : value;
        }
        case FieldType::Counter:
        case FieldType::Integer:
        case FieldType::Number:
            // A number left blank in a file is no number here.
            if (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty())
                return QVariant();
            return value;
        default: return bindValue(value);
        }
    }
    // Read committed: a SELECT ... FOR UPDATE waits for another station's
    // write of the row and then reads what it stored.
    QString beginWrite() const override
    {
        return QStringLiteral("BEGIN ISOLATION LEVEL READ COMMITTED");
    }
    QString forUpdate() const override { return QStringLiteral(" FOR UPDATE"); }
    QString returningKey(const QString &key) const override
    {
        return QStringLiteral(" RETURNING ") + quote(key);
    }
    QStringList resetCounter(const QString &table, const QString &key) const override
    {
        // Never backwards: numbers of removed records are not given again.
        const QString seq = QStringLiteral("pg_get_serial_sequence('%1', '%2')")
                                .arg(quote(table), key.toLower());
        return {QStringLiteral("SELECT setval(s, GREATEST(m, 1), m > 0) FROM (SELECT %1 AS s, "
                               "GREATEST(COALESCE(MAX(%2), 0), COALESCE(pg_sequence_last_value(%1::regclass), 0)) "
                               "AS m FROM %3) x")
                    .arg(seq, quote(key), quote(table))};
    }
    QString counterValue(const QString &table, const QString &key) const override
    {
        return QStringLiteral("SELECT COALESCE(pg_sequence_last_value(pg_get_serial_sequence('%1', '%2')::regclass), 0)")
            .arg(quote(table), key.toLower());
    }
    QStringList raiseCounter(const QString &table, const QString &key) const override
    {
        const QString seq = QStringLiteral("pg_get_serial_sequence('%1', '%2')").arg(quote(table), key.toLower());
        return {QStringLiteral("SELECT setval(%1, GREATEST(CAST(? AS BIGINT), "
                               "COALESCE(pg_sequence_last_value(%1::regclass), 0), 1), true)")
                    .arg(seq)};
    }
    QString forShare() const override { return QStringLiteral(" FOR SHARE"); }
    QStringList lockTable(const QString &table) const override
    {
        return {QStringLiteral("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE").arg(quote(table))};
    }
    QString like() const override { return QStringLiteral("ILIKE"); }
    QString byCodes(const QString &column) const override { return column + QStringLiteral(" COLLATE \"C\""); }
    QString nullsFirst() const override { return QStringLiteral(" NULLS FIRST"); }
    QString rangedIndex() const override { return QStringLiteral("USING brin "); }
    // Each range is summed up as it fills, not only at the next vacuum.
    QString rangedIndexStorage() const override { return QStringLiteral(" WITH (autosummarize = on)"); }
    // The first 32 bits of the texts' MD5 (joined by a space): unlike the
    // server's own hash functions, defined to stay what it is.
    QString textHash(const QStringList &texts) const override
    {
        return QStringLiteral("CAST(CAST('x' || substr(md5(%1), 1, 8) AS BIT(32)) AS INTEGER)")
            .arg(texts.join(QStringLiteral(" || ' ' || ")));
    }
    QString rangedCounter() const override { return QStringLiteral("INTEGER GENERATED BY DEFAULT AS IDENTITY"); }
    QStringList createQuery(const QueryDef &q) const override
    {
        const auto name = [](const QString &s) { return quote(s); };
        const QString fn = quote(q.name + "_update");
        return {viewSql(q, name),
                QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                               "UPDATE %2 SET %3 WHERE %4 = OLD.%4; RETURN NEW; END $$")
                    .arg(fn, quote(q.baseTable), assignments(q, name), quote(q.key)),
                QStringLiteral("CREATE TRIGGER %1 INSTEAD OF UPDATE ON %2 FOR EACH ROW EXECUTE "
                               "FUNCTION %1()")
                    .arg(fn, quote(q.name))};
    }
    QStringList connectionSetup(int busyTimeoutMs) const override
    {
        return {QStringLiteral("SET client_min_messages = warning"), busyTimeout(busyTimeoutMs)};
    }
    QString busyTimeout(int ms) const override
    {
        return QStringLiteral("SET lock_timeout = %1").arg(ms);
    }
    QString tableExists() const override
    {
        return QStringLiteral("SELECT table_name FROM information_schema.tables WHERE "
                              "table_schema = current_schema() AND table_name = lower(?)");
    }
    QString indexExists() const override
    {
        return QStringLiteral("SELECT indexname FROM pg_indexes WHERE "
                              "schemaname = current_schema() AND lower(indexname) = lower(?)");
    }
    QString allTables() const override
    {
        return QStringLiteral("SELECT table_name FROM information_schema.tables WHERE "
                              "table_schema = current_schema()");
    }
};

} // namespace

std::unique_ptr<Dialect> Dialect::forDriver(const QString &driverName)
{
    return forEngine(driverName.startsWith(QLatin1String("QPSQL")) ? Engine::Postgres : Engine::Sqlite);
}

std::unique_ptr<Dialect> Dialect::forEngine(Engine engine)
{
    if (engine == Engine::Postgres)
        return std::make_unique<PostgresDialect>();
    return std::make_unique<SqliteDialect>();
}

QString Dialect::quote(const QString &identifier)
{
    QString id = identifier.toLower();
    id.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + id + QLatin1Char('"');
}

QString Dialect::containing(const QString &text)
{
    QString escaped;
    for (const QChar ch : text) {
        if (ch == QLatin1Char('!') || ch == QLatin1Char('%') || ch == QLatin1Char('_'))
            escaped += QLatin1Char('!');
        escaped += ch;
    }
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

} // namespace store
