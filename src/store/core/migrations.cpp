#include "store/core/migrations.h"

#include "store/core/database.h"
#include "store/core/filecounts.h"
#include "store/core/schema.h"
#include "store/core/searchindex.h"

#include <QDateTime>
#include <QSqlRecord>
#include <QUuid>

namespace store {

namespace {

// Version 1 files were brought up to date field by field when opened: a
// file of any earlier build gets every field and index of version 1 here.
void fieldsAndIndexesOfVersion1(Database &db)
{
    for (const TableDef &t : mainTables()) {
        if (t.since > 1)
            continue;
        db.addMissingFields(t);
        db.addMissingIndexes(t);
    }
}

// The indexes the referrer and practitioner listings read by.
void foldedNameIndexes(Database &db)
{
    db.addMissingIndexes(*findTable(tables::Accounts));
}

void generation(Database &db)
{
    const TableDef *t = findTable(tables::State);
    db.makeTable(*t);
    db.insert(tables::State, {{"Generation", newGeneration()}});
}

void changeLog(Database &db)
{
    const TableDef &t = *findTable(tables::ChangeLog);
    if (!db.tableExists(t.name)) {
        db.makeTable(t);
        return;
    }
    db.addMissingFields(t);
    db.addMissingIndexes(t);
}

void stations(Database &db)
{
    if (!db.tableExists(tables::Station))
        db.makeTable(*findTable(tables::Station));
}

// The cells of the pages by their text, for the name searches. Where the
// engine cannot hold it, the searches read the pages as before.
void searchIndex(Database &db)
{
    db.addMissingFields(*findTable(tables::State));   // where a station leaves the index stale
    const QString why = SearchIndex::create(db);
    if (!why.isEmpty())
        qInfo("The database has no search index: %s", qPrintable(why));
    SearchIndex::rebuild(db);   // the cells kept even where a server cannot search them
}

// On a server the log's index by time was a B-tree, a quarter of the log's
// size: the times grow with the entries' order, so a block range index
// finds a day as well in a few pages. The file keeps its B-tree. Only the
// log's owner may change its indexes (the front desk role may only add to
// it): for another role the log keeps the index it has, as sound if larger.
bool owns(Database &db, const QString &table)
{
    return db
        .scalar(QStringLiteral("SELECT pg_has_role(relowner, 'USAGE') FROM pg_class WHERE oid = to_regclass(?)"),
                {Dialect::quote(table)})
        .toBool();
}

// The change log's definition where this station may change its indexes
// (on a server, as the log's owner); otherwise null, and `kept` logged for
// another role.
const TableDef *logToChange(Database &db, const char *kept)
{
    if (!db.onServer())
        return nullptr;
    if (!owns(db, tables::ChangeLog)) {
        qInfo("%s", kept);
        return nullptr;
    }
    return findTable(tables::ChangeLog);
}

void rangedLogIndex(Database &db)
{
    const TableDef *log = logToChange(db, "The change log keeps its index by time: only its owner may make it smaller.");
    if (!log)
        return;
    const TableDef &t = *log;
    for (const IndexDef &i : t.indexes)
        if (i.ranged)
            db.exec(QStringLiteral("DROP INDEX IF EXISTS %1").arg(Dialect::quote(t.name + QLatin1Char('_') + i.name)));
    db.addMissingIndexes(t);
}

// On a server the log's unique B-tree of its numbers (about 22 bytes an
// entry) becomes a block range index, as its times': the numbers come from
// its counter in the order the rows are stored, and a copy adds only
// numbers above the highest it holds. Its B-tree of kind and key texts (40
// to 52 bytes) becomes one of a 32-bit number made from them (about 16).
// The readers find the same entries by either index: for another role than
// the owner the log keeps the indexes it has.
void compactLogIndexes(Database &db)
{
    const TableDef *log = logToChange(db, "The change log keeps its indexes: only its owner may make them smaller.");
    if (!log)
        return;
    const TableDef &t = *log;
    const QString table = Dialect::quote(t.name);
    if (const auto key = db.selectOne(QStringLiteral("SELECT conname FROM pg_constraint WHERE conrelid = "
                                                     "to_regclass(?) AND contype = 'p'"),
                                      {table}))
        db.exec(QStringLiteral("ALTER TABLE %1 DROP CONSTRAINT %2").arg(table, Dialect::quote(key->value(0).toString())));
    for (const IndexDef &i : t.indexes) {
        const QString name = t.name + QLatin1Char('_') + i.name;
        if (i.hashed && !db.scalar(QStringLiteral("SELECT indexdef FROM pg_indexes WHERE indexname = lower(?)"), {name})
                             .toString()
                             .contains(QStringLiteral("md5")))
            db.exec(QStringLiteral("DROP INDEX IF EXISTS %1").arg(Dialect::quote(name)));
    }
    db.addMissingIndexes(t);
}

std::function<void(Database &)> &accountSumsMaker()
{
    static std::function<void(Database &)> make;
    return make;
}

// The manual search's list read in its order by an index on a server; the
// invoices' derived figures.
void listIndexes(Database &db)
{
    db.addMissingIndexes(*findTable(tables::PatientDetails));
    db.addMissingFields(*findTable(tables::State));
    for (const TableDef &t : derivedTables())
        if (!db.tableExists(t.name))
            db.makeTable(t);
    if (accountSumsMaker())
        accountSumsMaker()(db);
}

// The patient files counted by the first character of their last name, kept
// by the engine as files are written. On a server only the files' owner may
// attach what keeps them: for another role the manual search counts the
// files as before, until the owner's station opens the database.
void fileCounts(Database &db)
{
    if (db.onServer() && !owns(db, tables::PatientDetails)) {
        qInfo("The patient files are counted at each manual search: only their owner may keep their counts.");
        return;
    }
    FileCounts::create(db);
}

// A server's trigram index stops keeping changes pending (see SearchIndex).
// Only its owner may change it: for another role the searches stay right,
// and slower until a vacuum merges what is pending.
void settledIndex(Database &db)
{
    if (db.onServer() && !owns(db, SearchIndex::Table)) {
        qInfo("The search index keeps changes pending: only its owner may change that.");
        return;
    }
    SearchIndex::settle(db);
}

// On the file the index held a row per cell, and now a row per consultant
// column of a page; on a server it covers each page's words, kept beside
// its text. Made again whole, with the progress line. Only the owner of
// a server's table may change it: for another role it stays as it was, as
// sound if slower to make.
void columnIndex(Database &db)
{
    if (db.onServer()) {
        if (!owns(db, SearchIndex::Table)) {
            qInfo("The search index keeps the form of an earlier version: only its owner may change it.");
            return;
        }
        SearchIndex::keepWords(db);
    }
    SearchIndex::rebuild(db);
}

} // namespace

void setAccountSumsMaker(std::function<void(Database &)> make)
{
    accountSumsMaker() = std::move(make);
}

QString newGeneration()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

const std::vector<Migration> &migrations()
{
    static const std::vector<Migration> all = {
        {2, QStringLiteral("the fields and indexes of version 1; the data's generation"),
         [](Database &db) {
             fieldsAndIndexesOfVersion1(db);
             generation(db);
         }},
        {3, QStringLiteral("the invoices' referrers and practitioners indexed whatever their case"),
         foldedNameIndexes},
        {ChangeLogStep, QStringLiteral("the change log"),
         changeLog},
        {PresenceStep, QStringLiteral("the stations running now"), stations},
        {SearchIndexStep, QStringLiteral("the page cells' search index"), searchIndex},
        {RangedLogStep, QStringLiteral("the change log's index by time in block ranges"), rangedLogIndex},
        {ListsStep, QStringLiteral("the patient list indexed in its order on a server; the invoices' figures"), listIndexes},
        {CompactLogStep, QStringLiteral("the change log's indexes by number and by record made smaller on a server"),
         compactLogIndexes},
        {FileCountsStep, QStringLiteral("the patient files counted by the initial of their last name"), fileCounts},
        {SettledIndexStep, QStringLiteral("the search index on a server takes each change at once"), settledIndex},
        {ColumnIndexStep, QStringLiteral("the search index kept by consultant column"), columnIndex},
    };
    return all;
}

void migrate(Database &db, int from)
{
    for (const Migration &m : migrations()) {
        if (m.version <= from)
            continue;
        WriteTransaction tx(db);
        db.lockSchema();
        // Another station may have taken this step while this one waited.
        const int now = db.scalar(QStringLiteral("SELECT MAX(%1) FROM %2")
                                      .arg(Dialect::quote("Version"), Dialect::quote(tables::Schema)))
                            .toInt();
        if (now >= m.version) {
            tx.commit();
            continue;
        }
        m.apply(db);
        db.insert(tables::Schema, {{"Version", m.version},
                                   {"Created", QDateTime::currentDateTime().toString(Qt::ISODate)}});
        tx.commit();
    }
}

} // namespace store
