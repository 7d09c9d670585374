#include "store/core/fieldwrite.h"

#include "store/core/changelog.h"
#include "store/core/database.h"
#include "store/core/dberror.h"
#include "store/core/dialect.h"
#include "store/core/schema.h"

namespace store {

namespace {

const TableDef &tableOf(const QString &table)
{
    const TableDef *t = findTable(table);
    if (!t)
        throw DbError(DbError::General, QStringLiteral("Unknown table %1").arg(table));
    return *t;
}

QVariant fieldValue(const QSqlRecord &r, const QString &field)
{
    for (int i = 0; i < r.count(); ++i)
        if (r.fieldName(i).compare(field, Qt::CaseInsensitive) == 0)
            return r.value(i);
    return QVariant();
}

} // namespace

QString storedText(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

LockedRecord readLocked(Database &db, const QString &table, const QVariant &key, const QVariantMap &read)
{
    const TableDef &t = tableOf(table);
    const auto rec = db.selectOneForUpdate(
        QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(Dialect::quote(t.name), Dialect::quote(t.key)), {key});
    LockedRecord out;
    if (!rec)
        return out;
    out.found = true;
    out.record = *rec;
    for (auto it = read.begin(); it != read.end(); ++it)
        if (t.field(it.key()) && storedText(fieldValue(*rec, it.key())) != storedText(it.value()))
            out.unchanged = false;
    return out;
}

GuardedWrite writeFields(Database &db, const QString &table, const QVariant &key,
                         const std::vector<FieldWrite> &writes, const QString &kind)
{
    const TableDef &t = tableOf(table);
    GuardedWrite out;
    out.edit.kind = kind;
    out.edit.key = key;
    const LockedRecord locked = readLocked(db, table, key);
    if (!locked.found)
        return out;
    out.found = true;
    QVariantMap values;
    out.after = locked.record;
    for (const FieldWrite &w : writes) {
        const FieldDef *f = t.field(w.field);
        if (!f || f->name.compare(t.key, Qt::CaseInsensitive) == 0)
            continue;   // not the record's own field (a query's joined column)
        const QString now = storedText(fieldValue(locked.record, f->name));
        if (now == w.value)
            continue;
        if (now != w.read) {
            out.contested << f->name;
            continue;
        }
        // A blank box over a number field stores no number, not an empty text.
        const bool number = f->type == FieldType::Number || f->type == FieldType::Integer;
        values.insert(f->name, number && w.value.trimmed().isEmpty() ? QVariant() : QVariant(w.value));
        out.edit.add(f->name, fieldValue(locked.record, f->name), values.value(f->name));
        out.after.setValue(f->name, values.value(f->name));
    }
    if (!values.isEmpty())
        db.update(t.name, key, values);
    return out;
}

GuardedRemove removeIfUnchanged(Database &db, const QString &table, const QVariant &key, const QVariantMap &read,
                                const QString &kind)
{
    GuardedRemove out;
    out.edit = {kind, key, {}};
    WriteTransaction tx(db);
    const LockedRecord r = readLocked(db, table, key, read);
    if (!r.found)
        return out;
    if (!r.unchanged) {
        out.outcome = Removal::Changed;
        return out;
    }
    db.remove(table, key);
    for (int i = 0; i < r.record.count(); ++i)
        out.edit.add(r.record.fieldName(i), r.record.value(i), QVariant());
    ChangeLog::append(db, out.edit, QStringLiteral("deleted"));
    tx.commit();
    out.outcome = Removal::Removed;
    return out;
}

} // namespace store
