#include "schedules/widgets/scheduleprinter.h"

#include "report/widgets/sheetprinters.h"

namespace schedules {

const QString SchedulePrinter::NoPrinter = QStringLiteral(
    "No printer is installed. Add a printer to this computer and print again, or use Save as PDF to "
    "keep the schedule as a file.");

namespace {

std::function<QPrinterInfo()> &lookup()
{
    static std::function<QPrinterInfo()> f = [] { return QPrinterInfo::defaultPrinter(); };
    return f;
}

DrawResult run(ui::SheetPrinter &printer, SchedulePrint &job, int failure)
{
    DrawResult drawn;
    const QString error = printer.print(job.title(), job.orientation() == SchedulePrint::Landscape,
                                        [&](ui::OutputSurface &out) { drawn = job.drawPrint(out); });
    if (error == report::DefaultSheetPrinter::NoPrinter)
        return DrawResult{false, failure, SchedulePrinter::NoPrinter};
    if (!error.isEmpty())
        return DrawResult{false, failure, error};
    return drawn;
}

} // namespace

void SchedulePrinter::setDefaultPrinterLookup(std::function<QPrinterInfo()> f)
{
    lookup() = f ? std::move(f) : [] { return QPrinterInfo::defaultPrinter(); };
}

DrawResult SchedulePrinter::print(SchedulePrint &job)
{
    report::DefaultSheetPrinter printer(lookup());
    return run(printer, job, PrinterError);
}

DrawResult SchedulePrinter::toPdf(SchedulePrint &job, const QString &path)
{
    report::PdfSheetPrinter printer(path);
    return run(printer, job, FileError);
}

} // namespace schedules
