#include "book/pages/pagestore.h"

#include "book/pages/pagerows.h"
#include "store/core/database.h"
#include "store/core/schema.h"
#include "store/core/searchindex.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariantList>
#include <algorithm>

// The page store's reads across many pages: a span of dates, and the pages
// holding a text.

namespace book {

using namespace pos;
using namespace rows;

using store::Database;

namespace {

// Narrows a query over tbl_Appt to the pages dated from..to; an invalid
// date leaves that end open.
void addDateRange(QString &sql, QVariantList &binds, const QDate &from, const QDate &to)
{
    if (from.isValid()) {
        sql += QStringLiteral(" AND %1 >= ?").arg(q("CalDate"));
        binds << Database::toSql(from);
    }
    if (to.isValid()) {
        sql += QStringLiteral(" AND %1 <= ?").arg(q("CalDate"));
        binds << Database::toSql(to);
    }
}

} // namespace

std::vector<DecodedPage> PageStore::pagesBetween(const QDate &from, const QDate &to) const
{
    const auto rows = m_db.select(QStringLiteral("SELECT a.*, c.%1 AS %2, c.%3 AS %4 FROM %5 a LEFT JOIN %6 c "
                                                 "ON c.%7 = a.%8 WHERE a.%8 >= ? AND a.%8 <= ? ORDER BY a.%8")
                                      .arg(q("ID"), q("ColorKey"), q("CColor"), q("ColorList"),
                                           q(store::tables::Appt), q(store::tables::Color), q("caldate"),
                                           q("CalDate")),
                                  {Database::toSql(from), Database::toSql(to)});
    std::vector<DecodedPage> out;
    out.reserve(rows.size());
    for (const QSqlRecord &r : rows) {
        DecodedPage d;
        d.record = fromRecord(r);
        d.record.colorId = r.value(QStringLiteral("ColorKey")).toInt();
        d.record.colors = r.value(QStringLiteral("ColorList")).toString();
        d.cells = page::decode(d.record.data);
        out.push_back(std::move(d));
    }
    return out;
}

namespace {

// The longest run of the needle's ASCII characters, lower case, as a pattern
// for the dialect's case-blind LIKE, its wildcards escaped. The engines fold
// case for ASCII alone, so only such a run makes a prefilter that cannot miss
// a page.
std::optional<QString> likePattern(const QString &needle)
{
    QString best, run;
    for (const QChar ch : needle + QChar(0x80)) {
        if (ch.unicode() < 0x80) {
            run += ch.toLower();
            continue;
        }
        if (run.size() > best.size())
            best = run;
        run.clear();
    }
    if (best.isEmpty())
        return std::nullopt;
    return store::Dialect::containing(best);
}

// Pages read by date at a time: within every engine's limit on bound values.
constexpr int DatesPerRead = 500;

// The pages of these dates (any order), as `columns` of tbl_Appt, in date
// order (or the latest first).
std::vector<QSqlRecord> pagesOn(Database &db, const QString &columns, const std::vector<QDate> &dates,
                                bool latestFirst)
{
    std::vector<QSqlRecord> out;
    out.reserve(dates.size());
    for (size_t i = 0; i < dates.size(); i += DatesPerRead) {
        const size_t n = std::min(dates.size() - i, static_cast<size_t>(DatesPerRead));
        QVariantList binds;
        for (size_t k = i; k < i + n; ++k)
            binds << Database::toSql(dates[k]);
        QStringList marks(static_cast<qsizetype>(n), QStringLiteral("?"));
        for (QSqlRecord &r : db.select(QStringLiteral("SELECT %1 FROM %2 WHERE %3 IN (%4)")
                                           .arg(columns, q(store::tables::Appt), q("CalDate"),
                                                marks.join(QStringLiteral(", "))),
                                       binds))
            out.push_back(std::move(r));
    }
    const auto date = [](const QSqlRecord &r) { return Database::toDate(r.value(QStringLiteral("CalDate"))); };
    std::sort(out.begin(), out.end(), [&](const QSqlRecord &a, const QSqlRecord &b) {
        return latestFirst ? date(b) < date(a) : date(a) < date(b);
    });
    return out;
}

} // namespace

std::optional<std::vector<QDate>> PageStore::indexedDates(const QDate &from, const QDate &to,
                                                          const QString &needle) const
{
    if (needle.isEmpty() || !m_db.searchIndex().searchable)
        return std::nullopt;
    // The range's first and last pages, each found by the dates' index
    // (a count would read every page's entry of the range).
    const QString edge = QStringLiteral("(SELECT %2 FROM %1 WHERE 1 = 1%3 ORDER BY %2%4 LIMIT 1)");
    QString within;
    QVariantList binds, both;
    addDateRange(within, binds, from, to);
    both = binds + binds;
    const auto range = m_db.selectOne(QStringLiteral("SELECT %1, %2")
                                          .arg(edge.arg(q(store::tables::Appt), q("CalDate"), within, QString()),
                                               edge.arg(q(store::tables::Appt), q("CalDate"), within,
                                                        QStringLiteral(" DESC"))),
                                      both);
    const QDate first = range ? Database::toDate(range->value(0)) : QDate();
    const QDate last = range ? Database::toDate(range->value(1)) : QDate();
    if (!first.isValid() || !last.isValid())
        return std::vector<QDate>{};
    // A page a date at the most.
    const size_t pages = static_cast<size_t>(first.daysTo(last)) + 1;
    store::SearchIndex::Reader index(m_db);
    // A name the index holds on one page or none is answered by one lookup,
    // before the sample's.
    const auto few = index.pagesWith(from, to, needle, 1);
    if (!few || few->size() <= 1)
        return few;
    // Page by page, the index costs several times what one pass over every
    // page costs per page, so a name on more than about one page in eight
    // is read by the scan. The share is told by a few short spans spread
    // over the range, asked at once, before any page is read: a common name
    // fills the spans, a rare one costs two short reads.
    constexpr int Spans = 4, SpanDays = 8;
    if (first.daysTo(last) >= 8 * Spans * SpanDays) {
        const qint64 step = (first.daysTo(last) - SpanDays) / (Spans - 1);
        std::vector<std::pair<QDate, QDate>> spans;
        QStringList inSpans;
        QVariantList spanBinds;
        for (int i = 0; i < Spans; ++i) {
            spans.emplace_back(first.addDays(i * step), first.addDays(i * step + SpanDays - 1));
            inSpans << QStringLiteral("(%1 >= ? AND %1 <= ?)").arg(q("CalDate"));
            spanBinds << Database::toSql(spans.back().first) << Database::toSql(spans.back().second);
        }
        const auto found = index.pagesWithin(spans, needle);
        if (!found)
            return std::nullopt;
        std::vector<QDate> stored;
        for (const QSqlRecord &r : m_db.select(QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                                                   .arg(q("CalDate"), q(store::tables::Appt),
                                                        inSpans.join(QStringLiteral(" OR "))),
                                               spanBinds))
            stored.push_back(Database::toDate(r.value(0)));
        const auto inSpan = [](const std::vector<QDate> &dates, const std::pair<QDate, QDate> &span) {
            return static_cast<size_t>(std::count_if(dates.begin(), dates.end(), [&](const QDate &d) {
                return d >= span.first && d <= span.second;
            }));
        };
        size_t hits = 0, sampled = 0;
        for (const auto &span : spans) {
            hits += inSpan(*found, span);
            sampled += inSpan(stored, span);
            if (hits * 2 > sampled)
                return std::nullopt;
        }
        if (hits * 8 > sampled)
            return std::nullopt;
    }
    // Should the spans have missed where the name is common, past a third
    // of the pages the index stops and the scan answers.
    const size_t most = std::max<size_t>(pages / 3, DatesPerRead);
    auto dates = index.pagesWith(from, to, needle, most);
    if (dates && dates->size() > most)
        return std::nullopt;
    return dates;
}

std::vector<TextHit> PageStore::findText(const QDate &from, const QDate &to, const QString &needle) const
{
    std::vector<TextHit> hits;
    if (needle.isEmpty())
        return hits;
    const QString columns = QStringLiteral("%1, %2").arg(q("CalDate"), q("Data"));
    std::vector<QSqlRecord> rows;
    if (const auto dates = indexedDates(from, to, needle)) {
        rows = pagesOn(m_db, columns, *dates, false);
    } else {
        QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 >= ? AND %3 <= ?")
                          .arg(columns, q(store::tables::Appt), q("CalDate"));
        QVariantList binds{Database::toSql(from), Database::toSql(to)};
        if (const auto pattern = likePattern(needle)) {
            sql += QStringLiteral(" AND %1 %2 ? ESCAPE '!'").arg(q("Data"), m_db.dialect().like());
            binds << *pattern;
        }
        sql += QStringLiteral(" ORDER BY %1").arg(q("CalDate"));
        rows = m_db.select(sql, binds);
    }
    for (const QSqlRecord &r : rows) {
        const QDate date = Database::toDate(r.value(0));
        const page::Cells cells = page::decode(r.value(1).toString());
        for (size_t i = 0; i < cells.size(); ++i)
            for (qsizetype j = 0; j < cells[i].size(); ++j)
                if (cells[i][j].contains(needle, Qt::CaseInsensitive))
                    hits.push_back({date, FreeRow + static_cast<int>(i), FirstCol + static_cast<int>(j), cells[i][j]});
    }
    return hits;
}

namespace {

const QString &pageColumns()
{
    static const QString columns = QStringLiteral("%1, %2, %3, %4, %5, %6, %7, %8")
                                       .arg(q("ID"), q("CalDate"), q("Data"), q("open"), q("Close"), q("timeslot"),
                                            q("Listno"), q("names"));
    return columns;
}

// The scan's statement: the pages of the range whose text may hold the
// needle, in date order (or the latest first), at most `limit` (0: all).
QString scanSql(const Database &db, const QDate &from, const QDate &to, const QString &needle, bool latestFirst,
                int limit, QVariantList &binds)
{
    QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE 1 = 1").arg(pageColumns(), q(store::tables::Appt));
    addDateRange(sql, binds, from, to);
    if (const auto pattern = likePattern(needle)) {
        sql += QStringLiteral(" AND %1 %2 ? ESCAPE '!'").arg(q("Data"), db.dialect().like());
        binds << *pattern;
    }
    sql += QStringLiteral(" ORDER BY %1%2").arg(q("CalDate"), latestFirst ? QStringLiteral(" DESC") : QString());
    if (limit > 0)
        sql += QStringLiteral(" LIMIT %1").arg(limit);   // a number of ours, not a typed value
    return sql;
}

} // namespace

std::vector<PageRecord> PageStore::pagesContaining(const QDate &from, const QDate &to, const QString &needle,
                                                   bool latestFirst, int limit) const
{
    std::vector<PageRecord> out;
    if (auto dates = needle.isEmpty() ? std::nullopt : indexedDates(from, to, needle)) {
        if (limit > 0 && dates->size() > static_cast<size_t>(limit))
            dates->erase(latestFirst ? dates->begin() : dates->begin() + limit,
                         latestFirst ? dates->end() - limit : dates->end());
        for (const QSqlRecord &r : pagesOn(m_db, pageColumns(), *dates, latestFirst))
            out.push_back(fromRecord(r));
        return out;
    }
    QVariantList binds;
    const QString sql = scanSql(m_db, from, to, needle, latestFirst, limit, binds);
    for (const QSqlRecord &r : m_db.select(sql, binds))
        out.push_back(fromRecord(r));
    return out;
}

void PageStore::forEachPageContaining(const QDate &from, const QDate &to, const QString &needle,
                                      const std::function<void(const PageRecord &)> &each) const
{
    if (const auto dates = needle.isEmpty() ? std::nullopt : indexedDates(from, to, needle)) {
        for (size_t i = 0; i < dates->size(); i += DatesPerRead) {
            const auto first = dates->begin() + static_cast<std::ptrdiff_t>(i);
            const std::vector<QDate> some(first, first + static_cast<std::ptrdiff_t>(
                                                             std::min<size_t>(DatesPerRead, dates->size() - i)));
            for (const QSqlRecord &r : pagesOn(m_db, pageColumns(), some, false))
                each(fromRecord(r));
        }
        return;
    }
    QVariantList binds;
    const QString sql = scanSql(m_db, from, to, needle, false, 0, binds);
    m_db.forEachRow(sql, binds, [&](const QSqlQuery &row) { each(fromRecord(row.record())); });
}

} // namespace book
