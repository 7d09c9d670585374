#include "book/pages/pagestore.h"

#include "book/pages/pagegrid.h"
#include "book/pages/pagerows.h"
#include "store/core/changelog.h"
#include "store/core/database.h"
#include "store/core/settings.h"
#include "store/core/schema.h"

#include <QSqlRecord>
#include <QVariantList>
#include <algorithm>
#include <set>

namespace book {

using namespace pos;
using namespace rows;

using store::Database;
using store::DbError;

namespace {

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

} // namespace book
