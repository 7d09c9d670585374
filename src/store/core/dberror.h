#pragma once

#include <QString>
#include <stdexcept>

class QSqlError;

namespace store {

// A failed database call: the number and description the windows show in
// their "error number, blank, description" messages.
class DbError : public std::runtime_error {
public:
    DbError(int number, const QString &description);
    static DbError from(const QSqlError &error, const QString &context = QString());
    // A write refused because the data was restored from a backup after the
    // station read what it would write over.
    static DbError restored();

    int number() const { return m_number; }
    QString description() const { return m_description; }
    // "<number> <description>", the form most windows show.
    QString numbered() const;

    // Numbers of our own for failures the engine does not number.
    static constexpr int NoCurrentRecord = 3021;
    static constexpr int NoSuchField = 3265;
    static constexpr int BadCriteria = 3077;
    static constexpr int Busy = 3260;
    static constexpr int Duplicate = 3022;
    static constexpr int General = 3000;
    // The data was replaced by a restore since this station read it.
    static constexpr int Restored = 3900;
    // The embedded engine's own numbers, which a server's errors of the same
    // kind are given too.
    static constexpr int ReadOnly = 8;
    static constexpr int DiskFull = 13;

private:
    int m_number;
    QString m_description;
};

// The kind of trouble behind a database error, so that a message can name
// the real cause and what to do about it.
enum class DbTrouble {
    Busy,        // another station holds the data (lock or busy timeout)
    DiskFull,    // no room left for the change
    Unwritable,  // the file, its folder or the login takes no writes
    Gone,        // the record was removed by another station
    Restored,    // the data was restored from a backup since it was read
    Other,
};
DbTrouble troubleOf(const DbError &error);

} // namespace store
