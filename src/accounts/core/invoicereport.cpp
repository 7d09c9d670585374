#include "accounts/core/invoicereport.h"

#include "store/core/database.h"
#include "store/core/dialect.h"
#include "store/core/schema.h"
#include "ui/core/places.h"

#include <QSqlRecord>
#include <algorithm>
#include <cmath>

namespace accounts {

namespace {

// Margins are stored in inches; the engine takes 16-bit whole twips.
int twips(const QVariant &inches)
{
    const long v = std::lround(inches.toDouble() * 1440.0);
    return int(std::clamp(v, -32768L, 32767L));
}

} // namespace

report::ReportSettings invoiceReportSettings(store::Database &db, const ui::Places &places, int invoice,
                                             bool receipt, int destination)
{
    report::ReportSettings s;
    const QString app = places.data();
    s.dataDir = app;
    s.programFiles = places.programFiles();
    const auto rows = db.select(
        QStringLiteral("SELECT * FROM %1 ORDER BY %2 LIMIT 1")
            .arg(store::Dialect::quote(store::tables::Print), store::Dialect::quote(QStringLiteral("ID"))));
    QSqlRecord print = rows.empty() ? QSqlRecord() : rows.front();
    const auto value = [&print](const char *name) {
        for (int i = 0; i < print.count(); ++i)
            if (print.fieldName(i).compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return print.value(i);
        return QVariant();
    };
    s.marginTop = twips(value("MarginTop"));
    s.marginLeft = twips(value("MarginLeft"));
    s.marginBottom = twips(value("MarginBottom"));
    s.marginRight = twips(value("MarginRight"));
    // Nothing paid: the invoice layout ("Account"); a payment: the receipt's.
    s.reportFile = app + value(receipt ? "invoice" : "Account").toString();
    for (QString &d : s.dataFiles)
        d = app + QStringLiteral("\\db.mdb");
    s.selectionFormula = QStringLiteral("{tbl_Accounts.Invoice}=") + QString::number(invoice);
    s.destination = destination;
    return s;
}

} // namespace accounts
