#include "store/core/searchindex.h"

#include "store/core/database.h"
#include "store/core/schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <limits>
#include <map>
#include <set>

namespace store {

const QString SearchIndex::Table = QStringLiteral("sys_Find");

namespace {

QString q(const QString &id)
{
    return Dialect::quote(id);
}

// An entry's key: the page's day in the high bits, then the column of the
// page text (a consultant's column), so that keys run in date and column
// order and one page's entries lie in one range. Columns past the last slot
// share one entry.
constexpr qint64 SlotBits = 20;
constexpr int ColSlots = 128;
constexpr qint64 Overflow = (qint64(1) << SlotBits) - 1;

qint64 dayKey(const QDate &date)
{
    return date.toJulianDay() << SlotBits;
}

QDate dayOf(qint64 key)
{
    return QDate::fromJulianDay(key >> SlotBits);
}

void appendFolded(QString &out, QStringView text)
{
    out.reserve(out.size() + text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(ch, text[i + 1]));
            out += QStringView(QChar::fromUcs4(folded));
            ++i;
        } else if (ch.unicode() < 0x80) {
            out += ch.unicode() >= 'A' && ch.unicode() <= 'Z' ? QChar(ch.unicode() + 32) : ch;
        } else {
            out += QChar::fromUcs4(QChar::toCaseFolded(static_cast<char32_t>(ch.unicode())));
        }
    }
}

// A page text's entries by key slot: each column's folded non-empty cells,
// a line each, top to bottom. On the file a column is a consultant's day: a
// booking changes one entry, and a page is a score of entries rather than
// hundreds of cells (the index is made in a sixth of the time, at a quarter
// of the size). A find across two lines of a column is only a page too
// many, which callers check.
std::map<qint64, QString> entriesOf(const QString &data)
{
    std::map<qint64, QString> out;
    const QStringView text(data);
    qsizetype start = 0;
    int c = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const QChar ch = i < text.size() ? text[i] : QChar(13);
        if (ch != QChar(9) && ch != QChar(13))
            continue;
        if (i > start) {
            QString &entry = out[std::min(c, ColSlots - 1)];
            if (!entry.isEmpty())
                entry += QChar(10);
            appendFolded(entry, text.mid(start, i - start));
        }
        c = ch == QChar(9) ? c + 1 : 0;
        start = i + 1;
    }
    return out;
}

bool sqlite(const Database &db)
{
    return !db.onServer();
}

// On a server a page is one row: its entries, one after the other. A row
// per column is not compressed (it is under the engine's threshold for
// that) and took a third more than the texts; a page's row is stored
// compressed and its trigrams are few. A find across two lines is only a
// page too many, as on the file.
std::map<qint64, QString> rowsOf(const Database &db, const QString &data)
{
    std::map<qint64, QString> entries = entriesOf(data);
    if (sqlite(db) || entries.empty())
        return entries;
    QStringList lines;
    for (const auto &[slot, text] : entries)
        lines << text;
    return {{0, lines.join(QChar(10))}};
}

QString trigramIndexName()
{
    return SearchIndex::Table + QStringLiteral("_Text");
}

// A server's trigram index takes each page's text straight into its tree.
// With the engine's default pending list a save only appends there, but
// every search then reads the whole list (up to 4 MB: a third of a second
// on a busy book) until a vacuum or an unlucky save merges it.
QString trigramIndexSql(Database &db)
{
    return QStringLiteral("CREATE INDEX %1 ON %2 USING gin (%3 gin_trgm_ops) WITH (fastupdate = off)")
        .arg(db.dialect().declare(trigramIndexName()), db.dialect().declare(SearchIndex::Table), q("Text"));
}

// On the file: the FTS5 table's own commands. It holds no text, so an entry
// goes by naming the text it was made from.
void remove(Database &db, qint64 key, const QString &text)
{
    if (sqlite(db))
        db.exec(QStringLiteral("INSERT INTO %1(%1, rowid, %2) VALUES('delete', ?, ?)").arg(q(SearchIndex::Table), q("Text")),
                {key, text});
    else
        db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(q(SearchIndex::Table), q("Cell")), {key});
}

void add(Database &db, qint64 key, const QString &text)
{
    db.exec(QStringLiteral("INSERT INTO %1(%2, %3) VALUES(?, ?)")
                .arg(q(SearchIndex::Table), sqlite(db) ? QStringLiteral("rowid") : q("Cell"), q("Text")),
            {key, text});
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

// The FTS5 query of the needle's trigrams, each a quoted phrase: a cell
// holding the needle holds every one of them.
QString trigramQuery(const QString &folded)
{
    const QList<uint> points = folded.toUcs4();
    std::set<QString> seen;
    QStringList terms;
    for (qsizetype i = 0; i + SearchIndex::MinNeedle <= points.size(); ++i) {
        QString t = QString::fromUcs4(reinterpret_cast<const char32_t *>(points.constData() + i), SearchIndex::MinNeedle);
        if (!seen.insert(t).second)
            continue;
        t.replace(QLatin1Char('"'), QLatin1String("\"\""));
        terms << QLatin1Char('"') + t + QLatin1Char('"');
    }
    return terms.join(QLatin1String(" AND "));
}

QString likeAnywhere(const QString &folded)
{
    QString escaped;
    for (const QChar ch : folded) {
        if (ch == QLatin1Char('!') || ch == QLatin1Char('%') || ch == QLatin1Char('_'))
            escaped += QLatin1Char('!');
        escaped += ch;
    }
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}


// The mark a station that cannot keep the index leaves in the database with
// its page writes: every station's searches scan until a station that can
// keeps it builds it again.
const QString StaleField = QStringLiteral("FindStale");

bool hasStaleField(Database &db)
{
    if (!db.tableExists(tables::State))
        return false;
    const QString table = db.onServer() ? tables::State.toLower() : tables::State;
    return db.connection().record(table).indexOf(db.onServer() ? StaleField.toLower() : StaleField) >= 0;
}

bool isStale(Database &db)
{
    return db.scalar(QStringLiteral("SELECT MAX(%1) FROM %2").arg(q(StaleField), q(tables::State))).toInt() > 0;
}

void setStale(Database &db, bool stale)
{
    if (hasStaleField(db))
        db.exec(QStringLiteral("UPDATE %1 SET %2 = ?").arg(q(tables::State), q(StaleField)), {stale ? 1 : 0});
}

} // namespace

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
        s.searchable = db.selectOne(db.dialect().indexExists(), {trigramIndexName()}).has_value();
        if (!s.searchable)
            s.why = QStringLiteral("the server database has no pg_trgm index of the cells");
    }
    // A station that could not keep it wrote pages: built again here, as
    // this station starts. Until then every station's searches scan.
    if (!db.inTransaction() && isStale(db)) {
        try {
            WriteTransaction tx(db);
            if (isStale(db))
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
    if (!exists)
        db.exec(QStringLiteral("CREATE TABLE %1 (%2 bigint PRIMARY KEY, %3 text NOT NULL)")
                    .arg(db.dialect().declare(Table), q("Cell"), q("Text")));
    if (db.selectOne(db.dialect().indexExists(), {trigramIndexName()}))
        return {};
    // A trusted extension that the database's owner may make; a refusal
    // leaves the cells kept and the searches scanning.
    db.exec(QStringLiteral("SAVEPOINT trigrams"));
    try {
        db.exec(QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm"));
        db.exec(trigramIndexSql(db));
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
    explicit BulkWriter(Database &db) : m_db(db), m_server(db.onServer())
    {
        if (!m_server) {
            m_one = prepared(1);
            return;
        }
        m_batch.reserve(BatchRows);
    }

    void add(qint64 key, const QString &text)
    {
        if (!m_server) {
            m_one->bindValue(0, key);
            m_one->bindValue(1, text);
            run(*m_one);
            return;
        }
        m_batch.emplace_back(key, text);
        if (m_batch.size() == BatchRows)
            flush();
    }

    void flush()
    {
        if (m_batch.empty())
            return;
        if (m_batch.size() == BatchRows && !m_full)
            m_full = prepared(BatchRows);
        std::optional<QSqlQuery> rest;
        QSqlQuery &q = m_batch.size() == BatchRows ? *m_full : rest.emplace(*prepared(static_cast<int>(m_batch.size())));
        int i = 0;
        for (const auto &[key, text] : m_batch) {
            q.bindValue(i++, key);
            q.bindValue(i++, text);
        }
        run(q);
        m_batch.clear();
    }

private:
    static constexpr size_t BatchRows = 1000;

    std::optional<QSqlQuery> prepared(int rows) const
    {
        QStringList values;
        for (int i = 0; i < rows; ++i)
            values << QStringLiteral("(?, ?)");
        std::optional<QSqlQuery> query(std::in_place, m_db.connection());
        query->prepare(QStringLiteral("INSERT INTO %1(%2, %3) VALUES %4")
                       .arg(q(SearchIndex::Table), m_server ? q("Cell") : QStringLiteral("rowid"), q("Text"),
                            values.join(QStringLiteral(", "))));
        return query;
    }

    static void run(QSqlQuery &q)
    {
        if (!q.exec())
            throw DbError::from(q.lastError());
    }

    Database &m_db;
    const bool m_server;
    std::optional<QSqlQuery> m_one, m_full;
    std::vector<std::pair<qint64, QString>> m_batch;
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
        trigrams = owner && db.selectOne(db.dialect().indexExists(), {trigramIndexName()}).has_value();
        if (trigrams)
            db.exec(QStringLiteral("DROP INDEX %1").arg(db.dialect().declare(trigramIndexName())));
        db.exec((owner ? QStringLiteral("TRUNCATE %1") : QStringLiteral("DELETE FROM %1")).arg(db.dialect().declare(Table)));
    }
    const int total = db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(q(tables::Appt))).toInt();
    if (report)
        report(0, total);
    int done = 0;
    BulkWriter writer(db);
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
            for (const auto &[slot, text] : rowsOf(db, data))
                writer.add(base + slot, text);
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
        db.exec(trigramIndexSql(db));
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
    const std::map<qint64, QString> was = rowsOf(db, before), now = rowsOf(db, after);
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

namespace {

// For the scope, a server's statements find their rows through an index's
// bitmap alone (the settings are the session's, restored on leaving).
class ServerIndexOnly {
public:
    explicit ServerIndexOnly(Database &db) : m_db(db), m_on(db.onServer())
    {
        if (!m_on)
            return;
        m_db.exec(QStringLiteral("SET enable_seqscan = off"));
        m_db.exec(QStringLiteral("SET enable_indexscan = off"));
    }
    ~ServerIndexOnly()
    {
        if (!m_on)
            return;
        try {
            m_db.exec(QStringLiteral("RESET enable_seqscan"));
            m_db.exec(QStringLiteral("RESET enable_indexscan"));
        } catch (const DbError &) {
            // an aborted transaction undoes the settings with it
        }
    }
    ServerIndexOnly(const ServerIndexOnly &) = delete;
    ServerIndexOnly &operator=(const ServerIndexOnly &) = delete;

private:
    Database &m_db;
    bool m_on;
};

} // namespace

std::optional<size_t> SearchIndex::pagesWithin(Database &db, const QDate &from, const QDate &to,
                                               const QString &needle)
{
    const QString folded = fold(needle);
    if (!db.searchIndex().searchable || folded.toUcs4().size() < MinNeedle || isStale(db) || !from.isValid() ||
        !to.isValid())
        return std::nullopt;
    // An entry is a column of a page: a page's entries share its day's bits.
    const QString sql = QStringLiteral("SELECT COUNT(DISTINCT %2 / %3) FROM %1 WHERE %4 AND %2 >= ? AND %2 <= ?")
                            .arg(q(Table), sqlite(db) ? QStringLiteral("rowid") : q("Cell"))
                            .arg(qint64(1) << SlotBits)
                            .arg(sqlite(db) ? QStringLiteral("%1 MATCH ?").arg(q(Table))
                                            : QStringLiteral("%1 LIKE ? ESCAPE '!'").arg(q("Text")));
    const ServerIndexOnly only(db);
    return static_cast<size_t>(
        db.scalar(sql, {sqlite(db) ? trigramQuery(folded) : likeAnywhere(folded), dayKey(from), dayKey(to) + Overflow})
            .toLongLong());
}

std::optional<std::vector<QDate>> SearchIndex::pagesWith(Database &db, const QDate &from, const QDate &to,
                                                        const QString &needle, size_t maxPages)
{
    const QString folded = fold(needle);
    if (!db.searchIndex().searchable || folded.toUcs4().size() < MinNeedle || isStale(db))
        return std::nullopt;
    const qint64 low = from.isValid() ? dayKey(from) : 0;
    const qint64 high = to.isValid() ? dayKey(to) + Overflow : std::numeric_limits<qint64>::max();
    const QString sql = sqlite(db)
                            ? QStringLiteral("SELECT rowid FROM %1 WHERE %1 MATCH ? AND rowid >= ? AND rowid <= ? "
                                             "ORDER BY rowid")
                                  .arg(q(Table))
                            : QStringLiteral("SELECT %2 FROM %1 WHERE %3 LIKE ? ESCAPE '!' AND %2 >= ? AND %2 <= ? "
                                             "ORDER BY %2")
                                  .arg(q(Table), q("Cell"), q("Text"));
    std::vector<QDate> out;
    // A server's table holds little beside the texts kept apart, so its
    // planner finds walking it by key cheaper than the trigram index, and
    // opens every page's text: here it reads through the index only.
    const ServerIndexOnly only(db);
    // Read as the rows come, by key: a name on most pages stops the read
    // as soon as it has passed the most the caller wants.
    QSqlQuery rows = db.exec(sql, {sqlite(db) ? trigramQuery(folded) : likeAnywhere(folded), low, high});
    while (rows.next()) {
        const QDate d = dayOf(rows.value(0).toLongLong());
        if (!out.empty() && out.back() == d)
            continue;
        out.push_back(d);
        if (maxPages > 0 && out.size() > maxPages)
            break;
    }
    rows.finish();
    return out;
}

void SearchIndex::settle(Database &db)
{
    if (!db.onServer() || !db.selectOne(db.dialect().indexExists(), {trigramIndexName()}))
        return;
    db.exec(QStringLiteral("ALTER INDEX %1 SET (fastupdate = off)").arg(db.dialect().declare(trigramIndexName())));
    db.exec(QStringLiteral("SELECT gin_clean_pending_list(to_regclass(?))"),
            {db.dialect().declare(trigramIndexName())});
    db.exec(QStringLiteral("ANALYZE %1").arg(db.dialect().declare(Table)));
}

} // namespace store
