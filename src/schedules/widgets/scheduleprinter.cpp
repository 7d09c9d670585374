#include "schedules/widgets/scheduleprinter.h"

#include "report/core/printwords.h"
#include "report/widgets/sheetprinters.h"

#include <QDir>

namespace schedules {

using report::SheetJob;

namespace words = report::printwords;

const QString SchedulePrinter::NoPrinter = words::noPrinter(QStringLiteral("schedule"));

namespace {

const QString What = QStringLiteral("schedule");

std::function<QPrinterInfo()> &lookup()
{
    static std::function<QPrinterInfo()> f = [] { return QPrinterInfo::defaultPrinter(); };
    return f;
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
            return {false, words::PrintTitle, NoPrinter, ui::Icon::Warning};
        [[fallthrough]];
    case SheetJob::Failure::Unusable:
    case SheetJob::Failure::NotStarted:
        return {false, words::PrintTitle, words::unreachable(done.printer.isEmpty() ? printerName : done.printer),
                ui::Icon::Warning};
    case SheetJob::Failure::Refused:
        return {false, words::PrintTitle, words::refused(done.printer, What, done.reason), ui::Icon::Warning};
    }
    if (!drawn.ok)
        return drawFailure(drawn);
    return {true, words::PrintTitle, words::sentTo(done.printer, done.sheets), ui::Icon::Information};
}

SchedulePrinter::Outcome SchedulePrinter::toPdf(SchedulePrint &job, const QString &path)
{
    report::PdfSheetPrinter printer(path);
    DrawResult drawn;
    printer.print(job.title(), job.orientation() == SchedulePrint::Landscape,
                  [&](ui::OutputSurface &out) { drawn = job.drawPrint(out); });
    const QString file = QDir::toNativeSeparators(printer.lastJob().printer);
    if (printer.lastJob().failure != SheetJob::Failure::None)
        return {false, words::PdfTitle, words::notSaved(What, file), ui::Icon::Warning};
    if (!drawn.ok)
        return drawFailure(drawn);
    return {true, words::PdfTitle, words::saved(What, file), ui::Icon::Information};
}

} // namespace schedules
