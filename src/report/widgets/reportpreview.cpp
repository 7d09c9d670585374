#include "report/widgets/reportpreview.h"

#include "report/core/printwords.h"
#include "report/widgets/cupsjob.h"
#include "report/widgets/pdffilechooser.h"
#include "report/widgets/printerbox.h"
#include "report/widgets/reportprinter.h"
#include "ui/core/prompter.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QStandardPaths>
#include <QToolBar>

namespace report {

namespace words = printwords;

namespace {
const QString What = QStringLiteral("invoice");
}

ReportPreview::ReportPreview(const RenderedReport &report, std::unique_ptr<QPrinter> printer, QWidget *parent,
                             ui::Prompter *prompter)
    : QPrintPreviewDialog(printer.get(), parent), m_report(report), m_printer(std::move(printer)),
      m_prompter(prompter)
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
    if (m_prompter)
        addOutputTools();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::addOutputTools()
{
    auto *tools = findChild<QToolBar *>();
    if (!tools)
        return;
    // Qt's own Print goes through its print dialog and says nothing after;
    // this window's prints on the printer chosen beside it and says where.
    for (QAction *a : tools->actions())
        if (a->text().remove(QLatin1Char('&')) == QLatin1String("Print"))
            a->setVisible(false);
    tools->addSeparator();
    m_printers = printerBox(tools, QPrinterInfo::availablePrinterNames(), QPrinterInfo::defaultPrinterName());
    tools->addWidget(m_printers);
    QAction *print = tools->addAction(QStringLiteral("Print"), this, [this] { printOnChosen(); });
    print->setObjectName(QStringLiteral("actPrint"));
    QAction *pdf = tools->addAction(QStringLiteral("Save as PDF"), this, [this] { saveAsPdf(); });
    pdf->setObjectName(QStringLiteral("actPdf"));
}

QPrintPreviewWidget *ReportPreview::pages() const
{
    return findChild<QPrintPreviewWidget *>();
}

QString ReportPreview::printer() const
{
    return m_printers ? m_printers->currentText() : QString();
}

void ReportPreview::choosePrinter(const QString &name)
{
    if (m_printers)
        m_printers->setCurrentIndex(m_printers->findText(name));
}

void ReportPreview::printOnChosen()
{
    if (!m_prompter)
        return;
    const QString name = printer();
    const QPrinterInfo info = name.isEmpty() ? QPrinterInfo() : QPrinterInfo::printerInfo(name);
    if (info.isNull()) {
        m_prompter->message(name.isEmpty() ? words::noPrinter(What) : words::unreachable(name), words::PrintTitle,
                            ui::Icon::Warning);
        return;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    int sheets = 0;
    try {
        if (!printer.isValid())
            throw ReportError(QString());
        ReportPrinter::setUp(m_report, printer);
        sheets = ReportPrinter::paint(m_report, printer);
    } catch (const ReportError &) {
        m_prompter->message(words::unreachable(name), words::PrintTitle, ui::Icon::Warning);
        return;
    }
    // A paused or full queue refuses the job only once every page is painted.
    const QString refused = lastJobRefusal();
    if (!refused.isEmpty())
        m_prompter->message(words::refused(name, What, refused), words::PrintTitle, ui::Icon::Warning);
    else
        m_prompter->message(words::sentTo(name, sheets), words::PrintTitle, ui::Icon::Information);
}

void ReportPreview::saveAsPdf()
{
    if (!m_prompter)
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString name = m_report.documentName.trimmed();
    for (QChar &c : name)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 32)
            c = QLatin1Char('-');
    const QString path = choosePdfFile(*m_prompter, words::PdfTitle, QDir(folder).filePath(name + QStringLiteral(".pdf")));
    if (path.isEmpty())
        return;
    const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(path);
    try {
        ReportPrinter::setUp(m_report, pdf);
        ReportPrinter::paint(m_report, pdf);
    } catch (const ReportError &) {
        m_prompter->message(words::notSaved(What, shown), words::PdfTitle, ui::Icon::Warning);
        return;
    }
    m_prompter->message(words::saved(What, shown), words::PdfTitle, ui::Icon::Information);
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
