#pragma once

#include "store/core/schema.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace store {

// The few places where SQL differs between the embedded engine and a
// database server. Everything else the program sends is plain SQL.
class Dialect {
public:
    virtual ~Dialect() = default;
    static std::unique_ptr<Dialect> forDriver(const QString &driverName);

    virtual QString columnType(FieldType type) const = 0;
    // Starts a transaction that will write: takes the write lock at once, so
    // that a read-then-write never fails half way on another station's write.
    virtual QString beginWrite() const = 0;
    // Statements creating the updatable invoice query.
    virtual QStringList createQuery(const QueryDef &query) const = 0;
    // Statements run on every new connection.
    virtual QStringList connectionSetup(int busyTimeoutMs) const = 0;
    virtual QString busyTimeout(int ms) const = 0;
    virtual QString tableExists() const = 0;   // one bound parameter: the name

    static QString quote(const QString &identifier);
};

} // namespace store
