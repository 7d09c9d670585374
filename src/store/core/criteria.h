#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

namespace store {

// A find criteria such as  FileNo = 12 AND PLastName Like 'SM*'  turned into
// an SQL condition with every value bound. Field names must be among
// `fields` (matched without regard to case); anything else is refused.
struct Condition {
    QString sql;          // with ? for each value
    QVariantList binds;
};

// Throws DbError (BadCriteria) on text it does not understand.
Condition parseCriteria(const QString &criteria, const QStringList &fields);

} // namespace store
