#pragma once

#include "report/core/reporter.h"
#include "report/core/reportengine.h"

#include <QPointer>
#include <QPrinterInfo>
#include <functional>

class QWidget;

namespace store {
class Database;
}
namespace ui {
class Prompter;
}

namespace report {

class ReportPreview;

// The report engine as the windows use it: builds the invoice's document
// from its layout file, then shows it in a preview window (destination 0)
// or prints it on the system's default printer (destination 1). Given a
// prompter, a print says where the sheets went, and the preview window
// offers a choice of printer and Save as PDF.
class ReportRunner : public Reporter {
public:
    explicit ReportRunner(store::Database &db, QWidget *previewParent = nullptr, ui::Prompter *prompter = nullptr);

    // Returns when the preview window is shown or the job is handed to the
    // printer; a failure carries the description to show.
    RunResult run(const ReportSettings &settings) override;

    // The same document written to a PDF file instead of the destination.
    RunResult runToPdf(const ReportSettings &settings, const QString &pdfPath);

    // Where the default printer is looked up; tests play a machine with or
    // without printers through it.
    void setDefaultPrinterLookup(std::function<QPrinterInfo()> lookup);

    // The last preview window opened, while it is open.
    ReportPreview *lastPreview() const;

private:
    RunResult preview(const RenderedReport &report);
    RunResult print(const RenderedReport &report);

    store::Database &m_db;
    QPointer<QWidget> m_parent;
    QPointer<ReportPreview> m_preview;
    std::function<QPrinterInfo()> m_defaultPrinter;
    ui::Prompter *m_prompter;
};

} // namespace report
