#pragma once

#include "store/core/edit.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <vector>

namespace store {

class Database;

// The command the user gave, held by the database connection while its
// writes run, so that each write path records it with what it changed
// ("Cut", "Paste", "Restore"...). Scopes nest: the outermost one names
// the command.
class CommandScope {
public:
    CommandScope(Database &db, const QString &command);
    ~CommandScope();
    CommandScope(const CommandScope &) = delete;
    CommandScope &operator=(const CommandScope &) = delete;

private:
    Database &m_db;
    bool m_outer;
};

// One recorded change of one record.
struct LogEntry {
    qint64 id = 0;
    qint64 batch = 0;        // the first entry of its command (its own id when alone)
    QDateTime at;            // local time, from the database's clock
    QString station;
    QString host;
    QString user;
    QString command;
    QString kind;
    QString key;
    std::vector<FieldChange> changes;
};

// What the change log window lists; empty texts match everything.
struct LogFilter {
    QDate from;
    QDate to;
    QString station;
    QString user;
    QString kind;
    QString key;
};

// The practice's change log (sys_ChangeLog): appended by every write path
// inside the write's own transaction, so a change and its entry are stored
// or refused together. The program never edits or deletes an entry.
class ChangeLog {
public:
    // Appends the edit (nothing when it changed nothing), stamped with the
    // database's clock, the station and the running command (`fallback`
    // outside a CommandScope). Must run inside the write transaction.
    static void append(Database &db, const Edit &edit, const QString &fallback);
    // Several records changed by one command: one entry per record, kept
    // together as one batch.
    static void append(Database &db, const std::vector<Edit> &edits, const QString &fallback);

    // Appends to `to`'s log the entries of `from`'s log after `to`'s last
    // one, with their numbers: a copy of the data (export, import, restore)
    // keeps every entry either side has, and never deletes one. Inside a
    // write transaction on `to`. Returns the entries appended.
    static int carryOver(Database &from, Database &to);
    // Records a restore in `target`'s log (the working database, or the
    // file about to replace it), as done by `working`'s station.
    static void appendRestore(Database &working, Database &target);

    // Every entry of a record, newest first.
    static std::vector<LogEntry> forRecord(Database &db, const QString &kind, const QString &key);
    // Entries of a date range (by the local day they were made), newest first.
    static std::vector<LogEntry> between(Database &db, const LogFilter &filter);
    // Station and user names that occur in the log, sorted.
    static QStringList stations(Database &db);
    static QStringList users(Database &db);

    // The stored form of a record's key and of a list of changes.
    static QString keyText(const QVariant &key);
    static QString encode(const std::vector<FieldChange> &changes);
    static std::vector<FieldChange> decode(const QString &text);
    // A logged value as the history views show it.
    static QString shown(const QVariant &value);
};

} // namespace store
