#include "store/core/dberror.h"

#include <QSqlError>
#include <QStringList>

namespace store {

DbError::DbError(int number, const QString &description)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description)
{
}

DbError DbError::from(const QSqlError &error, const QString &context)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text();
    const QString code = error.nativeErrorCode();
    // A server's error: a five-character SQLSTATE, and a text that starts
    // with its severity and goes on with the statement's position.
    const bool server = code.size() == 5;
    if (server) {
        text = text.split(QLatin1Char('\n')).first().trimmed();
        for (const char *severity : {"ERROR:", "FATAL:"})
            if (text.startsWith(QLatin1String(severity)))
                text = text.mid(static_cast<int>(qstrlen(severity))).trimmed();
    }
    if (!context.isEmpty())
        text = context + QStringLiteral(": ") + text;
    // Map the engine's codes onto the numbers users see for the same kind of
    // trouble: locked by another station, duplicate key.
    if (server) {
        if (code == QLatin1String("23505"))   // unique violation
            return DbError(Duplicate, text);
        if (code == QLatin1String("55P03") || code == QLatin1String("40001") ||
            code == QLatin1String("40P01"))   // lock timeout, serialization, deadlock
            return DbError(Busy, text);
        if (code == QLatin1String("53100"))   // disk full
            return DbError(DiskFull, text);
        if (code == QLatin1String("25006") || code == QLatin1String("42501"))   // read-only, no privilege
            return DbError(ReadOnly, text);
        return DbError(General, text);
    }
    bool ok = false;
    const int native = code.toInt(&ok);
    if (ok) {
        switch (native & 0xFF) {
        case 5:  // SQLITE_BUSY
        case 6:  // SQLITE_LOCKED
            return DbError(Busy, text);
        case 19: // SQLITE_CONSTRAINT
            return DbError(Duplicate, text);
        default:
            return DbError(native, text);
        }
    }
    return DbError(General, text);
}

QString DbError::numbered() const
{
    return QString::number(m_number) + QLatin1Char(' ') + m_description;
}

DbError DbError::restored()
{
    return DbError(Restored, QStringLiteral("The data was restored from a backup at another station after this "
                                            "window read it, so nothing was written."));
}

DbTrouble troubleOf(const DbError &error)
{
    switch (error.number()) {
    case DbError::Busy: return DbTrouble::Busy;
    case DbError::Restored: return DbTrouble::Restored;
    case DbError::NoCurrentRecord: return DbTrouble::Gone;
    default: break;
    }
    if (error.number() >= DbError::General)
        return DbTrouble::Other;   // our own numbers
    // The embedded engine's result codes (an extended code keeps its primary
    // code in the low byte).
    switch (error.number() & 0xFF) {
    case 13: return DbTrouble::DiskFull;   // SQLITE_FULL
    case 3:                                // SQLITE_PERM
    case 8:                                // SQLITE_READONLY
    case 10:                               // SQLITE_IOERR: the file or its journal cannot be written
    case 14:                               // SQLITE_CANTOPEN: no journal can be made beside the file
        return DbTrouble::Unwritable;
    default: return DbTrouble::Other;
    }
}

} // namespace store
