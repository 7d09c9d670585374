#include "accounts/core/recordhistory.h"

#include "store/core/database.h"
#include "store/core/dberror.h"
#include "ui/core/prompter.h"
#include "ui/core/services.h"
#include "ui/core/textdelivery.h"

#include <QLocale>

namespace accounts {

namespace {

const QString Crlf = QStringLiteral("\r\n");

} // namespace

QString historyReport(const QString &title, const std::vector<store::LogEntry> &entries)
{
    QString out = title + Crlf + Crlf;
    if (entries.empty())
        return out + QStringLiteral("  No changes are recorded.") + Crlf;
    const QLocale locale;
    for (const store::LogEntry &e : entries) {
        out += QStringLiteral("  %1  %2 (%3)  %4")
                   .arg(locale.toString(e.at, QStringLiteral("MM/dd/yyyy hh:mm:ss AP")), e.station, e.user, e.command) +
               Crlf;
        for (const store::FieldChange &c : e.changes)
            out += QStringLiteral("      %1: \"%2\" -> \"%3\"")
                       .arg(c.field, store::ChangeLog::shown(c.before), store::ChangeLog::shown(c.after)) +
                   Crlf;
    }
    return out;
}

void showHistory(ui::Services &services, const QString &kind, int key, const QString &title)
{
    if (key <= 0)
        return;
    QString text;
    try {
        text = historyReport(title, store::ChangeLog::forRecord(services.db, kind, QString::number(key)));
    } catch (const store::DbError &e) {
        services.prompter.message(e.numbered(), QStringLiteral("History"), ui::Icon::Critical);
        return;
    }
    ui::deliverText(services, QStringLiteral("History"), text);
}

} // namespace accounts
