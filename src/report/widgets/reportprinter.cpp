#include "report/widgets/reportprinter.h"

#include <QAbstractTextDocumentLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>

namespace report {

namespace {

QPageSize::PageSizeId paperId(const QString &paper)
{
    if (paper == QLatin1String("A4"))
        return QPageSize::A4;
    if (paper == QLatin1String("Letter"))
        return QPageSize::Letter;
    if (paper == QLatin1String("Legal"))
        return QPageSize::Legal;
    return QPageSize::Custom;
}

} // namespace

void ReportPrinter::setUp(const RenderedReport &report, QPrinter &printer)
{
    const QPageSize::PageSizeId id = paperId(report.paper);
    if (id != QPageSize::Custom)
        printer.setPageSize(QPageSize(id));
    printer.setPageOrientation(QPageLayout::Portrait);
    // Margins are the caller's, to the twip: they are not to be widened to
    // what the driver calls printable, so the sheet is the whole device.
    printer.setFullPage(true);
    printer.setDocName(report.documentName);
    printer.setCreator(QStringLiteral("Quillon"));
}

QRectF ReportPrinter::bodyRect(const RenderedReport &report, QPrinter &printer)
{
    const QRectF sheet = printer.paperRect(QPrinter::DevicePixel);
    const double perTwip = printer.resolution() / 1440.0;
    const PageMargins &m = report.margins;
    const PageMargins &in = report.inset;
    return QRectF(sheet.left() + (m.left + in.left) * perTwip, sheet.top() + (m.top + in.top) * perTwip,
                  sheet.width() - (m.left + in.left + m.right + in.right) * perTwip,
                  sheet.height() - (m.top + in.top + m.bottom + in.bottom) * perTwip);
}

std::unique_ptr<QTextDocument> ReportPrinter::document(const RenderedReport &report, QPaintDevice *device,
                                                       const QSizeF &pageSize)
{
    auto doc = std::make_unique<QTextDocument>();
    // Laid out for the device itself, so point sizes come out true on paper.
    doc->documentLayout()->setPaintDevice(device);
    QFont font(report.fontFamily);
    font.setPointSizeF(report.fontSize);
    doc->setDefaultFont(font);
    doc->setDocumentMargin(0);
    doc->setPageSize(pageSize);
    doc->setHtml(report.html);
    doc->setMetaInformation(QTextDocument::DocumentTitle, report.documentName);
    return doc;
}

int ReportPrinter::paint(const RenderedReport &report, QPrinter &printer)
{
    const QRectF body = bodyRect(report, printer);
    // Less than an inch each way is no page to print an invoice on.
    if (body.width() < printer.resolution() || body.height() < printer.resolution())
        throw ReportError(QStringLiteral("The margins leave no room to print on the page"));

    QPainter painter;
    if (!painter.begin(&printer))
        throw ReportError(printer.outputFileName().isEmpty()
                              ? QStringLiteral("The printer %1 could not be started").arg(printer.printerName())
                              : QStringLiteral("Cannot write the file %1").arg(printer.outputFileName()));

    const auto doc = document(report, &printer, body.size());
    const int pages = doc->pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            printer.newPage();
        painter.save();
        painter.translate(body.left(), body.top() - page * body.height());
        const QRectF clip(0, page * body.height(), body.width(), body.height());
        painter.setClipRect(clip);
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.clip = clip;
        ctx.palette.setColor(QPalette::Text, Qt::black);
        doc->documentLayout()->draw(&painter, ctx);
        painter.restore();
    }
    painter.end();
    return pages;
}

} // namespace report
