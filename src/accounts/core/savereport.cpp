#include "accounts/core/savereport.h"

#include <QStringList>
#include <algorithm>

namespace accounts {

namespace {

QString shown(const QString &text) { return text.trimmed().isEmpty() ? QStringLiteral("(blank)") : text; }

} // namespace

QString conflictMessage(const QString &record, const std::vector<TypedEntry> &entries)
{
    const bool someSaved = std::any_of(entries.begin(), entries.end(), [](const TypedEntry &e) { return !e.contested; });
    QString text = QStringLiteral("Another station changed this %1 while you were editing it, ").arg(record);
    text += someSaved ? QStringLiteral("so your entries in the boxes it also changed were not saved; "
                                       "your other entries were saved.")
                      : QStringLiteral("so your changes were not saved.");
    text += QStringLiteral(" The %1 is shown as it is stored now, and what was not saved is still in its box: "
                           "save again to store it over the other station's entry.\n\nYour entries:")
                .arg(record);
    for (const TypedEntry &e : entries) {
        text += QLatin1Char('\n') + e.label + QLatin1Char(' ') + shown(e.typed);
        text += e.contested ? QStringLiteral("   (not saved; stored now: %1)").arg(shown(e.storedNow))
                            : QStringLiteral("   (saved)");
    }
    return text;
}

} // namespace accounts
