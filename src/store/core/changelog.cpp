#include "store/core/changelog.h"

#include "store/core/database.h"
#include "store/core/schema.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlRecord>

namespace store {

namespace {

QString q(const QString &name)
{
    return Dialect::quote(name);
}

// The database's clock in seconds since 1970 (UTC), the same on both
// engines: on a server every station's entries are timed by one clock. A
// number, not a text: the log's rows and its index by time stay small.
QString nowSql(const Database &db)
{
    return db.onServer() ? QStringLiteral("FLOOR(EXTRACT(EPOCH FROM CURRENT_TIMESTAMP))")
                         : QStringLiteral("CAST(strftime('%s', 'now') AS INTEGER)");
}

qint64 seconds(const QDateTime &t)
{
    return t.toSecsSinceEpoch();
}

QString columns()
{
    return QStringLiteral("%1, %2, %3, %4, %5, %6, %7, %8, %9, %10")
        .arg(q("ID"), q("At"), q("Batch"), q("Station"), q("Host"), q("OSUser"), q("Command"), q("Kind"),
             q("RecordKey"), q("Changes"));
}

LogEntry fromRecord(const QSqlRecord &r)
{
    LogEntry e;
    e.id = r.value(0).toLongLong();
    e.at = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(r.value(1).toDouble()));
    e.batch = r.value(2).toLongLong() == 0 ? e.id : r.value(2).toLongLong();
    e.station = r.value(3).toString();
    e.host = r.value(4).toString().isEmpty() ? e.station : r.value(4).toString();   // stored only when it differs
    e.user = r.value(5).toString();
    e.command = r.value(6).toString();
    e.kind = r.value(7).toString();
    e.key = r.value(8).toString();
    e.changes = ChangeLog::decode(r.value(9).toString());
    return e;
}

std::vector<LogEntry> entries(Database &db, const QString &where, const QVariantList &binds)
{
    std::vector<LogEntry> out;
    db.forEachRow(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4 DESC")
                      .arg(columns(), q(tables::ChangeLog), where, q("ID")),
                  binds, [&out](const QSqlQuery &row) { out.push_back(fromRecord(row.record())); });
    return out;
}

// A record's entries: on a server also by the number its index holds (see
// the table), so that the index is used; where the engine indexes the texts,
// by them alone.
void matchRecord(const Database &db, const QString &kind, const QString &key, QStringList &where, QVariantList &binds)
{
    const Dialect &d = db.dialect();
    if (const QString hash = d.textHash({q("Kind"), q("RecordKey")}); !hash.isEmpty()) {
        where << QStringLiteral("%1 = %2").arg(hash, d.textHash({QStringLiteral("CAST(? AS TEXT)"),
                                                                  QStringLiteral("CAST(? AS TEXT)")}));
        binds << kind << key;
    }
    where << QStringLiteral("%1 = ?").arg(q("Kind")) << QStringLiteral("%1 = ?").arg(q("RecordKey"));
    binds << kind << key;
}

QStringList distinct(Database &db, const QString &field)
{
    QStringList out;
    for (const QSqlRecord &r : db.select(QStringLiteral("SELECT DISTINCT %1 FROM %2 ORDER BY %1")
                                             .arg(q(field), q(tables::ChangeLog))))
        if (!r.value(0).toString().isEmpty())
            out << r.value(0).toString();
    return out;
}

} // namespace

CommandScope::CommandScope(Database &db, const QString &command) : m_db(db), m_outer(db.command().isEmpty())
{
    if (m_outer)
        m_db.setCommand(command);
}

CommandScope::~CommandScope()
{
    if (m_outer)
        m_db.setCommand(QString());
}

QString ChangeLog::keyText(const QVariant &key)
{
    // Never a null text: it would be stored as no value, and found by none.
    const QString text = key.typeId() == QMetaType::QDate ? key.toDate().toString(Qt::ISODate) : key.toString();
    return text.isNull() ? QStringLiteral("") : text;
}

// Compact JSON: [[field, before, after(, label)], ...]. Dates and yes/no as stored.
QString ChangeLog::encode(const std::vector<FieldChange> &changes)
{
    QJsonArray all;
    for (const FieldChange &c : changes) {
        QJsonArray one{c.field, QJsonValue::fromVariant(Database::toSql(c.before)),
                       QJsonValue::fromVariant(Database::toSql(c.after))};
        if (!c.label.isEmpty())
            one.append(c.label);
        all.append(one);
    }
    return QString::fromUtf8(QJsonDocument(all).toJson(QJsonDocument::Compact));
}

std::vector<FieldChange> ChangeLog::decode(const QString &text)
{
    std::vector<FieldChange> out;
    const QJsonArray all = QJsonDocument::fromJson(text.toUtf8()).array();
    for (const QJsonValue &v : all) {
        const QJsonArray one = v.toArray();
        out.push_back({one.at(0).toString(), one.at(1).toVariant(), one.at(2).toVariant(), one.at(3).toString()});
    }
    return out;
}

QString ChangeLog::shown(const QVariant &value)
{
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

void ChangeLog::append(Database &db, const Edit &edit, const QString &fallback)
{
    append(db, std::vector<Edit>{edit}, fallback);
}

void ChangeLog::append(Database &db, const std::vector<Edit> &edits, const QString &fallback)
{
    const QString command = db.command().isEmpty() ? fallback : db.command();
    const StationIdentity &who = db.station();
    const QString sql = QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5, %6, %7, %8, %9, %10) "
                                       "VALUES (%11, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING %12")
                            .arg(q(tables::ChangeLog), q("At"), q("Batch"), q("Station"), q("Host"), q("OSUser"),
                                 q("Command"), q("Kind"), q("RecordKey"), q("Changes"), nowSql(db), q("ID"));
    // Nothing is written as no value (see the table): a lone entry's batch
    // is 0, a host that is the station's name empty.
    const QString host = who.host == who.name ? QStringLiteral("") : who.host;
    qint64 batch = 0;
    for (const Edit &e : edits) {
        if (e.empty())
            continue;
        const auto row = db.selectOne(sql, {batch, keyText(who.name), host, keyText(who.user), command, e.kind,
                                            keyText(e.key), encode(e.changes)});
        if (batch == 0 && row)
            batch = row->value(0).toLongLong();
    }
}

int ChangeLog::carryOver(Database &from, Database &to)
{
    const TableDef &t = *findTable(tables::ChangeLog);
    const qint64 last =
        to.scalar(QStringLiteral("SELECT COALESCE(MAX(%1), 0) FROM %2").arg(q("ID"), q(t.name))).toLongLong();
    // Read whole first: `from` and `to` may be connections to one server.
    const auto rows = from.select(QStringLiteral("SELECT * FROM %1 WHERE %2 > ? ORDER BY %2").arg(q(t.name), q("ID")),
                                  {last});
    qint64 highest = 0;
    for (const QSqlRecord &r : rows) {
        QVariantMap values;
        for (const FieldDef &f : t.fields)
            if (r.indexOf(f.name) >= 0)
                values.insert(f.name, r.value(f.name));
        to.insert(t.name, values, false);
        highest = r.value(QStringLiteral("ID")).toLongLong();
    }
    if (!rows.empty())
        to.raiseCounter(t.name, highest);
    return static_cast<int>(rows.size());
}

void ChangeLog::appendRestore(Database &working, Database &target)
{
    Edit e{QStringLiteral("database"), QStringLiteral("restore"), {}};
    e.add(QStringLiteral("Generation"), working.generation(),
          target.scalar(QStringLiteral("SELECT %1 FROM %2").arg(q("Generation"), q(tables::State))));
    const StationIdentity was = target.station();
    const QString command = target.command();
    target.setStation(working.station());
    target.setCommand(working.command().isEmpty() ? QStringLiteral("Restore") : working.command());
    append(target, e, QStringLiteral("Restore"));
    target.setStation(was);
    target.setCommand(command);
}

std::vector<LogEntry> ChangeLog::forRecord(Database &db, const QString &kind, const QString &key)
{
    QStringList where;
    QVariantList binds;
    matchRecord(db, kind, key, where, binds);
    return entries(db, where.join(QStringLiteral(" AND ")), binds);
}

std::vector<LogEntry> ChangeLog::between(Database &db, const LogFilter &f)
{
    QStringList where{QStringLiteral("1 = 1")};
    QVariantList binds;
    if (f.from.isValid()) {
        where << QStringLiteral("%1 >= ?").arg(q("At"));
        binds << seconds(f.from.startOfDay());
    }
    if (f.to.isValid()) {
        where << QStringLiteral("%1 < ?").arg(q("At"));
        binds << seconds(f.to.addDays(1).startOfDay());
    }
    const auto match = [&](const QString &field, const QString &value) {
        if (value.isEmpty())
            return;
        where << QStringLiteral("%1 = ?").arg(q(field));
        binds << value;
    };
    match(QStringLiteral("Station"), f.station);
    match(QStringLiteral("OSUser"), f.user);
    if (!f.kind.isEmpty() && !f.key.isEmpty()) {
        matchRecord(db, f.kind, f.key, where, binds);
    } else {
        match(QStringLiteral("Kind"), f.kind);
        match(QStringLiteral("RecordKey"), f.key);
    }
    return entries(db, where.join(QStringLiteral(" AND ")), binds);
}

QStringList ChangeLog::stations(Database &db)
{
    return distinct(db, QStringLiteral("Station"));
}

QStringList ChangeLog::users(Database &db)
{
    return distinct(db, QStringLiteral("OSUser"));
}

} // namespace store
