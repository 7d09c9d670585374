#include "accounts/core/patientstore.h"

#include "accounts/core/patientfields.h"
#include "accounts/core/patientforms.h"
#include "store/core/database.h"
#include "store/core/dialect.h"
#include "store/core/filecounts.h"
#include "store/core/schema.h"

#include <QSqlRecord>
#include <algorithm>

namespace accounts {

namespace {

using store::Dialect;
namespace f = patient::field;

QString table() { return Dialect::quote(store::tables::PatientDetails); }

} // namespace

PatientStore::PatientStore(store::Database &db)
    : RecordStore(db, store::tables::PatientDetails, Kind, patient::LastProtectedFile)
{
}

QVariantMap PatientStore::blankFile()
{
    // Empty texts rather than nulls: the file sorts and seeks like any other.
    QVariantMap values;
    for (const QString &name : patientFields())
        values.insert(name, QString(QLatin1String("")));
    return values;
}

int PatientStore::addBlank()
{
    store::WriteTransaction tx(m_db);
    const int fileNo = m_db.insert(store::tables::PatientDetails, blankFile());
    store::Edit e{Kind, fileNo, {}};
    e.add(f::FileNo, QVariant(), fileNo);
    logged(e, QStringLiteral("new file"));
    tx.commit();
    return fileNo;
}

store::GuardedWrite PatientStore::write(int fileNo, const std::vector<store::FieldWrite> &changes)
{
    store::WriteTransaction tx(m_db);
    store::GuardedWrite w = store::writeFields(m_db, store::tables::PatientDetails, fileNo, changes, Kind);
    logged(w.edit, QStringLiteral("file saved"));
    tx.commit();
    return w;
}

std::optional<int> PatientStore::seek(const QString &index, const QVariantList &keys)
{
    const store::TableDef *t = store::findTable(store::tables::PatientDetails);
    QStringList fields;
    if (index.compare(patient::index::FileNo, Qt::CaseInsensitive) == 0)
        fields = {f::FileNo};
    else if (const store::IndexDef *i = t->index(index))
        fields = i->fields;
    QStringList conds, order;
    QVariantList binds;
    for (int n = 0; n < fields.size() && n < keys.size(); ++n) {
        const QString col = Dialect::quote(fields[n]);
        const QString key = keys[n].toString();
        if (fields[n] != f::FileNo && key.isEmpty()) {
            conds << QStringLiteral("(%1 = '' OR %1 IS NULL)").arg(col);
        } else {
            conds << col + QStringLiteral(" = ?");
            binds << keys[n];
        }
        order << col;
    }
    if (conds.isEmpty())
        return std::nullopt;
    order << Dialect::quote(f::FileNo);
    const QVariant v = m_db.scalar(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4 LIMIT 1")
                                       .arg(Dialect::quote(f::FileNo), table(),
                                            conds.join(QStringLiteral(" AND ")), order.join(", ")),
                                   binds);
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    return v.toInt();
}

const QStringList &PatientStore::listFields()
{
    static const QStringList fields = [] {
        std::vector<const Labelled *> shown;
        for (const Labelled &l : patientLabels())
            if (l.listColumn > 0)
                shown.push_back(&l);
        std::sort(shown.begin(), shown.end(),
                  [](const Labelled *a, const Labelled *b) { return a->listColumn < b->listColumn; });
        QStringList out{f::FileNo};
        for (const Labelled *l : shown)
            out << l->field;
        return out;
    }();
    return fields;
}

QString PatientStore::lastNameOrder(bool backwards) const
{
    const Dialect &d = m_db.dialect();
    if (backwards)   // each term reversed: the empty names then last (the reverse of nullsFirst())
        return d.byCodes(Dialect::quote(f::LastName)) + QStringLiteral(" DESC") +
               (d.nullsFirst().isEmpty() ? QString() : QStringLiteral(" NULLS LAST")) + QStringLiteral(", ") +
               Dialect::quote(f::FileNo) + QStringLiteral(" DESC");
    return d.byCodes(Dialect::quote(f::LastName)) + d.nullsFirst() + QStringLiteral(", ") + Dialect::quote(f::FileNo);
}

bool PatientStore::counted()
{
    if (!m_counted)
        m_counted = m_db.tableExists(store::tables::FileCounts);
    return *m_counted;
}

int PatientStore::count()
{
    if (counted())
        return store::FileCounts::total(m_db);
    return m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table())).toInt();
}

std::vector<QStringList> PatientStore::select(const QString &where, const QVariantList &binds, bool backwards,
                                             int limit, int offset)
{
    QStringList cols;
    for (const QString &name : listFields())
        cols << Dialect::quote(name);
    const auto records = m_db.select(QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4 LIMIT ? OFFSET ?")
                                         .arg(cols.join(", "), table(),
                                              where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where,
                                              lastNameOrder(backwards)),
                                     binds + QVariantList{limit, offset});
    std::vector<QStringList> out;
    out.reserve(records.size());
    for (const QSqlRecord &r : records) {
        QStringList values;
        for (int i = 0; i < r.count(); ++i)
            values << (r.isNull(i) ? QString() : r.value(i).toString());
        out.push_back(values);
    }
    if (backwards)
        std::reverse(out.begin(), out.end());
    return out;
}

std::vector<QStringList> PatientStore::rows(int offset, int limit)
{
    return select({}, {}, false, limit, offset);
}

std::vector<QStringList> PatientStore::rowsNear(const Mark &mark, int first, int limit)
{
    // Each condition bounds the name alone first, so that the index is
    // entered at the mark rather than read from an end up to it.
    const QString last = m_db.dialect().byCodes(Dialect::quote(f::LastName));
    const QString file = Dialect::quote(f::FileNo);
    const int before = std::clamp(mark.row - first, 0, limit);
    std::vector<QStringList> out;
    if (before > 0) {
        out = select(QStringLiteral("%1 <= ? AND (%1 < ? OR %2 < ?)").arg(last, file),
                     {mark.lastName, mark.lastName, mark.fileNo}, true, before,
                     std::max(0, mark.row - first - limit));
        if (int(out.size()) < before)   // up into the files without a last name: the top is near
            return rows(first, limit);
    }
    if (limit > before) {
        const std::vector<QStringList> from = select(QStringLiteral("%1 >= ? AND (%1 > ? OR %2 >= ?)").arg(last, file),
                                                     {mark.lastName, mark.lastName, mark.fileNo}, false,
                                                     limit - before, std::max(0, first - mark.row));
        out.insert(out.end(), from.begin(), from.end());
    }
    return out;
}

int PatientStore::rowOfInitial(const QString &initial, std::optional<Mark> *mark, int total)
{
    if (mark)
        mark->reset();
    if (total < 0)
        total = count();
    if (total == 0)
        return -1;
    const Dialect &d = m_db.dialect();
    const QString last = d.byCodes(Dialect::quote(f::LastName));
    const QString empty = QStringLiteral("(%1 = '' OR %1 IS NULL)").arg(Dialect::quote(f::LastName));
    if (initial.isEmpty()) {
        if (counted())
            return store::FileCounts::unnamed(m_db) > 0 ? 0 : total - 1;
        const bool any = m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(table(), empty)).toInt() > 0;
        return any ? 0 : total - 1;   // empty names come first
    }
    const auto first = m_db.selectOne(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 >= ? ORDER BY %5 LIMIT 1")
                                          .arg(Dialect::quote(f::LastName), Dialect::quote(f::FileNo), table(), last,
                                               lastNameOrder()),
                                      {initial});
    if (!first || !first->value(0).toString().startsWith(initial))
        return total - 1;
    int row = 0;
    if (counted()) {
        // The counts by first character, and those of the initial's first
        // character that sort before a longer initial.
        const QString head = initial.left(1);
        row = store::FileCounts::before(m_db, head);
        if (initial.size() > 1)
            row += m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 >= ? AND %2 < ?").arg(table(), last),
                               {head, initial})
                       .toInt();
    } else {
        // Counted apart, so that each count is a range of the index.
        row = m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 < ?").arg(table(), last), {initial})
                  .toInt() +
              m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 IS NULL").arg(table(), Dialect::quote(f::LastName)))
                  .toInt();
    }
    if (mark)
        *mark = Mark{row, first->value(0).toString(), first->value(1).toInt()};
    return row;
}

} // namespace accounts
