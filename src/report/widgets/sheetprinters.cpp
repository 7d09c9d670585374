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
            const std::function<void(ui::OutputSurface &)> &draw, const QString &cannotStart)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setDocName(docName);
    printer.setCreator(QStringLiteral("Quillon"));
    PrinterSurface surface(printer);
    if (!surface.begin())
        return cannotStart;
    draw(surface);
    surface.finish();
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
    const QPrinterInfo info = m_lookup();
    if (info.isNull())
        return NoPrinter;
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid())
        return QStringLiteral("The printer %1 cannot be used").arg(info.printerName());
    const QString error =
        run(printer, docName, landscape, draw, QStringLiteral("The printer %1 could not be started").arg(info.printerName()));
    if (!error.isEmpty())
        return error;
    // A paused or full queue refuses the job only once every page is painted.
    const QString refused = lastJobRefusal();
    if (!refused.isEmpty())
        return QStringLiteral("The printer %1 did not take the job: %2").arg(info.printerName(), refused);
    return QString();
}

QString PdfSheetPrinter::print(const QString &docName, bool landscape,
                               const std::function<void(ui::OutputSurface &)> &draw)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_path);
    return run(printer, docName, landscape, draw,
               QStringLiteral("Cannot write the file %1").arg(QFileInfo(m_path).absoluteFilePath()));
}

} // namespace report
