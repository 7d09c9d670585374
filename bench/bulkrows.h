#pragma once

// Large practices for the benchmarks: rows go in a few hundred to a
// statement inside the caller's transaction, so that a million invoices are
// made in seconds rather than minutes.
#include "store/core/database.h"
#include "store/core/dialect.h"
#include "store/core/schema.h"

#include <QStringList>
#include <QVariantList>
#include <functional>

namespace bench {

inline void insertRows(store::Database &db, const QString &table, const QStringList &columns, int count,
                       const std::function<QVariantList(int)> &row)
{
    const store::TableDef *t = store::findTable(table);
    std::vector<store::FieldType> types;
    QStringList quoted;
    for (const QString &c : columns) {
        types.push_back(t->field(c)->type);
        quoted << store::Dialect::quote(c);
    }
    const QString one = "(" + QStringList(columns.size(), "?").join(", ") + ")";
    const int perStatement = 400 / int(columns.size()) + 1;
    for (int first = 0; first < count; first += perStatement) {
        const int n = std::min(perStatement, count - first);
        QVariantList binds;
        for (int i = first; i < first + n; ++i) {
            const QVariantList values = row(i);
            for (qsizetype c = 0; c < values.size(); ++c)
                binds << db.dialect().bindValue(values[c], types[size_t(c)]);
        }
        db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                    .arg(store::Dialect::quote(table), quoted.join(", "), QStringList(n, one).join(", ")),
                binds);
    }
}

} // namespace bench
