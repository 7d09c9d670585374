#pragma once

#include "store/core/database.h"

#include <QSqlRecord>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

namespace store {

// A window's record source: a table or stored query of the database (or an
// SQL text) with a current record. Navigation, seek on a named index, find
// with criteria, bookmarks, add/edit/update/delete, as the windows use them.
// The keys are read when bound or refreshed; a record's fields are read when
// it becomes current, so a refresh shows what other stations stored.
class RecordSource {
public:
    explicit RecordSource(Database &db);

    // Binds a table or stored query by name and moves to its first record.
    void bind(const QString &name);
    // Binds a read-only SQL text; values bound in order.
    void bindSql(const QString &select, const QVariantList &binds = {});
    void refresh();                      // re-read, keep the current record where possible
    void reread() { m_cacheKey = QVariant(); }   // the current record's fields afresh
    QString name() const { return m_name; }
    QString table() const { return m_table; }     // where edits are written
    QString keyField() const { return m_key; }

    int recordCount() const { return static_cast<int>(m_keys.size()); }
    bool eof() const;
    bool bof() const;
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();

    // Named index (or the key field's name): sets the order of the records.
    void setIndex(const QString &indexName);
    QString index() const { return m_index; }
    bool seek(const QVariant &key) { return seek(QVariantList{key}); }
    bool seek(const QVariantList &keyValues);
    bool findFirst(const QString &criteria);
    bool findLast(const QString &criteria);
    bool findNext(const QString &criteria);
    bool findPrevious(const QString &criteria);
    bool noMatch() const { return m_noMatch; }

    QVariant bookmark() const;
    void setBookmark(const QVariant &bookmark);
    QVariant lastModified() const { return m_lastModified; }

    // Fields of the current record, by name (case ignored); an edit buffer
    // while adding or editing.
    QVariant value(const QString &field) const;
    QString text(const QString &field) const { return value(field).toString(); }
    QSqlRecord record() const;
    QStringList fieldNames() const { return m_fields; }

    void addNew();
    void edit();
    void setValue(const QString &field, const QVariant &value);
    void update();
    void cancelUpdate();
    void remove();
    bool editing() const { return m_mode != Mode::None; }

private:
    enum class Mode { None, Adding, Editing };
    void load();
    void requireCurrent() const;
    const QSqlRecord &current() const;
    QString canonicalField(const QString &field) const;
    QList<QVariant> matching(const QString &criteria) const;
    bool find(const QString &criteria, int from, int step);
    int positionOf(const QVariant &key) const;

    Database &m_db;
    QString m_name;
    QString m_table;        // where edits are written
    QString m_key;          // key field of the source
    QString m_index;
    QStringList m_orderFields;
    bool m_sql = false;
    QString m_select;
    QVariantList m_selectBinds;
    std::vector<QSqlRecord> m_sqlRows;
    QStringList m_fields;
    QVariantList m_keys;
    int m_pos = -1;
    bool m_deleted = false;  // the current record was deleted; m_pos is its successor
    bool m_noMatch = false;
    QVariant m_lastModified;
    Mode m_mode = Mode::None;
    QVariantMap m_buffer;
    mutable QSqlRecord m_cache;
    mutable QVariant m_cacheKey;
};

} // namespace store
