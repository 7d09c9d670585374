#include "store/core/dberror.h"

#include <QSqlError>

namespace store {

DbError::DbError(int number, const QString &description)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description)
{
}

DbError DbError::from(const QSqlError &error, const QString &context)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    if (!context.isEmpty())
        text = context + QStringLiteral(": ") + text;
    // Map the engine's codes onto the numbers users see for the same kind of
    // trouble: locked by another station, duplicate key.
    const QString code = error.nativeErrorCode();
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
    if (code == QLatin1String("23505")) // unique violation on a server
        return DbError(Duplicate, text);
    if (code == QLatin1String("55P03") || code == QLatin1String("40001"))
        return DbError(Busy, text);
    return DbError(General, text);
}

QString DbError::numbered() const
{
    return QString::number(m_number) + QLatin1Char(' ') + m_description;
}

} // namespace store
