#include "invoiceprint/core/sampleinvoice.h"

#include "invoiceprint/core/margins.h"
#include "invoiceprint/core/printsetupcontroller.h"

#include "report/core/reporter.h"
#include "store/core/database.h"
#include "store/core/dberror.h"
#include "store/core/recordsource.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"
#include "ui/core/services.h"

#include <QDir>

namespace invoiceprint {

std::optional<int> firstInvoice(store::Database &db, const QString &source)
{
    store::RecordSource rs(db);
    rs.bind(source);
    if (rs.recordCount() == 0)
        return std::nullopt;
    rs.moveFirst();
    return rs.value(QStringLiteral("Invoice")).toInt();
}

std::optional<int> sampleInvoice(ui::Services &services, const QString &source, const QString &caption,
                                 const QString &errorTitle)
{
    std::optional<int> invoice;
    try {
        invoice = firstInvoice(services.db, source);
    } catch (const store::DbError &e) {
        services.prompter.message(e.numbered(), errorTitle);
        return std::nullopt;
    }
    if (!invoice) {
        services.prompter.message(NoInvoice, caption, ui::Icon::Information);
        return std::nullopt;
    }
    services.state.currentInvoiceNo = *invoice;
    return invoice;
}

report::ReportSettings sampleSettings(const ui::Places &places, const QString &file, int dataFiles,
                                      int invoice, int destination)
{
    const QString app = QDir::toNativeSeparators(places.data());
    report::ReportSettings s;
    s.dataDir = places.data();
    s.programFiles = places.programFiles();
    s.reportFile = app + file;
    for (int i = 0; i < dataFiles && i < int(s.dataFiles.size()); ++i)
        s.dataFiles[size_t(i)] = app + QStringLiteral("\\db.mdb");
    s.selectionFormula = QStringLiteral("{tbl_Accounts.Invoice}=%1").arg(invoice);
    s.destination = destination;
    return s;
}

std::optional<report::ReportSettings> marginSample(ui::Services &services, const SampleRun &run,
                                                   const SampleMargins &margins, int destination)
{
    if (const auto why = refusal(margins.top, margins.left, margins.bottom, margins.right)) {
        services.prompter.message(*why, run.caption, ui::Icon::Warning);
        return std::nullopt;
    }
    const auto invoice = sampleInvoice(services, run.source, run.caption, PrintSetupController::SaveTitle);
    if (!invoice)
        return std::nullopt;
    report::ReportSettings s = sampleSettings(services.state.places, run.file, run.dataFiles, *invoice, destination);
    // Print places the page as Preview showed it.
    s.marginTop = twips(margins.top);
    s.marginLeft = twips(margins.left);
    if (margins.bottom)
        s.marginBottom = twips(*margins.bottom);
    if (margins.right)
        s.marginRight = twips(*margins.right);
    return s;
}

void runWithRetry(ui::Services &services, report::Reporter &reporter,
                  const std::function<std::optional<report::ReportSettings>()> &prepare,
                  const std::function<void(bool)> &busy)
{
    for (;;) {
        // Whatever prepare says is said before the busy pointer shows.
        std::optional<report::ReportSettings> s = prepare();
        if (!s)
            return;
        busy(true);
        const report::RunResult r = reporter.run(*s);
        busy(false);
        if (r.ok)
            return;
        if (!services.prompter.ask(r.description + QStringLiteral(". Retry?"), QString(), ui::Icon::Question))
            return;
    }
}

} // namespace invoiceprint
