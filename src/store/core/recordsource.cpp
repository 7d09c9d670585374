#include "store/core/recordsource.h"

#include "store/core/criteria.h"

#include <QSqlField>
#include <QSet>

namespace store {

namespace {
DbError noCurrent()
{
    return DbError(DbError::NoCurrentRecord, QStringLiteral("No current record."));
}
} // namespace

RecordSource::RecordSource(Database &db) : m_db(db) {}

void RecordSource::bind(const QString &name)
{
    m_sql = false;
    m_index.clear();
    m_orderFields.clear();
    if (const TableDef *t = findTable(name)) {
        m_name = t->name;
        m_table = t->name;
        m_key = t->key;
        m_fields = t->fieldNames();
    } else if (name.compare(accountsQuery().name, Qt::CaseInsensitive) == 0) {
        const QueryDef &q = accountsQuery();
        m_name = q.name;
        m_table = q.baseTable;
        m_key = q.key;
        m_fields = q.columns;
    } else {
        throw DbError(DbError::General, QStringLiteral("Cannot find table or query '%1'.").arg(name));
    }
    m_pos = -1;
    load();
    moveFirst();
}

void RecordSource::bindSql(const QString &select, const QVariantList &binds)
{
    m_sql = true;
    m_name = select;
    m_select = select;
    m_selectBinds = binds;
    m_table.clear();
    m_key.clear();
    m_pos = -1;
    load();
    moveFirst();
}

void RecordSource::load()
{
    m_deleted = false;
    m_cacheKey = QVariant();
    m_keys.clear();
    if (m_sql) {
        m_sqlRows = m_db.select(m_select, m_selectBinds);
        m_fields.clear();
        if (!m_sqlRows.empty())
            for (int i = 0; i < m_sqlRows.front().count(); ++i)
                m_fields << m_sqlRows.front().fieldName(i);
        for (int i = 0; i < static_cast<int>(m_sqlRows.size()); ++i)
            m_keys << i;
        return;
    }
    QStringList order;
    for (const QString &f : m_orderFields)
        order << Dialect::quote(f);
    order << Dialect::quote(m_key);
    const auto rows = m_db.select(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                                      .arg(Dialect::quote(m_key), Dialect::quote(m_name), order.join(", ")));
    for (const QSqlRecord &r : rows)
        m_keys << r.value(0);
}

void RecordSource::refresh()
{
    const QVariant keep = bookmark();
    load();
    const int pos = keep.isValid() ? positionOf(keep) : -1;
    if (pos >= 0)
        m_pos = pos;
    else
        moveFirst();
}

bool RecordSource::eof() const
{
    return m_keys.isEmpty() || m_pos >= m_keys.size();
}

bool RecordSource::bof() const
{
    return m_keys.isEmpty() || m_pos < 0;
}

void RecordSource::moveFirst()
{
    m_mode = Mode::None;
    m_deleted = false;
    m_pos = 0;
}

void RecordSource::moveLast()
{
    m_mode = Mode::None;
    m_deleted = false;
    m_pos = m_keys.isEmpty() ? 0 : static_cast<int>(m_keys.size()) - 1;
}

void RecordSource::moveNext()
{
    m_mode = Mode::None;
    if (m_deleted) {   // the successor of the deleted record is already there
        m_deleted = false;
        return;
    }
    if (eof())
        throw noCurrent();
    ++m_pos;
}

void RecordSource::movePrevious()
{
    if (bof())
        throw noCurrent();
    m_mode = Mode::None;
    m_deleted = false;
    --m_pos;
}

void RecordSource::setIndex(const QString &indexName)
{
    const TableDef *t = findTable(m_table);
    if (!t || m_sql)
        throw DbError(DbError::General, QStringLiteral("Index '%1' is not available.").arg(indexName));
    if (indexName.compare(t->key, Qt::CaseInsensitive) == 0 || indexName.compare(QLatin1String("PrimaryKey"), Qt::CaseInsensitive) == 0) {
        m_orderFields.clear();
    } else if (const IndexDef *i = t->index(indexName)) {
        m_orderFields = i->fields;
    } else {
        throw DbError(DbError::General, QStringLiteral("'%1' isn't an index in this table.").arg(indexName));
    }
    m_index = indexName;
    refresh();
}

bool RecordSource::seek(const QVariantList &keyValues)
{
    const QStringList fields = m_orderFields.isEmpty() ? QStringList{m_key} : m_orderFields;
    QStringList conds;
    QVariantList binds;
    for (int i = 0; i < fields.size() && i < keyValues.size(); ++i) {
        conds << Dialect::quote(fields[i]) + QStringLiteral(" = ?");
        binds << keyValues[i];
    }
    if (conds.isEmpty() || m_sql)
        throw DbError(DbError::General, QStringLiteral("Seek needs an index."));
    QStringList order;
    for (const QString &f : fields)
        order << Dialect::quote(f);
    order << Dialect::quote(m_key);
    const QVariant key = m_db.scalar(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4 LIMIT 1")
                                         .arg(Dialect::quote(m_key), Dialect::quote(m_name),
                                              conds.join(QStringLiteral(" AND ")), order.join(", ")),
                                     binds);
    m_mode = Mode::None;
    int pos = key.isValid() ? positionOf(key) : -1;
    if (key.isValid() && pos < 0) {   // stored by another station since we read
        load();
        pos = positionOf(key);
    }
    m_noMatch = pos < 0;
    if (!m_noMatch) {
        m_deleted = false;
        m_pos = pos;
    }
    return !m_noMatch;
}

QList<QVariant> RecordSource::matching(const QString &criteria) const
{
    const Condition c = parseCriteria(criteria, m_fields, m_db.dialect(), findTable(m_table));
    if (m_sql) {
        throw DbError(DbError::General, QStringLiteral("Find is not available on this record source."));
    }
    const auto rows = m_db.select(QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                                      .arg(Dialect::quote(m_key), Dialect::quote(m_name), c.sql),
                                  c.binds);
    QList<QVariant> out;
    for (const QSqlRecord &r : rows)
        out << r.value(0);
    return out;
}

bool RecordSource::find(const QString &criteria, int from, int step)
{
    QSet<QString> hits;
    for (const auto &k : matching(criteria))
        hits.insert(k.toString());
    for (int i = from; i >= 0 && i < m_keys.size(); i += step)
        if (hits.contains(m_keys[i].toString())) {
            m_mode = Mode::None;
            m_deleted = false;
            m_pos = i;
            m_noMatch = false;
            return true;
        }
    m_noMatch = true;
    return false;
}

bool RecordSource::findFirst(const QString &criteria)
{
    return find(criteria, 0, 1);
}

bool RecordSource::findLast(const QString &criteria)
{
    return find(criteria, static_cast<int>(m_keys.size()) - 1, -1);
}

bool RecordSource::findNext(const QString &criteria)
{
    // After a delete the next record already stands at the deleted position.
    return find(criteria, std::max(m_deleted ? m_pos : m_pos + 1, 0), 1);
}

bool RecordSource::findPrevious(const QString &criteria)
{
    return find(criteria, std::min(m_pos - 1, static_cast<int>(m_keys.size()) - 1), -1);
}

int RecordSource::positionOf(const QVariant &key) const
{
    const QString k = key.toString();
    for (int i = 0; i < m_keys.size(); ++i)
        if (m_keys[i].toString() == k)
            return i;
    return -1;
}

QVariant RecordSource::bookmark() const
{
    if (m_deleted || bof() || eof())
        return QVariant();
    return m_keys[m_pos];
}

void RecordSource::setBookmark(const QVariant &bookmark)
{
    int pos = positionOf(bookmark);
    if (pos < 0) {
        load();
        pos = positionOf(bookmark);
    }
    if (pos < 0)
        throw DbError(DbError::NoCurrentRecord, QStringLiteral("Not a valid bookmark."));
    m_mode = Mode::None;
    m_deleted = false;
    m_pos = pos;
}

void RecordSource::requireCurrent() const
{
    if (m_deleted || bof() || eof())
        throw noCurrent();
}

const QSqlRecord &RecordSource::current() const
{
    requireCurrent();
    const QVariant key = m_keys[m_pos];
    if (m_sql) {
        m_cache = m_sqlRows[static_cast<size_t>(key.toInt())];
        return m_cache;
    }
    if (m_cacheKey != key) {
        const auto rec = m_db.selectOne(QStringLiteral("SELECT * FROM %1 WHERE %2 = ?")
                                            .arg(Dialect::quote(m_name), Dialect::quote(m_key)),
                                        {key});
        if (!rec)   // deleted by another station
            throw DbError(DbError::NoCurrentRecord, QStringLiteral("Record is deleted."));
        m_cache = *rec;
        m_cacheKey = key;
    }
    return m_cache;
}

QString RecordSource::canonicalField(const QString &field) const
{
    for (const QString &f : m_fields)
        if (f.compare(field, Qt::CaseInsensitive) == 0)
            return f;
    throw DbError(DbError::NoSuchField, QStringLiteral("Item not found in this collection: %1").arg(field));
}

QVariant RecordSource::value(const QString &field) const
{
    const QString f = canonicalField(field);
    if (m_mode != Mode::None && m_buffer.contains(f))
        return m_buffer.value(f);
    if (m_mode == Mode::Adding)
        return QVariant();
    return current().value(f);
}

QSqlRecord RecordSource::record() const
{
    return current();
}

void RecordSource::addNew()
{
    if (m_sql)
        throw DbError(DbError::General, QStringLiteral("The record source is read-only."));
    m_buffer.clear();
    m_mode = Mode::Adding;
}

void RecordSource::edit()
{
    if (m_sql)
        throw DbError(DbError::General, QStringLiteral("The record source is read-only."));
    requireCurrent();
    m_buffer.clear();
    m_mode = Mode::Editing;
}

void RecordSource::setValue(const QString &field, const QVariant &value)
{
    if (m_mode == Mode::None)
        throw DbError(3020, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    m_buffer.insert(canonicalField(field), value);
}

void RecordSource::update()
{
    if (m_mode == Mode::None)
        throw DbError(3020, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    // Only the base table's own fields are written (a query's patient columns
    // belong to the patient file).
    const TableDef *t = findTable(m_table);
    QVariantMap values;
    for (auto it = m_buffer.begin(); it != m_buffer.end(); ++it) {
        const FieldDef *f = t ? t->field(it.key()) : nullptr;
        if (!f || it.key().compare(m_key, Qt::CaseInsensitive) == 0)
            continue;
        // A blank box over a number field stores no number, not an empty text.
        const bool number = f->type == FieldType::Number || f->type == FieldType::Integer;
        const bool blank = it.value().typeId() == QMetaType::QString && it.value().toString().trimmed().isEmpty();
        values.insert(it.key(), number && blank ? QVariant() : it.value());
    }
    WriteTransaction tx(m_db);
    if (m_mode == Mode::Adding) {
        m_lastModified = m_db.insert(m_table, values);
    } else {
        const QVariant key = m_keys[m_pos];
        if (m_db.update(m_table, key, values) == 0 && !values.isEmpty())
            throw DbError(DbError::NoCurrentRecord, QStringLiteral("Record is deleted."));
        m_lastModified = key;
    }
    tx.commit();
    m_mode = Mode::None;
    m_buffer.clear();
    m_cacheKey = QVariant();
    if (positionOf(m_lastModified) < 0) {
        // The new record joins the set; the current record stays as it was.
        const QVariant keep = bookmark();
        load();
        const int pos = keep.isValid() ? positionOf(keep) : -1;
        m_pos = pos >= 0 ? pos : std::min<int>(m_pos, static_cast<int>(m_keys.size()));
    }
}

void RecordSource::cancelUpdate()
{
    m_mode = Mode::None;
    m_buffer.clear();
}

void RecordSource::remove()
{
    requireCurrent();
    if (m_sql)
        throw DbError(DbError::General, QStringLiteral("The record source is read-only."));
    WriteTransaction tx(m_db);
    m_db.remove(m_table, m_keys[m_pos]);
    tx.commit();
    m_keys.removeAt(m_pos);
    m_cacheKey = QVariant();
    // No current record until the program moves: MoveNext goes to the
    // record that followed the deleted one, MovePrevious to the one before.
    m_deleted = true;
}

} // namespace store
