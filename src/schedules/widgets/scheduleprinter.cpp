#include "schedules/widgets/scheduleprinter.h"

#include "report/widgets/sheetprinters.h"

#include <QDir>

namespace schedules {

using report::SheetJob;

const QString SchedulePrinter::NoPrinter = QStringLiteral(
    "No printer is installed. Add a printer to this computer and print again, or use Save as PDF to "
    "keep the schedule as a file.");

namespace {

const QString PrintTitle = QStringLiteral("Print");
const QString PdfTitle = QStringLiteral("Save as PDF");

std::function<QPrinterInfo()> &lookup()
{
    static std::function<QPrinterInfo()> f = [] { return QPrinterInfo::defaultPrinter(); };
    return f;
}

QString sheets(int n)
{
    return n == 1 ? QStringLiteral("1 sheet") : QStringLiteral("%1 sheets").arg(n);
}

// The engine's own failure stays in its words: it is the program's fault,
// not the printer's.
SchedulePrinter::Outcome drawFailure(const DrawResult &drawn)
{
    return {false, QStringLiteral("Draw Table"), drawn.message(), ui::Icon::Critical};
}

} // namespace

void SchedulePrinter::setDefaultPrinterLookup(std::function<QPrinterInfo()> f)
{
    lookup() = f ? std::move(f) : [] { return QPrinterInfo::defaultPrinter(); };
}

QStringList SchedulePrinter::printers()
{
    return QPrinterInfo::availablePrinterNames();
}

QString SchedulePrinter::defaultPrinter()
{
    return lookup()().printerName();
}

SchedulePrinter::Outcome SchedulePrinter::print(SchedulePrint &job, const QString &printerName)
{
    report::DefaultSheetPrinter printer(printerName.isEmpty() ? lookup() : [printerName] {
        return QPrinterInfo::printerInfo(printerName);
    });
    DrawResult drawn;
    printer.print(job.title(), job.orientation() == SchedulePrint::Landscape,
                  [&](ui::OutputSurface &out) { drawn = job.drawPrint(out); });
    const SheetJob &done = printer.lastJob();
    switch (done.failure) {
    case SheetJob::Failure::None:
        break;
    case SheetJob::Failure::NoPrinter:
        if (printerName.isEmpty())
            return {false, PrintTitle, NoPrinter, ui::Icon::Warning};
        [[fallthrough]];
    case SheetJob::Failure::Unusable:
    case SheetJob::Failure::NotStarted:
        return {false, PrintTitle,
                QStringLiteral("The printer %1 cannot be reached. Check that it is switched on and connected, or "
                               "choose another printer, then print again.")
                    .arg(done.printer.isEmpty() ? printerName : done.printer),
                ui::Icon::Warning};
    case SheetJob::Failure::Refused: {
        QString said = done.reason.trimmed();
        if (!said.endsWith(QLatin1Char('.')))
            said += QLatin1Char('.');
        return {false, PrintTitle,
                QStringLiteral("The printer %1 did not take the schedule. Check that it is switched on, has paper "
                               "and is not paused, or choose another printer, then print again.\n\nThe printer "
                               "said: %2")
                    .arg(done.printer, said),
                ui::Icon::Warning};
    }
    }
    if (!drawn.ok)
        return drawFailure(drawn);
    return {true, PrintTitle, QStringLiteral("Sent to %1 (%2).").arg(done.printer, sheets(done.sheets)),
            ui::Icon::Information};
}

SchedulePrinter::Outcome SchedulePrinter::toPdf(SchedulePrint &job, const QString &path)
{
    report::PdfSheetPrinter printer(path);
    DrawResult drawn;
    printer.print(job.title(), job.orientation() == SchedulePrint::Landscape,
                  [&](ui::OutputSurface &out) { drawn = job.drawPrint(out); });
    const QString file = QDir::toNativeSeparators(printer.lastJob().printer);
    if (printer.lastJob().failure != SheetJob::Failure::None)
        return {false, PdfTitle,
                QStringLiteral("The schedule could not be saved as %1. Choose another folder or name, then save "
                               "again.")
                    .arg(file),
                ui::Icon::Warning};
    if (!drawn.ok)
        return drawFailure(drawn);
    return {true, PdfTitle, QStringLiteral("The schedule has been saved as %1").arg(file), ui::Icon::Information};
}

} // namespace schedules
