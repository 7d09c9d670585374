#include "store/core/settings.h"

#include "store/core/changelog.h"

#include "store/core/database.h"
#include "store/core/schema.h"
#include "store/core/timetext.h"

#include <QSqlRecord>

namespace store {

namespace {
const char *const DayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

QString firstRecordSql()
{
    return QStringLiteral("SELECT * FROM %1 ORDER BY %2 LIMIT 1")
        .arg(Dialect::quote(tables::Setup), Dialect::quote("ID"));
}
} // namespace

QString Settings::templateField(int dayOfWeek)
{
    return QString::fromLatin1(DayNames[dayOfWeek % 7]);
}

QString Settings::closedField(int dayOfWeek)
{
    return QStringLiteral("chk%1").arg(dayOfWeek % 7 + 1);
}

int Settings::openMinutes() const
{
    return parseTime(open).value_or(8 * 60);
}

int Settings::closeMinutes() const
{
    return parseTime(close).value_or(17 * 60);
}

Settings SettingsStore::load() const
{
    Settings s;
    const auto rec = m_db.selectOne(firstRecordSql());
    if (!rec)
        throw DbError(DbError::NoCurrentRecord,
                             QStringLiteral("The settings record is missing."));
    const QSqlRecord &r = *rec;
    s.id = r.value("ID").toInt();
    readLayout(r, s);
    s.rHeight = r.value("RHeight").toInt();
    s.cwidth = r.value("cwidth").toString();
    s.bookNo = r.value("BookNo").toString();
    s.fixedMemo = r.value("FixedMemo").toString();
    s.timer1 = Database::toBool(r.value("Timer1"));
    s.refresh = r.value("Refresh").toInt();
    for (int d = 0; d < 7; ++d) {
        s.templates[d] = r.value(QString::fromLatin1(DayNames[d])).toString();
        s.closed[d] = Database::toBool(r.value(QStringLiteral("chk%1").arg(d + 1)));
    }
    s.blockout = r.value("Blockout").toString();
    return s;
}

bool SettingsStore::sameValue(const QVariant &stored, const QVariant &read)
{
    switch (read.typeId()) {
    case QMetaType::Bool: return Database::toBool(stored) == read.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: return stored.toLongLong() == read.toLongLong();
    default: return stored.toString() == read.toString();
    }
}

Edit SettingsStore::modify(const QStringList &fields, const Change &change, const Edit *logAs,
                           const QString &command)
{
    const TableDef &table = *findTable(tables::Setup);
    // Only the fields the change reads (and those it writes are asked for by
    // the callers too), not the whole record with its seven templates.
    const auto selectOf = [&table](const QStringList &names, bool locking, Database &db) {
        QStringList cols{Dialect::quote("ID")};
        for (const QString &f : names) {
            const FieldDef *def = table.field(f);
            if (!def)
                throw DbError(DbError::NoSuchField, QStringLiteral("Item not found in this collection: %1").arg(f));
            cols << Dialect::quote(def->name);
        }
        const QString sql = QStringLiteral("SELECT %1 FROM %2 ORDER BY %3 LIMIT 1")
                                .arg(cols.join(QLatin1Char(',')), Dialect::quote(tables::Setup), Dialect::quote("ID"));
        return locking ? db.selectOneForUpdate(sql) : db.selectOne(sql);
    };

    WriteTransaction tx(m_db);
    // The row stays locked until the write, so no other station's value can
    // slip in between the check and the write.
    const auto rec = selectOf(fields, true, m_db);
    if (!rec)
        throw DbError(DbError::NoCurrentRecord, QStringLiteral("The settings record is missing."));
    QVariantMap stored;
    for (int i = 0; i < fields.size(); ++i)
        stored.insert(fields[i], rec->value(i + 1));
    const QVariant id = rec->value(0);
    Edit edit{QStringLiteral("setup"), id, {}};
    const std::optional<QVariantMap> values = change(stored);
    if (!values || values->isEmpty())
        return edit;   // the transaction rolls back
    QStringList unread;
    for (auto it = values->begin(); it != values->end(); ++it)
        if (!stored.contains(it.key()))
            unread << it.key();
    if (!unread.isEmpty()) {
        // The row is locked already: what it holds cannot change meanwhile.
        const auto more = selectOf(unread, false, m_db);
        for (int i = 0; more && i < unread.size(); ++i)
            stored.insert(unread[i], more->value(i + 1));
    }
    for (auto it = values->begin(); it != values->end(); ++it) {
        const QVariant before = stored.value(it.key());
        if (!sameValue(before, *it))
            edit.changes.push_back({it.key(), before, *it});
    }
    m_db.update(tables::Setup, id.toInt(), *values);
    ChangeLog::append(m_db, logAs ? *logAs : edit, command);
    tx.commit();
    return edit;
}

Edit SettingsStore::write(const QVariantMap &fields)
{
    return modify(fields.keys(), [&fields](const QVariantMap &) { return std::optional<QVariantMap>(fields); });
}

SettingsStore::FieldsWrite SettingsStore::writeFields(const QVariantMap &expected, const QVariantMap &values)
{
    FieldsWrite out;
    out.edit = modify(values.keys(), [&](const QVariantMap &stored) -> std::optional<QVariantMap> {
        out.stored = stored;
        for (auto it = values.begin(); it != values.end(); ++it) {
            const QVariant now = stored.value(it.key());
            if (!sameValue(now, expected.value(it.key())) && !sameValue(now, *it))
                out.contested << it.key();
        }
        if (!out.contested.isEmpty())
            return std::nullopt;
        return values;
    });
    return out;
}

std::optional<QVariant> SettingsStore::writeIfUnchanged(const QString &name, const QVariant &expected,
                                                        const QVariant &value)
{
    const auto stored = writeIfUnchanged(QVariantMap{{name, expected}}, QVariantMap{{name, value}});
    return stored ? std::optional<QVariant>(stored->value(name)) : std::nullopt;
}

std::optional<QVariantMap> SettingsStore::writeIfUnchanged(const QVariantMap &expected, const QVariantMap &values)
{
    std::optional<QVariantMap> refused;
    QStringList read = expected.keys();
    for (const QString &k : values.keys())
        if (!read.contains(k))
            read << k;
    modify(read, [&](const QVariantMap &stored) -> std::optional<QVariantMap> {
        for (auto it = expected.begin(); it != expected.end(); ++it)
            if (!sameValue(stored.value(it.key()), *it)) {
                refused = stored;
                return std::nullopt;
            }
        return values;
    });
    return refused;
}

QVariant SettingsStore::field(const QString &name) const
{
    const auto rec = m_db.selectOne(firstRecordSql());
    if (!rec)
        throw DbError(DbError::NoCurrentRecord,
                             QStringLiteral("The settings record is missing."));
    const int i = rec->indexOf(name);
    if (i < 0)
        throw DbError(DbError::NoSuchField,
                             QStringLiteral("Item not found in this collection: %1").arg(name));
    return rec->value(i);
}

} // namespace store
