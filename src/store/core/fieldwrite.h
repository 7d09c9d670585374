#pragma once

#include "store/core/edit.h"

#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace store {

class Database;

// One field a station writes: the text it read there and the text it wants.
struct FieldWrite {
    QString field;
    QString read;
    QString value;
};

// What a guarded write of one record did.
struct GuardedWrite {
    bool found = false;        // false: the record is gone, nothing written
    QStringList contested;     // fields another station changed since they were read: not written
    Edit edit;                 // the fields written, stored value before and after
    QSqlRecord after;          // the record as stored once the write is done
};

// Inside the caller's write transaction: reads the record locked and writes
// each field whose stored text is still the one this station read (or
// already the one it wants). A field another station changed meanwhile is
// left as that station stored it and named in `contested`; every other
// field is written, since stations that edit different fields of a record
// never erase each other's work.
GuardedWrite writeFields(Database &db, const QString &table, const QVariant &key,
                         const std::vector<FieldWrite> &writes, const QString &kind);

// Inside the caller's write transaction: the record read locked (nullopt
// when it is gone), and whether each of `read`'s fields still holds that text.
struct LockedRecord {
    bool found = false;
    bool unchanged = true;
    QSqlRecord record;
};
LockedRecord readLocked(Database &db, const QString &table, const QVariant &key, const QVariantMap &read = {});

// What a guarded delete of one record did.
enum class Removal {
    Removed,
    Protected,  // a protected sample record: kept
    Changed,    // another station changed it since it was read: kept
    Gone,       // already deleted
};
struct GuardedRemove {
    Removal outcome = Removal::Gone;
    Edit edit;                 // every field's value before, and none after
};
// Deletes the record, in a write transaction of its own, only while each of
// `read`'s fields still holds what this station read there.
GuardedRemove removeIfUnchanged(Database &db, const QString &table, const QVariant &key, const QVariantMap &read,
                                const QString &kind);

// A stored value as the boxes show it: a null value is empty text.
QString storedText(const QVariant &value);

} // namespace store
