#pragma once

#include "store/core/edit.h"
#include "store/core/fieldwrite.h"

#include <QString>
#include <QVariantMap>

namespace store {
class Database;
}

namespace accounts {

// What the patient files and the invoices keep alike: one record kind in
// one table, keyed by a number, whose first records are the practice's
// samples and never deleted. A delete is guarded as every write is, and
// every change is logged and announced in its own transaction.
class RecordStore {
public:
    using Removal = store::Removal;
    using Remove = store::GuardedRemove;
    // Deletes a record that still holds what this station read (`read`:
    // field -> value; other keys are ignored).
    Remove remove(int key, const QVariantMap &read);

protected:
    RecordStore(store::Database &db, const QString &table, const QString &kind, int lastProtected)
        : m_db(db), m_table(table), m_kind(kind), m_lastProtected(lastProtected)
    {
    }
    virtual ~RecordStore() = default;

    // In the delete's transaction, once the record is gone.
    virtual void removed(const store::Edit &) {}
    // In a write's transaction: the edit into the change log, and (when it
    // changed anything) the other stations told.
    void logged(const store::Edit &edit, const QString &what);

    store::Database &m_db;

private:
    QString m_table;
    QString m_kind;
    int m_lastProtected;
};

} // namespace accounts
