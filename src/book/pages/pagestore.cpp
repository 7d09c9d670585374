#include "book/core/pagestore.h"

#include "store/core/settings.h"
#include "store/core/database.h"
#include "store/core/pagetext.h"
#include "store/core/schema.h"

#include <QSqlRecord>

namespace book {

using store::Database;
using store::DbError;
using store::Dialect;

namespace {

QString q(const QString &id)
{
    return Dialect::quote(id);
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
        throw DbError(DbError::NoCurrentRecord,
                      QStringLiteral("The page has been removed by another station."));
    PageRecord p = fromRecord(*r);
    attachColors(m_db, p);
    return p;
}

PageRecord PageStore::seek(const QDate &date, const store::Settings &s)
{
    PageRecord found = find(date);
    if (found.id != 0 && found.colorId != 0)
        return found;

    store::WriteTransaction tx(m_db);
    // Look again inside the write lock: another station may just have made it.
    PageRecord p = find(date);
    bool created = false;
    if (p.id == 0) {
        const int dow = date.dayOfWeek();
        const QString tmpl = s.templateFor(dow);
        m_db.insert(store::tables::Appt, {{"CalDate", date},
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
        created = true;
    }
    if (p.colorId == 0 &&
        !m_db.selectOne(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                            .arg(q("ID"), q(store::tables::Color), q("caldate")),
                        {date})) {
        m_db.insert(store::tables::Color, {{"caldate", date}, {"CColor", "0"}, {"Spare", "0"}});
    }
    tx.commit();
    p = find(date);
    p.created = created;
    return p;
}

PageStore::CellWrite PageStore::writeCells(int id, const CellChanges &changes, const CellChanges *expected)
{
    CellWrite out;
    store::WriteTransaction tx(m_db);
    const auto rec = m_db.selectOne(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(q("Data"), q(store::tables::Appt), q("ID")), {id});
    if (!rec)
        throw DbError(DbError::NoCurrentRecord,
                      QStringLiteral("The page has been removed by another station."));
    const QString stored = rec->value(0).toString();
    store::page::Cells cells = store::page::decode(stored);
    if (expected) {
        for (const auto &[pos, text] : *expected)
            if (store::page::cellAt(cells, pos.first, pos.second) != text)
                out.changed.push_back(pos);
        if (!out.changed.empty()) {
            out.conflict = true;
            out.storedText = stored;
            return out;   // the transaction rolls back
        }
    }
    for (const auto &[pos, text] : changes) {
        const auto [r, c] = pos;
        if (r < 2 || c < 1)
            continue;
        const size_t ri = static_cast<size_t>(r - 2);
        if (cells.size() <= ri)
            cells.resize(ri + 1);
        QStringList &row = cells[ri];
        while (row.size() < c)
            row << QString();
        row[c - 1] = store::page::cleanCell(text);
    }
    out.storedText = store::page::encode(cells);
    if (out.storedText != stored)
        m_db.update(store::tables::Appt, id, {{"Data", out.storedText}});
    tx.commit();
    return out;
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

PageStore::ColorWrite PageStore::writeColors(int colorId, int columns, int rows, const ColorChanges &changes,
                                             const QString *expected)
{
    ColorWrite out;
    store::WriteTransaction tx(m_db);
    const auto rec = m_db.selectOne(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(q("CColor"), q(store::tables::Color), q("ID")),
        {colorId});
    if (!rec)
        throw DbError(DbError::NoCurrentRecord,
                      QStringLiteral("The page's colour record has been removed by another station."));
    const int perColumn = std::max(rows - 3, 0);
    const size_t total = static_cast<size_t>(std::max(columns - 1, 0) * perColumn);
    const auto indexOf = [perColumn](int r, int c) { return static_cast<size_t>((c - 1) * perColumn + (r - 3)); };
    const auto inside = [rows, columns](int r, int c) { return r >= 3 && r < rows && c >= 1 && c < columns; };
    // "0" (nothing stored) and lists of another shape become a full list;
    // cells without a stored colour hold 0, the grid's default.
    std::vector<int> values = decodeColors(rec->value(0).toString());
    values.resize(total, 0);
    if (expected) {
        std::vector<int> shown = decodeColors(*expected);
        shown.resize(total, 0);
        for (const auto &[pos, color] : changes)
            if (inside(pos.first, pos.second) && values[indexOf(pos.first, pos.second)] != shown[indexOf(pos.first, pos.second)])
                out.changed.push_back(pos);
        if (!out.changed.empty()) {
            out.storedText = rec->value(0).toString();
            return out;   // the transaction rolls back
        }
    }
    for (const auto &[pos, color] : changes)
        if (inside(pos.first, pos.second))
            values[indexOf(pos.first, pos.second)] = color;
    out.storedText = encodeColors(values);
    m_db.update(store::tables::Color, colorId, {{"CColor", out.storedText}});
    tx.commit();
    return out;
}

std::optional<QString> PageStore::writeMemo(int id, const QString &memo, const QString *expected)
{
    store::WriteTransaction tx(m_db);
    const auto rec = m_db.selectOne(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(q("Memo"), q(store::tables::Appt), q("ID")), {id});
    if (!rec)
        throw DbError(DbError::NoCurrentRecord,
                      QStringLiteral("The page has been removed by another station."));
    const QString stored = rec->value(0).toString();
    if (expected && stored != *expected)
        return stored;   // the transaction rolls back
    m_db.update(store::tables::Appt, id, {{"Memo", memo}});
    tx.commit();
    return std::nullopt;
}

void PageStore::writeClinic(int id, bool closed)
{
    store::WriteTransaction tx(m_db);
    if (m_db.update(store::tables::Appt, id, {{"Clinic", closed}, {"CColor", "0"}}) == 0)
        throw DbError(DbError::NoCurrentRecord,
                      QStringLiteral("The page has been removed by another station."));
    tx.commit();
}

} // namespace book
