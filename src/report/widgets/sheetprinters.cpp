#include "report/widgets/sheetprinters.h"

#include "report/widgets/cupsjob.h"
#include "report/widgets/printersurface.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

namespace report {

const QString DefaultSheetPrinter::NoPrinter =
    QStringLiteral("No printer is installed. Add a printer to this computer and print again");

namespace {

QString run(QPrinter &printer, const QString &docName, bool landscape,
            const std::function<void(ui::OutputSurface &)> &draw, const QString &cannotStart, SheetJob &job)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setDocName(docName);
    printer.setCreator(QStringLiteral("Quillon"));
    PrinterSurface surface(printer);
    if (!surface.begin()) {
        job.failure = SheetJob::Failure::NotStarted;
        return cannotStart;
    }
    draw(surface);
    surface.finish();
    job.sheets = surface.pages();
    return QString();
}

} // namespace

DefaultSheetPrinter::DefaultSheetPrinter(std::function<QPrinterInfo()> lookup)
    : m_lookup(lookup ? std::move(lookup) : [] { return QPrinterInfo::defaultPrinter(); })
{
}

QString DefaultSheetPrinter::print(const QString &docName, bool landscape,
                                   const std::function<void(ui::OutputSurface &)> &draw)
{
    m_job = SheetJob{};
    const QPrinterInfo info = m_lookup();
    if (info.isNull()) {
        m_job.failure = SheetJob::Failure::NoPrinter;
        return NoPrinter;
    }
    m_job.printer = info.printerName();
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid()) {
        m_job.failure = SheetJob::Failure::Unusable;
        return QStringLiteral("The printer %1 cannot be used").arg(info.printerName());
    }
    const QString error = run(printer, docName, landscape, draw,
                              QStringLiteral("The printer %1 could not be started").arg(info.printerName()), m_job);
    if (!error.isEmpty())
        return error;
    // A paused or full queue refuses the job only once every page is painted.
    const QString refused = lastJobRefusal();
    if (!refused.isEmpty()) {
        m_job.failure = SheetJob::Failure::Refused;
        m_job.reason = refused;
        return QStringLiteral("The printer %1 did not take the job: %2").arg(info.printerName(), refused);
    }
    return QString();
}

QString PdfSheetPrinter::print(const QString &docName, bool landscape,
                               const std::function<void(ui::OutputSurface &)> &draw)
{
    m_job = SheetJob{};
    m_job.printer = QFileInfo(m_path).absoluteFilePath();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_path);
    return run(printer, docName, landscape, draw, QStringLiteral("Cannot write the file %1").arg(m_job.printer), m_job);
}

} // namespace report
