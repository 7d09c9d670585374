#pragma once

// What the summary list's files share in building their statements.

#include "accounts/core/accountfields.h"
#include "store/core/dialect.h"

#include <QSqlRecord>
#include <QStringList>

namespace accounts::summarysql {

using store::Dialect;
namespace f = invoice::field;

inline QString col(const QString &name) { return Dialect::quote(name); }
inline QString text(const QSqlRecord &r, int i) { return r.isNull(i) ? QString() : r.value(i).toString(); }

// Keys go to the database a bounded number at a time.
inline constexpr qsizetype KeysPerQuery = 500;

// n bound-value marks, comma separated.
inline QString marks(qsizetype n)
{
    QStringList m;
    for (qsizetype i = 0; i < n; ++i)
        m << QStringLiteral("?");
    return m.join(QStringLiteral(", "));
}

} // namespace accounts::summarysql
