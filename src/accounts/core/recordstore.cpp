#include "accounts/core/recordstore.h"

#include "store/core/changelog.h"
#include "store/core/changewatcher.h"
#include "store/core/database.h"

namespace accounts {

RecordStore::Remove RecordStore::remove(int key, const QVariantMap &read)
{
    if (key <= m_lastProtected) {
        Remove out;
        out.edit = {m_kind, key, {}};
        out.outcome = Removal::Protected;
        return out;
    }
    // The others hear of the removal only when it commits.
    store::WriteTransaction tx(m_db);
    Remove out = store::removeIfUnchanged(m_db, m_table, key, read, m_kind);
    if (out.outcome != Removal::Removed)
        return out;
    removed(out.edit);
    store::ChangeWatcher::announce(m_db, m_kind, QString::number(key));
    tx.commit();
    return out;
}

void RecordStore::logged(const store::Edit &edit, const QString &what)
{
    store::ChangeLog::append(m_db, edit, what);
    if (!edit.empty())
        store::ChangeWatcher::announce(m_db, m_kind, edit.key.toString());
}

} // namespace accounts
