#include "store/core/searchindex.h"

#include "store/core/database.h"
#include "store/core/schema.h"
#include "store/core/searchtexts.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <limits>
#include <map>
#include <set>

namespace store {

const QString SearchIndex::Table = QStringLiteral("sys_Find");

namespace {

using namespace searchtext;

QString q(const QString &id)
{
    return Dialect::quote(id);
}

bool sqlite(const Database &db)
{
    return !db.onServer();
}

bool hasWords(Database &db)
{
    return db.selectOne(QStringLiteral("SELECT 1 FROM information_schema.columns WHERE table_schema = current_schema() "
                                       "AND table_name = lower(?) AND column_name = lower(?)"),
                        {SearchIndex::Table, WordsField})
        .has_value();
}

// A server row's values after its key: the page's text, then its words
// where the table keeps them.
QVariantList serverRow(bool words, const QString &page)
{
    if (!words)
        return {page};
    QString w = wordsOf(page);
    if (w.isNull())   // no letter nor digit: an empty text, not NULL
        w = QStringLiteral("");
    return {page, w};
}

QString trigramIndexName(bool words)
{
    return SearchIndex::Table + (words ? QStringLiteral("_Words") : QStringLiteral("_Text"));
}

bool hasIndex(Database &db, const QString &name)
{
    return db.selectOne(db.dialect().indexExists(), {name}).has_value();
}

// A server's trigram index takes each change straight into its tree. With
// the engine's default pending list a save only appends there, but every
// search then reads the whole list (up to 4 MB: a third of a second on a
// busy book) until a vacuum or an unlucky save merges it.
QString trigramIndexSql(Database &db, bool words)
{
    return QStringLiteral("CREATE INDEX %1 ON %2 USING gin (%3 gin_trgm_ops) WITH (fastupdate = off)")
        .arg(db.dialect().declare(trigramIndexName(words)), db.dialect().declare(SearchIndex::Table),
             q(words ? WordsField : QStringLiteral("Text")));
}

// The rows an earlier version's station wrote, found without reading the others.
QString unwordedIndexSql(Database &db)
{
    return QStringLiteral("CREATE INDEX %1 ON %2 (%3) WHERE %4 IS NULL")
        .arg(db.dialect().declare(SearchIndex::Table + QStringLiteral("_Unworded")),
             db.dialect().declare(SearchIndex::Table), q("Cell"), q(WordsField));
}

// On the file: the FTS5 table's own commands. It holds no text, so an entry
// goes by naming the text it was made from.
void remove(Database &db, qint64 key, const QString &text)
{
    db.exec(QStringLiteral("INSERT INTO %1(%1, rowid, %2) VALUES('delete', ?, ?)").arg(q(SearchIndex::Table), q("Text")),
            {key, text});
}

void add(Database &db, qint64 key, const QString &text)
{
    db.exec(QStringLiteral("INSERT INTO %1(rowid, %2) VALUES(?, ?)").arg(q(SearchIndex::Table), q("Text")), {key, text});
}

// FTS5 with its trigram tokenizer (SQLite 3.34 on) in this engine.
bool hasTrigramFts(Database &db)
{
    try {
        if (!db.scalar(QStringLiteral("SELECT sqlite_compileoption_used('ENABLE_FTS5')")).toBool())
            return false;
        const QStringList v = db.scalar(QStringLiteral("SELECT sqlite_version()")).toString().split('.');
        return v.value(0).toInt() > 3 || (v.value(0).toInt() == 3 && v.value(1).toInt() >= 34);
    } catch (const DbError &) {
        return false;
    }
}

bool hasStaleField(Database &db)
{
    if (!db.tableExists(tables::State))
        return false;
    const QString table = db.onServer() ? tables::State.toLower() : tables::State;
    return db.connection().record(table).indexOf(db.onServer() ? StaleField.toLower() : StaleField) >= 0;
}

void setStale(Database &db, bool stale)
{
    if (hasStaleField(db))
        db.exec(QStringLiteral("UPDATE %1 SET %2 = ?").arg(q(tables::State), q(StaleField)), {stale ? 1 : 0});
}

} // namespace

bool SearchIndex::markedStale(Database &db)
{
    return db.scalar(QStringLiteral("SELECT MAX(%1) FROM %2").arg(q(StaleField), q(tables::State))).toInt() > 0;
}

QString SearchIndex::fold(const QString &text)
{
    QString out;
    appendFolded(out, text);
    return out;
}

SearchIndex::State SearchIndex::probe(Database &db)
{
    State s;
    if (!db.tableExists(Table)) {
        s.why = sqlite(db) && !hasTrigramFts(db)
                    ? QStringLiteral("this computer's SQLite has no FTS5 with the trigram tokenizer")
                    : QStringLiteral("the database has no search index");
        return s;
    }
    if (!hasStaleField(db)) {
        // Without the mark no station could tell the others that it left
        // the index behind: none trusts it.
        s.why = QStringLiteral("the database cannot mark its search index stale");
        return s;
    }
    if (sqlite(db)) {
        try {
            db.select(QStringLiteral("SELECT rowid FROM %1 WHERE %1 MATCH '\"zzz\"' LIMIT 1").arg(q(Table)));
        } catch (const DbError &e) {
            // Another station's SQLite made it; this one cannot read or keep
            // it, and says so with each page it writes.
            s.why = QStringLiteral("this computer's SQLite cannot read the search index (%1)").arg(e.description());
            s.marksStale = true;
            return s;
        }
        s.kept = s.searchable = true;
    } else {
        s.kept = true;
        s.keptWords = hasWords(db);
        s.searchable = hasIndex(db, trigramIndexName(s.keptWords));
        if (!s.searchable)
            s.why = QStringLiteral("the server database has no pg_trgm index of the cells");
    }
    // A station that could not keep it wrote pages: built again here, as
    // this station starts. Until then every station's searches scan.
    if (!db.inTransaction() && markedStale(db)) {
        try {
            WriteTransaction tx(db);
            if (markedStale(db))
                rebuild(db);
            tx.commit();
        } catch (const DbError &e) {
            qInfo("The stale search index was not built again: %s", qPrintable(e.numbered()));
        }
    }
    return s;
}

QString SearchIndex::create(Database &db)
{
    const bool exists = db.tableExists(Table);
    if (sqlite(db)) {
        if (!hasTrigramFts(db))
            return QStringLiteral("this computer's SQLite has no FTS5 with the trigram tokenizer");
        // No copy of the texts, no positions: only which cells hold each
        // trigram, which keeps it smaller than the page texts.
        if (!exists)
            db.exec(QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(%2, content='', columnsize=0, detail=none, "
                                   "tokenize='trigram case_sensitive 1')")
                        .arg(db.dialect().declare(Table), q("Text")));
        return {};
    }
    if (!exists) {
        db.exec(QStringLiteral("CREATE TABLE %1 (%2 bigint PRIMARY KEY, %3 text NOT NULL, %4 text)")
                    .arg(db.dialect().declare(Table), q("Cell"), q("Text"), db.dialect().declare(WordsField)));
        db.exec(unwordedIndexSql(db));
    }
    const bool words = hasWords(db);
    if (hasIndex(db, trigramIndexName(words)))
        return {};
    // A trusted extension that the database's owner may make; a refusal
    // leaves the cells kept and the searches scanning.
    db.exec(QStringLiteral("SAVEPOINT trigrams"));
    try {
        db.exec(QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm"));
        db.exec(trigramIndexSql(db, words));
        db.exec(QStringLiteral("RELEASE SAVEPOINT trigrams"));
    } catch (const DbError &e) {
        db.exec(QStringLiteral("ROLLBACK TO SAVEPOINT trigrams"));
        db.exec(QStringLiteral("RELEASE SAVEPOINT trigrams"));
        return QStringLiteral("the server refused pg_trgm (%1)").arg(e.description());
    }
    return {};
}

namespace {

// The cells go in by batches: on a server many rows per statement, into the
// table without its trigram index, which is made in one pass at the end (far
// faster than keeping it row by row); on the file one statement reused, the
// FTS5 table merging its segments once at the end rather than as it grows.
class BulkWriter {
public:
    // `columns`: the key's then the values'.
    BulkWriter(Database &db, QStringList columns)
        : m_db(db), m_columns(std::move(columns)), m_rows(db.onServer() ? 1000 : 1)
    {
    }

    void add(qint64 key, const QVariantList &values)
    {
        m_batch.push_back(key);
        m_batch.append(values);
        if (m_batch.size() == m_rows * m_columns.size())
            flush();
    }

    void flush()
    {
        if (m_batch.isEmpty())
            return;
        const qsizetype rows = m_batch.size() / m_columns.size();
        if (rows == m_rows && !m_full)
            m_full = prepared(rows);
        std::optional<QSqlQuery> rest;
        QSqlQuery &q = rows == m_rows ? *m_full : rest.emplace(*prepared(rows));
        for (qsizetype i = 0; i < m_batch.size(); ++i)
            q.bindValue(static_cast<int>(i), m_batch[i]);
        if (!q.exec())
            throw DbError::from(q.lastError());
        m_batch.clear();
    }

private:
    std::optional<QSqlQuery> prepared(qsizetype rows) const
    {
        const QString marks = QStringLiteral("(%1)").arg(QStringList(m_columns.size(), QStringLiteral("?")).join(", "));
        QStringList values(rows, marks);
        std::optional<QSqlQuery> query(std::in_place, m_db.connection());
        query->prepare(QStringLiteral("INSERT INTO %1(%2) VALUES %3")
                           .arg(q(SearchIndex::Table), m_columns.join(QStringLiteral(", ")),
                                values.join(QStringLiteral(", "))));
        return query;
    }

    Database &m_db;
    const QStringList m_columns;
    const qsizetype m_rows;
    std::optional<QSqlQuery> m_full;
    QVariantList m_batch;
};

} // namespace

void SearchIndex::rebuild(Database &db, const std::function<void(int, int)> &progress)
{
    if (!db.tableExists(Table))
        return;
    const auto &report = progress ? progress : db.indexProgress();
    bool trigrams = false;
    if (sqlite(db)) {
        db.exec(QStringLiteral("INSERT INTO %1(%1) VALUES('delete-all')").arg(q(Table)));
        db.exec(QStringLiteral("INSERT INTO %1(%1, rank) VALUES('automerge', 0)").arg(q(Table)));
    } else {
        // Only the table's owner may drop and make its index again (a front
        // desk role given rights on the tables may not): others fill the table
        // with the index kept as they go, which is slower but gets there.
        const bool owner = db.scalar(QStringLiteral("SELECT COUNT(*) FROM pg_class WHERE relname = ? "
                                                    "AND pg_has_role(relowner, 'USAGE')"),
                                     {Table.toLower()})
                               .toInt() > 0;
        trigrams = owner && hasIndex(db, trigramIndexName(hasWords(db)));
        if (trigrams)
            db.exec(QStringLiteral("DROP INDEX %1").arg(db.dialect().declare(trigramIndexName(hasWords(db)))));
        db.exec((owner ? QStringLiteral("TRUNCATE %1") : QStringLiteral("DELETE FROM %1")).arg(db.dialect().declare(Table)));
    }
    const int total = db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(q(tables::Appt))).toInt();
    if (report)
        report(0, total);
    int done = 0;
    const bool apart = !sqlite(db) && hasWords(db);
    QStringList columns{sqlite(db) ? QStringLiteral("rowid") : q("Cell"), q("Text")};
    if (apart)
        columns << q(WordsField);
    BulkWriter writer(db, columns);
    // Page by page in key order, a slice at a time: the texts of a long book
    // are never all held at once, and no read stays open while cells are
    // written on the same connection.
    constexpr int Slice = 256;
    const QString read = QStringLiteral("SELECT %1, %2, %3 FROM %4 WHERE %1 > ? ORDER BY %1 LIMIT %5")
                             .arg(q("ID"), q("CalDate"), q("Data"), q(tables::Appt))
                             .arg(Slice);
    std::vector<std::pair<QDate, QString>> pages;
    pages.reserve(Slice);
    int after = std::numeric_limits<int>::min();
    for (;;) {
        pages.clear();
        db.forEachRow(read, {after}, [&](const QSqlQuery &row) {
            after = row.value(0).toInt();
            pages.emplace_back(Database::toDate(row.value(1)), row.value(2).toString());
        });
        for (const auto &[date, data] : pages) {
            if (!date.isValid())
                continue;
            const qint64 base = dayKey(date);
            if (!sqlite(db)) {
                if (const QString page = pageText(data); !page.isEmpty())
                    writer.add(base, serverRow(apart, page));
                continue;
            }
            for (const auto &[slot, text] : entriesOf(data))
                writer.add(base + slot, {text});
        }
        writer.flush();
        done += static_cast<int>(pages.size());
        if (report && !pages.empty())
            report(done, std::max(total, done));
        if (pages.size() < static_cast<size_t>(Slice))
            break;
    }
    if (sqlite(db)) {
        db.exec(QStringLiteral("INSERT INTO %1(%1) VALUES('optimize')").arg(q(Table)));
        db.exec(QStringLiteral("INSERT INTO %1(%1, rank) VALUES('automerge', 4)").arg(q(Table)));
    } else if (trigrams) {
        db.exec(QStringLiteral("SET LOCAL maintenance_work_mem = '256MB'"));
        db.exec(trigramIndexSql(db, apart));
        // Without figures of the new rows the planner guesses a range of
        // keys holds a few pages, and reads every page's text by key
        // rather than the index: hundreds of milliseconds for one name.
        db.exec(QStringLiteral("ANALYZE %1").arg(db.dialect().declare(Table)));
    }
    setStale(db, false);
}

void SearchIndex::pageChanged(Database &db, const QDate &date, const QString &before, const QString &after)
{
    if (before == after || !date.isValid())
        return;
    if (!db.searchIndex().kept) {
        if (db.searchIndex().marksStale)
            setStale(db, true);
        return;
    }
    const qint64 base = dayKey(date);
    if (!sqlite(db)) {
        const QString was = pageText(before), now = pageText(after);
        if (was == now)
            return;
        const bool apart = db.searchIndex().keptWords;
        const QString table = q(Table);
        if (now.isEmpty()) {
            db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(table, q("Cell")), {base});
        } else if (was.isEmpty()) {
            db.exec(QStringLiteral("INSERT INTO %1(%2, %3%4) VALUES(?, ?%5)")
                        .arg(table, q("Cell"), q("Text"), apart ? QStringLiteral(", ") + q(WordsField) : QString(),
                             apart ? QStringLiteral(", ?") : QString()),
                    QVariantList{base} + serverRow(apart, now));
        } else if (apart && wordsOf(was) == wordsOf(now)) {
            // No new word: the indexed field stays, and the engine may keep
            // the row where it is without touching the index.
            db.exec(QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3 = ?").arg(table, q("Text"), q("Cell")), {now, base});
        } else {
            db.exec(QStringLiteral("UPDATE %1 SET %2 = ?%3 WHERE %4 = ?")
                        .arg(table, q("Text"), apart ? QStringLiteral(", %1 = ?").arg(q(WordsField)) : QString(), q("Cell")),
                    serverRow(apart, now) + QVariantList{base});
        }
        return;
    }
    const std::map<qint64, QString> was = entriesOf(before), now = entriesOf(after);
    for (const auto &[slot, text] : was) {
        const auto it = now.find(slot);
        if (it == now.end() || it->second != text)
            remove(db, base + slot, text);
    }
    for (const auto &[slot, text] : now) {
        const auto it = was.find(slot);
        if (it == was.end() || it->second != text)
            add(db, base + slot, text);
    }
}

void SearchIndex::keepWords(Database &db)
{
    if (!db.onServer() || !db.tableExists(Table) || hasWords(db))
        return;
    db.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 text").arg(db.dialect().declare(Table), db.dialect().declare(WordsField)));
    db.exec(unwordedIndexSql(db));
    // The index moves to the words (made again by the rebuild that follows).
    if (hasIndex(db, trigramIndexName(false))) {
        db.exec(QStringLiteral("DROP INDEX %1").arg(db.dialect().declare(trigramIndexName(false))));
        db.exec(trigramIndexSql(db, true));
    }
}

void SearchIndex::settle(Database &db)
{
    if (!db.onServer())
        return;
    for (const bool words : {false, true}) {
        const QString index = db.dialect().declare(trigramIndexName(words));
        if (!hasIndex(db, trigramIndexName(words)))
            continue;
        db.exec(QStringLiteral("ALTER INDEX %1 SET (fastupdate = off)").arg(index));
        db.exec(QStringLiteral("SELECT gin_clean_pending_list(to_regclass(?))"), {index});
    }
    db.exec(QStringLiteral("ANALYZE %1").arg(db.dialect().declare(Table)));
}

} // namespace store
