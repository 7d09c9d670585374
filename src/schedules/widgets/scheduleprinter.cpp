#include "schedules/widgets/scheduleprinter.h"

#include "report/widgets/cupsjob.h"
#include "report/widgets/printersurface.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

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

void setUp(QPrinter &printer, const SchedulePrint &job)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(job.orientation() == SchedulePrint::Landscape ? QPageLayout::Landscape
                                                                             : QPageLayout::Portrait);
    printer.setDocName(job.title());
    printer.setCreator(QStringLiteral("Quillon"));
}

DrawResult run(QPrinter &printer, SchedulePrint &job, const QString &cannotStart)
{
    report::PrinterSurface surface(printer);
    if (!surface.begin())
        return DrawResult{false, printer.outputFileName().isEmpty() ? SchedulePrinter::PrinterError
                                                                    : SchedulePrinter::FileError,
                          cannotStart};
    const DrawResult r = job.drawPrint(surface);
    surface.finish();
    return r;
}

} // namespace

void SchedulePrinter::setDefaultPrinterLookup(std::function<QPrinterInfo()> f)
{
    lookup() = f ? std::move(f) : [] { return QPrinterInfo::defaultPrinter(); };
}

DrawResult SchedulePrinter::print(SchedulePrint &job)
{
    const QPrinterInfo info = lookup()();
    if (info.isNull())
        return DrawResult{false, PrinterError, NoPrinter};
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid())
        return DrawResult{false, PrinterError,
                          QStringLiteral("The printer %1 cannot be used").arg(info.printerName())};
    setUp(printer, job);
    DrawResult r = run(printer, job, QStringLiteral("The printer %1 could not be started").arg(info.printerName()));
    if (!r.ok)
        return r;
    // A paused or full queue refuses the job only once every page is painted.
    const QString refused = report::lastJobRefusal();
    if (!refused.isEmpty())
        return DrawResult{false, PrinterError,
                          QStringLiteral("The printer %1 did not take the job: %2").arg(info.printerName(), refused)};
    return r;
}

DrawResult SchedulePrinter::toPdf(SchedulePrint &job, const QString &path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    setUp(printer, job);
    return run(printer, job, QStringLiteral("Cannot write the file %1").arg(QFileInfo(path).absoluteFilePath()));
}

} // namespace schedules
