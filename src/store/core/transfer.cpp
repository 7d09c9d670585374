#include "store/core/transfer.h"

#include "store/core/changewatcher.h"
#include "store/core/changelog.h"
#include "store/core/database.h"
#include "store/core/schema.h"
#include "store/core/searchindex.h"

#include <QSqlRecord>
#include <map>

namespace store {

namespace {

// One reading of the whole source: other stations' writes meanwhile are not
// half seen.
class Snapshot {
public:
    explicit Snapshot(Database &db) : m_db(db)
    {
        m_db.exec(m_db.onServer() ? QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY")
                                  : QStringLiteral("BEGIN"));
    }
    ~Snapshot()
    {
        try {
            m_db.exec(QStringLiteral("ROLLBACK"));
        } catch (const DbError &) {
            // Nothing was written; the connection ends the reading anyway.
        }
    }

private:
    Database &m_db;
};

int countOf(Database &db, const QString &table)
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(Dialect::quote(table))).toInt();
}

} // namespace

void Transfer::toEmptyServer(Database &from, Database &to, const Report &report)
{
    if (!to.tableNames().isEmpty())
        throw DbError(DbError::General,
                      QStringLiteral("The target database is not empty: %1").arg(to.tableNames().join(", ")));
    copy(from, to, true, report);
}

void Transfer::toNewFile(Database &from, Database &to, const Report &report)
{
    copy(from, to, false, report);
}

void Transfer::replaceAll(Database &from, Database &to, const Report &report)
{
    copy(from, to, false, report);
}

void Transfer::copy(Database &from, Database &to, bool makeTables, const Report &report)
{
    Snapshot reading(from);
    WriteTransaction tx(to);
    if (makeTables)
        to.createTables();
    else {
        to.renewGeneration();   // first: a write of another station waits, or is refused after
        // Every station reads what it shows again once the data is replaced.
        ChangeWatcher::announce(to, QStringLiteral("data"), QString());
    }
    // The numbers either side has ever issued are not issued again.
    std::map<QString, qint64> issued;
    for (const TableDef &t : mainTables())
        issued[t.name] = std::max(from.highestIssued(t.name), makeTables ? 0 : to.highestIssued(t.name));
    for (const TableDef &t : mainTables()) {
        if (t.name == tables::Station) {
            // Who runs on the target is the target's: a backup's rows would
            // name stations that ran when it was made.
            if (report)
                report(t.name, countOf(to, t.name));
            continue;
        }
        if (t.name == tables::State) {
            // The target keeps a generation of its own, never the source's.
            if (makeTables)
                to.renewGeneration();
            if (report)
                report(t.name, countOf(to, t.name));
            continue;
        }
        if (t.name == tables::ChangeLog) {
            // The log is only ever added to: the target keeps its entries.
            const int kept = countOf(to, t.name);
            const int added = ChangeLog::carryOver(from, to);
            if (countOf(to, t.name) != kept + added)
                throw DbError(DbError::General, QStringLiteral("%1: %2 records read, %3 stored")
                                                    .arg(t.name)
                                                    .arg(added)
                                                    .arg(countOf(to, t.name) - kept));
            if (report)
                report(t.name, countOf(to, t.name));
            continue;
        }
        to.exec(QStringLiteral("DELETE FROM %1").arg(Dialect::quote(t.name)));
        const auto rows = from.select(QStringLiteral("SELECT * FROM %1 ORDER BY %2")
                                          .arg(Dialect::quote(t.name), Dialect::quote(t.key)));
        for (const QSqlRecord &r : rows) {
            QVariantMap values;
            for (const FieldDef &f : t.fields) {
                const int i = r.indexOf(f.name);
                if (i >= 0)
                    values.insert(f.name, r.value(i));
            }
            to.insert(t.name, values, false);
        }
        to.raiseCounter(t.name, issued[t.name]);
        const int stored = countOf(to, t.name);
        if (stored != static_cast<int>(rows.size()))
            throw DbError(DbError::General, QStringLiteral("%1: %2 records read, %3 stored")
                                                .arg(t.name)
                                                .arg(rows.size())
                                                .arg(stored));
        if (report)
            report(t.name, stored);
    }
    // The search index is the target's own, made from the pages it now holds.
    SearchIndex::rebuild(to);
    tx.commit();
    to.probeSearchIndex();
}

} // namespace store
