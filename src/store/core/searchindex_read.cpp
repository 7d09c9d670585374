#include "store/core/searchindex.h"

#include "store/core/database.h"
#include "store/core/schema.h"
#include "store/core/searchtexts.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <limits>
#include <set>

// The index's reads: which pages may hold a needle.

namespace store {

namespace {

using namespace searchtext;

QString q(const QString &id)
{
    return Dialect::quote(id);
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

// The condition naming the index's entries that may hold a folded needle,
// and its values. On a server whose table keeps the pages apart: each long
// run of letters and digits of the needle among the words (through the
// index), then the needle in the page's text; a needle without such a run
// is looked for in the texts alone.
std::optional<std::pair<QString, QVariantList>> matching(Database &db, const QString &folded)
{
    if (!db.onServer())
        return std::make_pair(QStringLiteral("%1 MATCH ?").arg(q(SearchIndex::Table)), QVariantList{trigramQuery(folded)});
    const QString like = QStringLiteral("%1 LIKE ? ESCAPE '!'");
    if (!db.searchIndex().keptWords)
        return std::make_pair(like.arg(q("Text")), QVariantList{Dialect::containing(folded)});
    QStringList runs;
    QVariantList values;
    for (const QString &run : longRunsOf(folded, SearchIndex::MinNeedle)) {
        runs << QStringLiteral("%1 LIKE ?").arg(q(WordsField));
        values << QLatin1Char('%') + run + QLatin1Char('%');   // letters and digits only: nothing to escape
    }
    QString condition = like.arg(q("Text"));
    if (!runs.isEmpty())
        condition = QStringLiteral("(%1 IS NULL OR (%2)) AND %3")
                        .arg(q(WordsField), runs.join(QStringLiteral(" AND ")), condition);
    values << Dialect::containing(folded);
    return std::make_pair(condition, values);
}

} // namespace

SearchIndex::Reader::Reader(Database &db) : m_db(db)
{
    if (!db.searchIndex().searchable)
        return;
    if (!db.onServer()) {
        m_trusted = !markedStale(db);
        return;
    }
    // A server's table holds little beside the texts kept apart, so its
    // planner finds walking it by key cheaper than the trigram index, and
    // opens every page's text: the reads go through the index only. The
    // settings as they were are read before they change (the subquery is
    // made first: OFFSET 0 keeps it apart).
    const auto r = db.selectOne(
        QStringLiteral("SELECT (SELECT MAX(%1) FROM %2), s.seq, s.idx, set_config('enable_seqscan', 'off', false), "
                       "set_config('enable_indexscan', 'off', false) FROM (SELECT current_setting('enable_seqscan') "
                       "AS seq, current_setting('enable_indexscan') AS idx OFFSET 0) s")
            .arg(q(StaleField), q(tables::State)));
    m_was = std::make_unique<Planner>();
    m_trusted = r && r->value(0).toInt() == 0;
    if (r) {
        m_was->seqscan = r->value(1).toString() != QLatin1String("off");
        m_was->indexscan = r->value(2).toString() != QLatin1String("off");
    }
}

SearchIndex::Reader::~Reader()
{
    if (!m_was)
        return;
    const auto onOff = [](bool on) { return on ? QStringLiteral("on") : QStringLiteral("off"); };
    try {
        // Values of ours, one of two words: nothing typed reaches the text.
        m_db.exec(QStringLiteral("SELECT set_config('enable_seqscan', '%1', false), "
                                 "set_config('enable_indexscan', '%2', false)")
                      .arg(onOff(m_was->seqscan), onOff(m_was->indexscan)));
    } catch (const DbError &) {
        // an aborted transaction undoes the settings with it
    }
}

bool SearchIndex::Reader::answers(const QString &folded) const
{
    return m_trusted && folded.toUcs4().size() >= MinNeedle;
}

std::optional<std::vector<QDate>> SearchIndex::Reader::pagesWithin(const std::vector<std::pair<QDate, QDate>> &spans,
                                                                   const QString &needle)
{
    const QString folded = fold(needle);
    if (!answers(folded) || spans.empty())
        return std::nullopt;
    for (const auto &[from, to] : spans)
        if (!from.isValid() || !to.isValid())
            return std::nullopt;
    const auto match = matching(m_db, folded);
    if (!match)
        return std::nullopt;
    // An entry is a column of a page: a page's entries share its day's bits.
    // The key's range first in each span: a server tells the rows of the
    // range before it opens any page's text (it takes conditions of one cost
    // in order), the file's index reads that range alone.
    const QString span = QStringLiteral("SELECT %2 / %3 FROM %1 WHERE %2 >= ? AND %2 <= ? AND %4")
                             .arg(q(Table), !m_db.onServer() ? QStringLiteral("rowid") : q("Cell"))
                             .arg(qint64(1) << SlotBits)
                             .arg(match->first);
    QStringList parts;
    QVariantList binds;
    for (const auto &[from, to] : spans) {
        parts << span;
        binds << dayKey(from) << dayKey(to) + Overflow;
        binds += match->second;
    }
    std::vector<QDate> out;
    for (const QSqlRecord &r : m_db.select(parts.join(QStringLiteral(" UNION ")), binds))
        out.push_back(dayOf(r.value(0).toLongLong() << SlotBits));
    std::sort(out.begin(), out.end());
    return out;
}

std::optional<std::vector<QDate>> SearchIndex::Reader::pagesWith(const QDate &from, const QDate &to,
                                                                 const QString &needle, size_t maxPages)
{
    const QString folded = fold(needle);
    if (!answers(folded))
        return std::nullopt;
    const qint64 low = from.isValid() ? dayKey(from) : 0;
    const qint64 high = to.isValid() ? dayKey(to) + Overflow : std::numeric_limits<qint64>::max();
    const auto match = matching(m_db, folded);
    if (!match)
        return std::nullopt;
    const QString key = !m_db.onServer() ? QStringLiteral("rowid") : q("Cell");
    QString sql = QStringLiteral("SELECT %2 FROM %1 WHERE %2 >= ? AND %2 <= ? AND %3").arg(q(Table), key, match->first);
    // The file's index gives its entries by key as it finds them: a name on
    // most pages stops the read as soon as it has passed the most the
    // caller wants. A server finds them all before it could sort them (and
    // tells each from its page's text): it is asked for no order, a row a
    // page, and for no more rows than that most.
    if (!m_db.onServer())
        sql += QStringLiteral(" ORDER BY %1").arg(key);
    else if (maxPages > 0)
        sql += QStringLiteral(" LIMIT %1").arg(maxPages + 1);   // a number of ours, not a typed value
    std::vector<QDate> out;
    QSqlQuery rows = m_db.exec(sql, QVariantList{low, high} + match->second);
    while (rows.next()) {
        const QDate d = dayOf(rows.value(0).toLongLong());
        if (!out.empty() && out.back() == d)
            continue;
        out.push_back(d);
        if (maxPages > 0 && out.size() > maxPages)
            break;
    }
    rows.finish();
    std::sort(out.begin(), out.end());
    return out;
}

std::optional<std::vector<QDate>> SearchIndex::pagesWith(Database &db, const QDate &from, const QDate &to,
                                                        const QString &needle, size_t maxPages)
{
    return Reader(db).pagesWith(from, to, needle, maxPages);
}

std::optional<size_t> SearchIndex::pagesWithin(Database &db, const QDate &from, const QDate &to,
                                               const QString &needle)
{
    const auto dates = Reader(db).pagesWithin({{from, to}}, needle);
    return dates ? std::optional<size_t>(dates->size()) : std::nullopt;
}

} // namespace store
