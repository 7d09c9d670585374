#pragma once

#include "report/core/reportengine.h"

#include <QPrintPreviewDialog>
#include <memory>

class QComboBox;
class QPrinter;
class QPrintPreviewWidget;

namespace ui {
class Prompter;
}

namespace report {

// The preview window of one report: pages, zoom, page navigation, page
// setup and printing, as Qt's print preview gives them. It owns its printer
// and is deleted when closed. Given a prompter, it prints on the printer
// chosen in its tool bar and saves the pages as a PDF, and says where they
// went or what went wrong.
class ReportPreview : public QPrintPreviewDialog {
    Q_OBJECT
public:
    ReportPreview(const RenderedReport &report, std::unique_ptr<QPrinter> printer, QWidget *parent = nullptr,
                  ui::Prompter *prompter = nullptr);
    ~ReportPreview() override;

    const RenderedReport &report() const { return m_report; }
    QPrintPreviewWidget *pages() const;
    QString paintError() const { return m_paintError; }

    QString printer() const;
    void choosePrinter(const QString &name);
    void printOnChosen();
    void saveAsPdf();

private:
    void paintPages(QPrinter *printer);
    void addOutputTools();

    RenderedReport m_report;
    std::unique_ptr<QPrinter> m_printer;
    QString m_paintError;
    ui::Prompter *m_prompter;
    QComboBox *m_printers = nullptr;
};

} // namespace report
