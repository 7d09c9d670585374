#include "book/pages/pagestore.h"

#include "book/pages/pagegrid.h"
#include "store/core/changewatcher.h"
#include "store/core/changelog.h"
#include "store/core/settings.h"
#include "store/core/database.h"
#include "store/core/settings.h"
#include "store/core/schema.h"
#include "store/core/searchindex.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariantList>
#include <algorithm>
#include <set>

namespace book {

using namespace pos;

using store::Database;
using store::DbError;
using store::Dialect;

namespace {

QString q(const QString &id)
{
    return Dialect::quote(id);
}

DbError pageGone()
{
    return DbError(DbError::NoCurrentRecord, QStringLiteral("The page has been removed by another station."));
}

DbError coloursGone()
{
    return DbError(DbError::NoCurrentRecord,
                   QStringLiteral("The page's colour record has been removed by another station."));
}

// A cell in an edit: its grid position.
QString cellField(int row, int col)
{
    return QStringLiteral("%1,%2").arg(row).arg(col);
}

const QString PageKind = QStringLiteral("page");

// The layout fields of tbl_Appt, as layoutFrom() reads them from the end of a row.
QString layoutColumns()
{
    return QStringLiteral("%1, %2, %3, %4, %5").arg(q("open"), q("Close"), q("timeslot"), q("Listno"), q("names"));
}

PageLayout layoutFrom(const QSqlRecord &r, int first)
{
    return layoutOf(r.value(first + 3).toInt(), r.value(first + 4).toString(), r.value(first).toString(),
                    r.value(first + 1).toString(), r.value(first + 2).toInt(), 1);
}

PageRecord fromRecord(const QSqlRecord &r)
{
    PageRecord p;
    p.id = r.value("ID").toInt();
    p.date = Database::toDate(r.value("CalDate"));
    p.data = r.value("Data").toString();
    p.location = r.value("location").toString();
    p.open = r.value("open").toString();
    p.close = r.value("Close").toString();
    p.timeslot = r.value("timeslot").toInt();
    p.listno = r.value("Listno").toInt();
    p.names = r.value("names").toString();
    p.memo = r.value("Memo").toString();
    p.clinic = Database::toBool(r.value("Clinic"));
    p.blankPage = r.value("BlankPage").toString();
    return p;
}

// Every write of a page's text tells the search index which cells changed,
// in the same transaction, so the name searches never miss a booking.
void reindex(Database &db, const QDate &date, const QString &before, const QString &after)
{
    store::SearchIndex::pageChanged(db, date, before, after);
}

void attachColors(Database &db, PageRecord &p)
{
    const auto c = db.selectOne(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = ?")
                                    .arg(q("ID"), q("CColor"), q(store::tables::Color), q("caldate")),
                                {p.date});
    if (c) {
        p.colorId = c->value(0).toInt();
        p.colors = c->value(1).toString();
    }
}

// Tells the other stations, when the write commits, that the page of a
// date changed.
void announcePage(Database &db, const QDate &date)
{
    store::ChangeWatcher::announce(db, QStringLiteral("page"), date.toString(Qt::ISODate));
}

} // namespace

PageRecord PageStore::find(const QDate &date) const
{
    // The page and its colour record in one indexed read.
    const auto r = m_db.selectOne(QStringLiteral("SELECT a.*, c.%1 AS %2, c.%3 AS %4 FROM %5 a LEFT JOIN %6 c "
                                                 "ON c.%7 = a.%8 WHERE a.%8 = ?")
                                      .arg(q("ID"), q("ColorKey"), q("CColor"), q("ColorList"),
                                           q(store::tables::Appt), q(store::tables::Color), q("caldate"),
                                           q("CalDate")),
                                  {date});
    if (!r)
        return {};
    PageRecord p = fromRecord(*r);
    p.colorId = r->value(QStringLiteral("ColorKey")).toInt();
    p.colors = r->value(QStringLiteral("ColorList")).toString();
    return p;
}

bool PageStore::exists(const QDate &date) const
{
    return m_db.selectOne(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                              .arg(q("ID"), q(store::tables::Appt), q("CalDate")),
                          {date})
        .has_value();
}

PageRecord PageStore::read(int id) const
{
    const auto r = m_db.selectOne(
        QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(q(store::tables::Appt), q("ID")), {id});
    if (!r)
        throw pageGone();
    PageRecord p = fromRecord(*r);
    attachColors(m_db, p);
    return p;
}

namespace {

// Inserts a record unless its unique key is taken; true when this call made
// it. While another station's transaction holds a record with the same key
// not yet committed, this waits for it and then leaves that record be,
// instead of failing on the key.
bool insertIfMissing(Database &db, const QString &table, const QVariantMap &values)
{
    const store::TableDef *t = store::findTable(table);
    QStringList cols, marks;
    QVariantList binds;
    for (auto it = values.begin(); it != values.end(); ++it) {
        const store::FieldDef *f = t->field(it.key());
        cols << q(f->name);
        marks << QStringLiteral("?");
        binds << db.dialect().bindValue(it.value(), f->type);
    }
    return db
        .selectOne(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) ON CONFLICT DO NOTHING RETURNING %4")
                       .arg(q(t->name), cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")), q(t->key)),
                   binds)
        .has_value();
}

} // namespace

PageRecord PageStore::seek(const QDate &date, const store::Settings &s)
{
    PageRecord found = find(date);
    if (found.id != 0 && found.colorId != 0)
        return found;

    store::WriteTransaction tx(m_db);
    // Look again inside the write lock: another station may just have made it.
    const PageRecord p = find(date);
    bool created = false;
    if (p.id == 0) {
        const int dow = date.dayOfWeek();
        const QString tmpl = s.templateFor(dow);
        created = insertIfMissing(m_db, store::tables::Appt,
                                  {{"CalDate", date},
                                   {"Data", tmpl},
                                   {"location", s.location},
                                   {"open", s.open},
                                   {"Close", s.close},
                                   {"timeslot", s.timeslot},
                                   {"Listno", s.listno},
                                   {"names", s.names},
                                   {"Memo", QString()},
                                   {"CColor", "0"},
                                   {"Spare", "0"},
                                   {"Clinic", s.closedOn(dow)},
                                   {"BlankPage", tmpl}});
        if (created)
            reindex(m_db, date, QString(), tmpl);
    }
    if (p.colorId == 0 &&
        !m_db.selectOne(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                            .arg(q("ID"), q(store::tables::Color), q("caldate")),
                        {date})) {
        insertIfMissing(m_db, store::tables::Color, {{"caldate", date}, {"CColor", "0"}, {"Spare", "0"}});
    }
    tx.commit();
    found = find(date);
    found.created = created;
    return found;
}

std::vector<int> decodeColors(const QString &text)
{
    std::vector<int> out;
    if (text.trimmed() == QLatin1String("0"))
        return out;
    const QStringList items = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    out.reserve(static_cast<size_t>(items.size()));
    for (const QString &s : items)
        out.push_back(s.toInt());
    return out;
}

std::vector<int> shownColors(const QString &text, size_t count)
{
    std::vector<int> values = decodeColors(text);
    if (values.empty())
        values.assign(count, DefaultCellColor);
    else
        values.resize(count, 0);
    return values;
}

QString encodeColors(const std::vector<int> &values)
{
    if (values.empty())
        return QStringLiteral("0");
    QStringList items;
    items.reserve(static_cast<qsizetype>(values.size()));
    for (int v : values)
        items << QString::number(v);
    return items.join(QLatin1Char(' '));
}

PageStore::BlockWrite PageStore::writeBlock(const BlockChange &c)
{
    if (c.id == 0 && c.colorId == 0)
        throw pageGone();   // no record to write to
    BlockWrite out;
    store::WriteTransaction tx(m_db);
    std::optional<QSqlRecord> text, colours;
    PageLayout layout;
    if (c.id != 0) {
        text = m_db.selectOneForUpdate(QStringLiteral("SELECT %1, %2, %3 FROM %4 WHERE %5 = ?")
                                           .arg(q("Data"), q("CalDate"), layoutColumns(), q(store::tables::Appt), q("ID")),
                                       {c.id});
        if (!text)
            throw pageGone();
        layout = layoutFrom(*text, 2);
    }
    if (c.colorId != 0) {
        colours = m_db.selectOneForUpdate(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = ?")
                                              .arg(q("CColor"), q("caldate"), q(store::tables::Color), q("ID")),
                                          {c.colorId});
        if (!colours)
            throw coloursGone();
        if (!text)
            if (const auto page = m_db.selectOne(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                                                     .arg(layoutColumns(), q(store::tables::Appt), q("CalDate")),
                                                 {colours->value(1)}))
                layout = layoutFrom(*page, 0);
    }
    out.edit.kind = PageKind;
    out.edit.key = Database::toDate((text ? text : colours)->value(1));

    // What is stored now, and whether every guarded cell still holds what the
    // writer last read.
    std::set<std::pair<int, int>> changed;
    page::Cells cells;
    if (text) {
        out.storedText = text->value(0).toString();
        cells = page::decode(out.storedText);
        if (c.expectedCells)
            for (const auto &[at, expected] : *c.expectedCells)
                if (page::cellAt(cells, at.first, at.second) != expected)
                    changed.insert(at);
    }
    const int perColumn = std::max(colorRow(c.rows), 0);
    const auto indexOf = [perColumn](int r, int col) {
        return static_cast<size_t>(textCol(col) * perColumn + colorRow(r));
    };
    const auto inside = [&c](int r, int col) {
        return r >= FirstTimeRow && r < c.rows && col >= FirstCol && col < c.columns;
    };
    // "0" (nothing stored) and lists of another shape become a full list of
    // the colours the grid showed: a page never painted keeps the default
    // colour in the cells not painted now, so they stay free for a booking.
    std::vector<int> values;
    if (colours) {
        out.storedColors = colours->value(0).toString();
        const size_t total = static_cast<size_t>(std::max(textCol(c.columns), 0) * perColumn);
        values = shownColors(out.storedColors, total);
        if (c.expectedColors) {
            const std::vector<int> shown = shownColors(*c.expectedColors, total);
            for (const auto &[at, color] : c.colors)
                if (inside(at.first, at.second) && values[indexOf(at.first, at.second)] != shown[indexOf(at.first, at.second)])
                    changed.insert(at);
        }
    }
    if (!changed.empty()) {
        out.changed.assign(changed.begin(), changed.end());
        return out;   // the transaction rolls back
    }

    if (text) {
        for (const auto &[at, t] : c.cells) {
            const QString after = page::cleanCell(t);
            out.edit.add(cellField(at.first, at.second), page::cellAt(cells, at.first, at.second), after,
                         cellLabel(layout, at.first, at.second));
            page::setCellAt(cells, at.first, at.second, after);
        }
        const QString written = page::encode(cells);
        if (written != out.storedText) {
            m_db.update(store::tables::Appt, c.id, {{"Data", written}});
            reindex(m_db, out.edit.key.toDate(), out.storedText, written);
        }
        out.storedText = written;
    }
    if (colours) {
        for (const auto &[at, color] : c.colors)
            if (inside(at.first, at.second)) {
                int &v = values[indexOf(at.first, at.second)];
                out.edit.add(cellField(at.first, at.second) + QStringLiteral(" colour"), v, color,
                             cellLabel(layout, at.first, at.second));
                v = color;
            }
        out.storedColors = encodeColors(values);
        m_db.update(store::tables::Color, c.colorId, {{"CColor", out.storedColors}});
    }
    store::ChangeLog::append(m_db, out.edit, c.command.isEmpty() ? QStringLiteral("cells and colours") : c.command);
    if (!out.edit.empty())
        announcePage(m_db, out.edit.key.toDate());
    tx.commit();
    return out;
}

std::vector<PageStore::BlockWrite> PageStore::writeBlocks(const std::vector<BlockChange> &changes)
{
    std::vector<BlockWrite> out;
    store::WriteTransaction tx(m_db);
    for (const BlockChange &c : changes) {
        out.push_back(writeBlock(c));
        if (!out.back().changed.empty())
            return out;   // the transaction rolls back, the pages written before too
    }
    tx.commit();
    return out;
}

PageStore::CellWrite PageStore::writeCells(int id, const CellChanges &changes, const CellChanges *expected)
{
    BlockChange c;
    c.id = id;
    c.cells = changes;
    c.expectedCells = expected;
    c.command = QStringLiteral("cell entry");
    BlockWrite w = writeBlock(c);
    return {!w.changed.empty(), std::move(w.changed), std::move(w.storedText), std::move(w.edit)};
}

PageStore::ColorWrite PageStore::writeColors(int colorId, int columns, int rows, const ColorChanges &changes,
                                             const QString *expected)
{
    BlockChange c;
    c.colorId = colorId;
    c.columns = columns;
    c.rows = rows;
    c.colors = changes;
    c.expectedColors = expected;
    c.command = QStringLiteral("cell colour");
    BlockWrite w = writeBlock(c);
    return {std::move(w.changed), std::move(w.storedColors), std::move(w.edit)};
}

std::optional<QString> PageStore::writeMemo(int id, const QString &memo, const QString *expected)
{
    store::WriteTransaction tx(m_db);
    const auto rec = m_db.selectOneForUpdate(
        QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = ?").arg(q("Memo"), q("CalDate"), q(store::tables::Appt), q("ID")),
        {id});
    if (!rec)
        throw pageGone();
    const QString stored = rec->value(0).toString();
    if (expected && stored != *expected)
        return stored;   // the transaction rolls back
    m_db.update(store::tables::Appt, id, {{"Memo", memo}});
    store::Edit edit{PageKind, Database::toDate(rec->value(1)), {}};
    edit.add(QStringLiteral("Memo"), stored, memo);
    store::ChangeLog::append(m_db, edit, QStringLiteral("memo"));
    announcePage(m_db, Database::toDate(rec->value(1)));
    tx.commit();
    return std::nullopt;
}

void PageStore::writeClinic(int id, bool closed)
{
    store::WriteTransaction tx(m_db);
    const auto rec = m_db.selectOneForUpdate(
        QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = ?").arg(q("Clinic"), q("CalDate"), q(store::tables::Appt), q("ID")),
        {id});
    if (!rec || m_db.update(store::tables::Appt, id, {{"Clinic", closed}, {"CColor", "0"}}) == 0)
        throw pageGone();
    store::Edit edit{PageKind, Database::toDate(rec->value(1)), {}};
    edit.add(QStringLiteral("Clinic"), Database::toBool(rec->value(0)), closed);
    store::ChangeLog::append(m_db, edit, QStringLiteral("closed day"));
    announcePage(m_db, Database::toDate(rec->value(1)));
    tx.commit();
}

QString cellLabel(const PageLayout &l, int row, int col)
{
    QString time;
    if (row >= FirstTimeRow && row <= l.lastTimeRow())
        time = page::formatTime(l.times[static_cast<size_t>(row - FirstTimeRow)]);
    else
        time = row < FirstTimeRow ? QStringLiteral("line above") : QStringLiteral("line below");
    const QString name = textCol(col) >= 0 && textCol(col) < l.names.size() ? l.names[textCol(col)].trimmed() : QString();
    return time + QLatin1Char('\t') + (name.isEmpty() ? QString::number(col) : name);
}

bool hasPaintedCells(const QString &ccolor)
{
    for (int v : decodeColors(ccolor))
        if (v != 0 && v != DefaultCellColor)
            return true;
    return false;
}

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
    QString escaped;
    for (const QChar ch : best) {
        if (ch == QLatin1Char('!') || ch == QLatin1Char('%') || ch == QLatin1Char('_'))
            escaped += QLatin1Char('!');
        escaped += ch;
    }
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

} // namespace

namespace {

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
    // A name on most pages is read faster by one pass over every page than
    // page by page: past a third of the pages the index stops and the scan
    // answers.
    QString sql = QStringLiteral("SELECT COUNT(*) FROM %1 WHERE 1 = 1").arg(q(store::tables::Appt));
    QVariantList binds;
    if (from.isValid()) {
        sql += QStringLiteral(" AND %1 >= ?").arg(q("CalDate"));
        binds << Database::toSql(from);
    }
    if (to.isValid()) {
        sql += QStringLiteral(" AND %1 <= ?").arg(q("CalDate"));
        binds << Database::toSql(to);
    }
    const size_t most = std::max<size_t>(m_db.scalar(sql, binds).toULongLong() / 3, DatesPerRead);
    auto dates = store::SearchIndex::pagesWith(m_db, from, to, needle, most);
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

std::vector<PageRecord> PageStore::pagesContaining(const QDate &from, const QDate &to, const QString &needle,
                                                   bool latestFirst, int limit) const
{
    const QString columns = QStringLiteral("%1, %2, %3, %4, %5, %6, %7, %8")
                                .arg(q("ID"), q("CalDate"), q("Data"), q("open"), q("Close"), q("timeslot"),
                                     q("Listno"), q("names"));
    std::vector<PageRecord> out;
    if (auto dates = needle.isEmpty() ? std::nullopt : indexedDates(from, to, needle)) {
        if (limit > 0 && dates->size() > static_cast<size_t>(limit))
            dates->erase(latestFirst ? dates->begin() : dates->begin() + limit,
                         latestFirst ? dates->end() - limit : dates->end());
        for (const QSqlRecord &r : pagesOn(m_db, columns, *dates, latestFirst))
            out.push_back(fromRecord(r));
        return out;
    }
    QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE 1 = 1").arg(columns, q(store::tables::Appt));
    QVariantList binds;
    if (from.isValid()) {
        sql += QStringLiteral(" AND %1 >= ?").arg(q("CalDate"));
        binds << Database::toSql(from);
    }
    if (to.isValid()) {
        sql += QStringLiteral(" AND %1 <= ?").arg(q("CalDate"));
        binds << Database::toSql(to);
    }
    if (const auto pattern = likePattern(needle)) {
        sql += QStringLiteral(" AND %1 %2 ? ESCAPE '!'").arg(q("Data"), m_db.dialect().like());
        binds << *pattern;
    }
    sql += QStringLiteral(" ORDER BY %1%2").arg(q("CalDate"), latestFirst ? QStringLiteral(" DESC") : QString());
    if (limit > 0)
        sql += QStringLiteral(" LIMIT %1").arg(limit);   // a number of ours, not a typed value
    for (const QSqlRecord &r : m_db.select(sql, binds))
        out.push_back(fromRecord(r));
    return out;
}

void PageStore::forEachPageContaining(const QDate &from, const QDate &to, const QString &needle,
                                      const std::function<void(const PageRecord &)> &each) const
{
    const QString columns = QStringLiteral("%1, %2, %3, %4, %5, %6, %7, %8")
                                .arg(q("ID"), q("CalDate"), q("Data"), q("open"), q("Close"), q("timeslot"),
                                     q("Listno"), q("names"));
    if (const auto dates = needle.isEmpty() ? std::nullopt : indexedDates(from, to, needle)) {
        for (size_t i = 0; i < dates->size(); i += DatesPerRead) {
            const auto first = dates->begin() + static_cast<std::ptrdiff_t>(i);
            const std::vector<QDate> some(first, first + static_cast<std::ptrdiff_t>(
                                                             std::min<size_t>(DatesPerRead, dates->size() - i)));
            for (const QSqlRecord &r : pagesOn(m_db, columns, some, false))
                each(fromRecord(r));
        }
        return;
    }
    QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE 1 = 1").arg(columns, q(store::tables::Appt));
    QVariantList binds;
    if (from.isValid()) {
        sql += QStringLiteral(" AND %1 >= ?").arg(q("CalDate"));
        binds << Database::toSql(from);
    }
    if (to.isValid()) {
        sql += QStringLiteral(" AND %1 <= ?").arg(q("CalDate"));
        binds << Database::toSql(to);
    }
    if (const auto pattern = likePattern(needle)) {
        sql += QStringLiteral(" AND %1 %2 ? ESCAPE '!'").arg(q("Data"), m_db.dialect().like());
        binds << *pattern;
    }
    sql += QStringLiteral(" ORDER BY %1").arg(q("CalDate"));
    m_db.forEachRow(sql, binds, [&](const QSqlQuery &row) { each(fromRecord(row.record())); });
}

PageStore::SeriesWrite PageStore::writeCellSeries(const std::vector<QDate> &dates, int row, int col,
                                                  const QString &text, int color, const CellCheck &mayWrite)
{
    SeriesWrite out;
    const QString cell = page::cleanCell(text);
    store::WriteTransaction tx(m_db);
    for (const QDate &date : dates) {
        const auto rec = m_db.selectOneForUpdate(
            QStringLiteral("SELECT %1, %2, %3 FROM %4 WHERE %5 = ?")
                .arg(q("ID"), q("Data"), layoutColumns(), q(store::tables::Appt), q("CalDate")),
            {date});
        if (!rec)
            throw pageGone();
        const PageLayout l = layoutFrom(*rec, 2);
        if (row < FreeRow || row >= l.rows() || col < FirstCol || col >= l.columns) {
            out.outside = date;
            out.edits.clear();
            return out;   // the transaction rolls back
        }
        const QString stored = rec->value(1).toString();
        page::Cells cells = page::decode(stored);
        const QString now = page::cellAt(cells, row, col);
        if (!mayWrite(date, now)) {
            out.refused = date;
            out.refusedText = now;
            out.edits.clear();
            return out;   // the transaction rolls back
        }
        page::setCellAt(cells, row, col, cell);
        const QString written = page::encode(cells);
        if (written != stored) {
            m_db.update(store::tables::Appt, rec->value(0), {{"Data", written}});
            reindex(m_db, date, stored, written);
        }
        store::Edit &edit = out.edits.emplace_back();
        edit.kind = PageKind;
        edit.key = date;
        const QString label = cellLabel(l, row, col);
        edit.add(cellField(row, col), now, cell, label);
        if (row < FirstTimeRow)
            continue;   // the free row above the times has no colour
        const auto colours = m_db.selectOneForUpdate(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = ?")
                                                         .arg(q("ID"), q("CColor"), q(store::tables::Color), q("caldate")),
                                                     {date});
        if (!colours)
            throw coloursGone();
        const int perColumn = colorRow(l.rows());
        std::vector<int> values =
            shownColors(colours->value(1).toString(), static_cast<size_t>(textCol(l.columns) * perColumn));
        int &v = values[static_cast<size_t>(textCol(col) * perColumn + colorRow(row))];
        edit.add(cellField(row, col) + QStringLiteral(" colour"), v, color, label);
        v = color;
        m_db.update(store::tables::Color, colours->value(0), {{"CColor", encodeColors(values)}});
    }
    store::ChangeLog::append(m_db, out.edits, QStringLiteral("series of %1").arg(dates.size()));
    for (const QDate &date : dates)
        announcePage(m_db, date);
    tx.commit();
    out.written = true;
    return out;
}

namespace {

// The page condition of "empty", as SQL over one tbl_Appt row.
QString emptyPageCondition()
{
    return QStringLiteral("COALESCE(%1, '') = '' AND COALESCE(%2, '') = COALESCE(%3, '')")
        .arg(q("Memo"), q("Data"), q("BlankPage"));
}

QVariantList idsFrom(const std::vector<QSqlRecord> &rows)
{
    QVariantList ids;
    ids.reserve(static_cast<qsizetype>(rows.size()));
    for (const QSqlRecord &r : rows)
        ids << r.value(0);
    return ids;
}

// Deletes one page if it is still empty when the write lock is held: another
// station may have booked into it since the pages were listed.
bool removeIfEmpty(Database &db, const QVariant &id)
{
    store::WriteTransaction tx(db);
    const auto found = db.selectOneForUpdate(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = ? AND %5")
                                        .arg(q("CalDate"), q("Data"), q(store::tables::Appt), q("ID"), emptyPageCondition()),
                                    {id});
    if (!found)
        return false;
    const QVariant date = Database::toSql(Database::toDate(found->value(0)));
    const auto colours = db.select(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                                       .arg(q("CColor"), q(store::tables::Color), q("caldate")),
                                   {date});
    for (const QSqlRecord &c : colours)
        if (hasPaintedCells(c.value(0).toString()))
            return false;
    db.remove(store::tables::Appt, id);
    reindex(db, Database::toDate(found->value(0)), found->value(1).toString(), QString());
    // A colour record left behind would be taken up by the page made anew,
    // laid out for the old columns and rows.
    db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(q(store::tables::Color), q("caldate")), {date});
    store::Edit edit{PageKind, Database::toDate(found->value(0)), {}};
    edit.add(QStringLiteral("Data"), found->value(1).toString(), QVariant());
    store::ChangeLog::append(db, edit, QStringLiteral("empty page removed"));
    announcePage(db, Database::toDate(found->value(0)));
    tx.commit();
    return true;
}

} // namespace

int PageStore::removeEmptyPages()
{
    const QVariantList ids = idsFrom(
        m_db.select(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %1 DESC")
                        .arg(q("ID"), q(store::tables::Appt), emptyPageCondition())));
    int removed = 0;
    for (const QVariant &id : ids) {
        try {
            if (removeIfEmpty(m_db, id))
                ++removed;
        } catch (const DbError &) {
            // Skipped: the page keeps its old layout.
        }
    }
    return removed;
}

int PageStore::recolumnPages(const QDate &from, int listno, const QString &names)
{
    const QVariantList ids = idsFrom(
        m_db.select(QStringLiteral("SELECT %1 FROM %2 WHERE %3 >= ? ORDER BY %1 DESC")
                        .arg(q("ID"), q(store::tables::Appt), q("CalDate")),
                    {Database::toSql(from)}));
    int changed = 0;
    for (const QVariant &id : ids) {
        try {
            store::WriteTransaction tx(m_db);
            const auto rec = m_db.selectOneForUpdate(QStringLiteral("SELECT %1, %2, %3 FROM %4 WHERE %5 = ?")
                                                         .arg(q("CalDate"), q("Listno"), q("names"),
                                                              q(store::tables::Appt), q("ID")),
                                                     {id});
            if (!rec)
                continue;
            changed += m_db.update(store::tables::Appt, id,
                                   {{QStringLiteral("Listno"), listno}, {QStringLiteral("names"), names}});
            store::Edit edit{PageKind, Database::toDate(rec->value(0)), {}};
            edit.add(QStringLiteral("Listno"), rec->value(1).toInt(), listno);
            edit.add(QStringLiteral("names"), rec->value(2).toString(), names);
            store::ChangeLog::append(m_db, edit, QStringLiteral("columns changed"));
            tx.commit();
        } catch (const DbError &) {
            // Skipped: a page another station holds keeps its old columns.
        }
    }
    return changed;
}

} // namespace book
