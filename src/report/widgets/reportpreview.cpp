#include "report/widgets/reportpreview.h"

#include "report/widgets/reportprinter.h"

#include <QGuiApplication>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>

namespace report {

ReportPreview::ReportPreview(const RenderedReport &report, std::unique_ptr<QPrinter> printer,
                             QWidget *parent)
    : QPrintPreviewDialog(printer.get(), parent), m_report(report), m_printer(std::move(printer))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(m_report.documentName);
    connect(this, &QPrintPreviewDialog::paintRequested, this, &ReportPreview::paintPages);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(area.width() * 3 / 4, area.height() * 9 / 10);
        move(area.center() - rect().center());
    }
}

ReportPreview::~ReportPreview() = default;

QPrintPreviewWidget *ReportPreview::pages() const
{
    return findChild<QPrintPreviewWidget *>();
}

void ReportPreview::paintPages(QPrinter *printer)
{
    // Also called when the user prints from the window, on the printer the
    // print dialog chose; keep the report's own margins there.
    try {
        ReportPrinter::paint(m_report, *printer);
        m_paintError.clear();
    } catch (const ReportError &e) {
        m_paintError = e.description;
    }
}

} // namespace report
