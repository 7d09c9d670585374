#include "report/core/printwords.h"

namespace report::printwords {

QString sentTo(const QString &printer, int sheets)
{
    return QStringLiteral("Sent to %1 (%2).")
        .arg(printer, sheets == 1 ? QStringLiteral("1 sheet") : QStringLiteral("%1 sheets").arg(sheets));
}

QString noPrinter(const QString &what)
{
    return QStringLiteral("No printer is installed. Add a printer to this computer and print again, or use Save "
                          "as PDF to keep the %1 as a file.")
        .arg(what);
}

QString unreachable(const QString &printer)
{
    return QStringLiteral("The printer %1 cannot be reached. Check that it is switched on and connected, or "
                          "choose another printer, then print again.")
        .arg(printer);
}

QString refused(const QString &printer, const QString &what, const QString &reason)
{
    QString said = reason.trimmed();
    if (!said.endsWith(QLatin1Char('.')))
        said += QLatin1Char('.');
    return QStringLiteral("The printer %1 did not take the %2. Check that it is switched on, has paper and is not "
                          "paused, or choose another printer, then print again.\n\nThe printer said: %3")
        .arg(printer, what, said);
}

QString saved(const QString &what, const QString &path)
{
    return QStringLiteral("The %1 has been saved as %2").arg(what, path);
}

QString notSaved(const QString &what, const QString &path)
{
    return QStringLiteral("The %1 could not be saved as %2. Choose another folder or name, then save again.")
        .arg(what, path);
}

} // namespace report::printwords
