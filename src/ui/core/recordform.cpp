#include "ui/core/recordform.h"

#include "store/core/changelog.h"
#include "store/core/database.h"
#include "store/core/dberror.h"
#include "store/core/dialect.h"
#include "store/core/schema.h"

#include <QSqlRecord>

namespace ui {

namespace {

// The record kind the change log names a table's records by: "print", "letterhead".
QString kindOf(const QString &table)
{
    QString kind = table.toLower();
    if (kind.startsWith(QLatin1String("tbl_")))
        kind.remove(0, 4);
    return kind;
}

} // namespace

RecordForm::RecordForm(store::Database &db, FormModel &form) : m_db(db), m_form(form), m_rs(db) {}

void RecordForm::bind(const QString &source)
{
    m_new = false;
    m_dropped = false;
    m_rs.bind(source);
    show();
}

void RecordForm::refresh()
{
    m_rs.refresh();
}

bool RecordForm::hasCurrent() const
{
    return !m_dropped && m_rs.bookmark().isValid();
}

QVariant RecordForm::key() const
{
    return m_dropped ? QVariant() : m_rs.bookmark();
}

std::vector<store::FieldWrite> RecordForm::changes() const
{
    std::vector<store::FieldWrite> out;
    const store::TableDef *t = store::findTable(m_rs.table());
    for (const QString &name : m_form.changed()) {
        const QString field = m_form.control(name)->field;
        if (t && t->field(field))
            out.push_back({t->field(field)->name, m_form.loaded(name), m_form.stored(name)});
    }
    return out;
}

void RecordForm::dropCurrent()
{
    if (!hasCurrent())
        return;
    const QVariant here = m_rs.bookmark();
    m_rs.moveNext();
    m_after = m_rs.bookmark();
    m_rs.setBookmark(here);
    m_rs.movePrevious();
    m_before = m_rs.bookmark();
    m_rs.refresh();
    m_dropped = true;
    m_new = false;
    m_read.clear();
    m_elsewhere.clear();
}

void RecordForm::show()
{
    m_read.clear();
    m_elsewhere.clear();
    m_epoch = m_db.epoch();
    if (!hasCurrent()) {
        m_form.clear();
        return;
    }
    m_rs.reread();   // what another station stored meanwhile
    const QSqlRecord rec = m_rs.record();
    QVariantMap values;
    for (int i = 0; i < rec.count(); ++i) {
        values.insert(rec.fieldName(i), rec.value(i));
        m_read.insert(rec.fieldName(i).toLower(), rec.value(i));
    }
    m_form.load(values);
}

void RecordForm::checkGeneration() const
{
    if (m_epoch != m_db.epoch())
        throw store::DbError::restored();
}

QString RecordForm::restoredNotice(const store::DbError &e)
{
    return e.numbered() + QStringLiteral("\n\nYour entries are still in the boxes, over the record as it was "
                                         "restored: save again to store them.");
}

bool RecordForm::rereadKeepingTyped()
{
    m_epoch = m_db.epoch();
    if (!hasCurrent())
        return false;
    m_rs.reread();
    try {
        m_rs.record();
    } catch (const store::DbError &) {
        return false;   // not in the restored data: the boxes stay as they are
    }
    QList<QPair<QString, QString>> typed;
    for (const QString &name : m_form.changed())
        typed.append({name, m_form.text(name)});
    show();
    for (const auto &t : typed)
        m_form.assign(t.first, t.second);
    return true;
}

QStringList RecordForm::rereadElsewhere()
{
    if (!hasCurrent())
        return {};
    m_rs.reread();
    QSqlRecord rec;
    try {
        rec = m_rs.record();
    } catch (const store::DbError &) {
        return {};   // removed meanwhile: saving or leaving will say so
    }
    const QStringList typed = m_form.changed();
    QStringList marked, keepRead;
    for (const FormModel::Control &c : m_form.controls()) {
        const int i = c.field.isEmpty() ? -1 : rec.indexOf(c.field);
        if (i < 0)
            continue;
        const QString now = FormModel::asText(rec.value(i));
        if (now == m_form.loaded(c.name))
            continue;
        m_elsewhere.insert(c.name, now);
        marked << c.name;
        if (typed.contains(c.name) && m_form.stored(c.name) != now)
            keepRead << rec.fieldName(i).toLower();
    }
    QList<QPair<QString, QString>> texts;
    for (const QString &name : typed)
        texts.append({name, m_form.text(name)});
    QVariantMap values;
    for (int i = 0; i < rec.count(); ++i) {
        const QString lower = rec.fieldName(i).toLower();
        const QVariant v = keepRead.contains(lower) ? m_read.value(lower) : rec.value(i);
        values.insert(rec.fieldName(i), v);
        m_read.insert(lower, v);
    }
    m_form.load(values);
    for (const auto &t : texts)
        m_form.assign(t.first, t.second);
    return marked;
}

QVariant RecordForm::addNew(const QVariantMap &values)
{
    m_rs.refresh();
    store::WriteTransaction tx(m_db);
    m_rs.addNew();
    for (auto it = values.begin(); it != values.end(); ++it)
        m_rs.setValue(it.key(), it.value());
    m_rs.update();
    const QVariant key = m_rs.lastModified();
    store::Edit edit{kindOf(m_rs.table()), key, {}};
    for (auto it = values.begin(); it != values.end(); ++it)
        edit.add(it.key(), QVariant(), it.value());
    if (edit.empty())
        edit.add(m_rs.keyField(), QVariant(), key);
    store::ChangeLog::append(m_db, edit, QStringLiteral("new record"));
    tx.commit();
    m_rs.setBookmark(key);
    m_dropped = false;
    m_new = true;
    show();
    return key;
}

RecordForm::SaveResult RecordForm::save()
{
    if (!hasCurrent())
        return {SaveResult::Gone, {}};
    const QStringList changed = m_form.changed();
    if (changed.isEmpty()) {
        m_new = false;
        return {SaveResult::Unchanged, {}};
    }
    const QVariant k = key();
    store::WriteTransaction tx(m_db);
    // The stored record, held until the commit: what another station wrote
    // since this one read it decides whether this save may go ahead.
    const auto stored = m_db.selectOneForUpdate(
        QStringLiteral("SELECT * FROM %1 WHERE %2 = ?")
            .arg(store::Dialect::quote(m_rs.table()), store::Dialect::quote(m_rs.keyField())),
        {k});
    if (!stored)
        return {SaveResult::Gone, {}};
    QStringList conflicts;
    for (const QString &name : changed) {
        const QString field = m_form.control(name)->field;
        if (stored->indexOf(field) < 0)
            continue;   // a column of the query that is not the record's own
        const QString now = FormModel::asText(stored->value(field));
        if (now != m_form.loaded(name) && now != m_form.stored(name))
            conflicts << name;
    }
    if (!conflicts.isEmpty())
        return {SaveResult::Conflict, conflicts};
    m_rs.edit();
    store::Edit edit{kindOf(m_rs.table()), k, {}};
    for (const QString &name : changed) {
        const QString field = m_form.control(name)->field;
        m_rs.setValue(field, m_form.stored(name));
        // By the text the box shows: a number read back as 0.5 is the "0.50" typed.
        if (stored->indexOf(field) >= 0 && FormModel::asText(stored->value(field)) != m_form.stored(name))
            edit.add(field, stored->value(field), m_form.stored(name));
    }
    m_rs.update();
    store::ChangeLog::append(m_db, edit, QStringLiteral("record saved"));
    tx.commit();
    m_new = false;
    show();
    return {SaveResult::Saved, {}};
}

void RecordForm::remove()
{
    store::WriteTransaction tx(m_db);
    const QVariant k = key();
    const auto stored = m_db.selectOneForUpdate(
        QStringLiteral("SELECT * FROM %1 WHERE %2 = ?")
            .arg(store::Dialect::quote(m_rs.table()), store::Dialect::quote(m_rs.keyField())),
        {k});
    m_rs.remove();
    store::Edit edit{kindOf(m_rs.table()), k, {}};
    for (int i = 0; stored && i < stored->count(); ++i)
        edit.add(stored->fieldName(i), stored->value(i), QVariant());
    store::ChangeLog::append(m_db, edit, QStringLiteral("deleted"));
    tx.commit();
    m_new = false;
    m_read.clear();
    m_elsewhere.clear();
}

bool RecordForm::fromDropped(const QVariant &neighbour, void (RecordForm::*end)())
{
    if (!neighbour.isValid() || !moveTo(neighbour))
        (this->*end)();
    return true;
}

bool RecordForm::next()
{
    if (m_dropped)
        return fromDropped(m_after, &RecordForm::last);
    const QVariant was = key();
    if (m_rs.eof())
        m_rs.moveLast();
    else
        m_rs.moveNext();
    if (m_rs.eof())
        m_rs.moveLast();
    return key() != was;
}

bool RecordForm::previous()
{
    if (m_dropped)
        return fromDropped(m_before, &RecordForm::first);
    const QVariant was = key();
    if (!m_rs.bof())
        m_rs.movePrevious();
    if (m_rs.bof())
        m_rs.moveFirst();
    return key() != was;
}

void RecordForm::first()
{
    m_dropped = false;
    m_rs.moveFirst();
}

void RecordForm::last()
{
    m_dropped = false;
    m_rs.moveLast();
}

bool RecordForm::moveTo(const QVariant &k)
{
    try {
        m_rs.setBookmark(k);
        m_dropped = false;
        return true;
    } catch (const store::DbError &) {
        return false;   // no such record: the position stays
    }
}

bool RecordForm::seek(const QString &index, const QVariantList &keys)
{
    if (m_rs.index().compare(index, Qt::CaseInsensitive) != 0)
        m_rs.setIndex(index);
    const bool found = m_rs.seek(keys);
    if (found)
        m_dropped = false;
    return found;
}

} // namespace ui
