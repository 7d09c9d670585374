#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include "store/core/schema.h"

namespace store {

// A find criteria such as  FileNo = 12 AND PLastName Like 'SM*'  turned into
// an SQL condition with every value bound. Field names must be among
// `fields` (matched without regard to case); anything else is refused.
struct Condition {
    QString sql;          // with ? for each value
    QVariantList binds;
};

class Dialect;

// Throws DbError (BadCriteria) on text it does not understand. `types`, where
// given, tells the fields' types: a yes/no field compares with True/False
// (or any number, 0 being False) as the engine keeps yes/no.
Condition parseCriteria(const QString &criteria, const QStringList &fields, const Dialect &dialect,
                        const TableDef *types = nullptr);

} // namespace store
