#include "report/widgets/reportrunner.h"

#include "report/core/printwords.h"
#include "report/widgets/cupsjob.h"
#include "report/widgets/reportpreview.h"
#include "report/widgets/reportprinter.h"
#include "store/core/dberror.h"
#include "ui/core/prompter.h"

#include <QPrinter>

namespace report {

namespace {

template <typename Work>
RunResult guarded(Work &&work)
{
    try {
        return work();
    } catch (const ReportError &e) {
        return RunResult::failure(e.description);
    } catch (const store::DbError &e) {
        return RunResult::failure(e.description());
    } catch (const std::exception &e) {
        return RunResult::failure(QString::fromUtf8(e.what()));
    }
}

} // namespace

ReportRunner::ReportRunner(store::Database &db, QWidget *previewParent, ui::Prompter *prompter)
    : m_db(db), m_parent(previewParent), m_defaultPrinter([] { return QPrinterInfo::defaultPrinter(); }),
      m_prompter(prompter)
{
}

void ReportRunner::setDefaultPrinterLookup(std::function<QPrinterInfo()> lookup)
{
    m_defaultPrinter = std::move(lookup);
}

ReportPreview *ReportRunner::lastPreview() const
{
    return m_preview.data();
}

RunResult ReportRunner::run(const ReportSettings &settings)
{
    return guarded([&] {
        if (settings.destination != ReportSettings::ToWindow &&
            settings.destination != ReportSettings::ToPrinter)
            throw ReportError(QStringLiteral("Destination %1 is not known: use 0 for a preview window "
                                             "or 1 for the printer")
                                  .arg(settings.destination));
        const RenderedReport report = ReportEngine::build(settings, m_db);
        return settings.destination == ReportSettings::ToWindow ? preview(report) : print(report);
    });
}

RunResult ReportRunner::runToPdf(const ReportSettings &settings, const QString &pdfPath)
{
    return guarded([&] {
        const RenderedReport report = ReportEngine::build(settings, m_db);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        ReportPrinter::setUp(report, printer);
        ReportPrinter::paint(report, printer);
        return RunResult::success();
    });
}

RunResult ReportRunner::preview(const RenderedReport &report)
{
    // The window's own Print button prints on the default printer, if any.
    const QPrinterInfo info = m_defaultPrinter();
    auto printer = info.isNull() ? std::make_unique<QPrinter>(QPrinter::HighResolution)
                                 : std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    ReportPrinter::setUp(report, *printer);
    auto *window = new ReportPreview(report, std::move(printer), m_parent, m_prompter);
    m_preview = window;
    window->show();
    window->raise();
    window->activateWindow();
    if (!window->paintError().isEmpty()) {
        const QString why = window->paintError();
        window->close();
        return RunResult::failure(why);
    }
    return RunResult::success();
}

RunResult ReportRunner::print(const RenderedReport &report)
{
    const QPrinterInfo info = m_defaultPrinter();
    if (info.isNull())
        throw ReportError(QStringLiteral("No printer is installed. Add a printer to this computer, "
                                         "or choose a default printer, and print again"));
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid())
        throw ReportError(QStringLiteral("The printer %1 cannot be used").arg(info.printerName()));
    ReportPrinter::setUp(report, printer);
    const int sheets = ReportPrinter::paint(report, printer);
    // A paused or full queue refuses the job after every page was painted.
    const QString refused = lastJobRefusal();
    if (!refused.isEmpty())
        throw ReportError(QStringLiteral("The printer %1 did not take the job: %2").arg(info.printerName(), refused));
    if (m_prompter)
        m_prompter->message(printwords::sentTo(info.printerName(), sheets), printwords::PrintTitle,
                            ui::Icon::Information);
    return RunResult::success();
}

} // namespace report
