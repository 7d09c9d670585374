#include "report/widgets/cupsjob.h"

#include <cups/cups.h>

namespace report {

QString lastJobRefusal()
{
    // Statuses below 0x0100 are the successful ones.
    if (cupsLastError() < IPP_STATUS_REDIRECTION_OTHER_SITE)
        return QString();
    const char *why = cupsLastErrorString();
    if (why && *why)
        return QString::fromUtf8(why);
    return QStringLiteral("CUPS status %1").arg(int(cupsLastError()), 4, 16, QLatin1Char('0'));
}

} // namespace report
