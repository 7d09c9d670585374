#pragma once

#include "report/core/reportengine.h"

#include <QPrintPreviewDialog>
#include <memory>

class QPrinter;
class QPrintPreviewWidget;

namespace report {

// The preview window of one report: pages, zoom, page navigation, page
// setup and printing, as Qt's print preview gives them. It owns its printer
// and is deleted when closed.
class ReportPreview : public QPrintPreviewDialog {
    Q_OBJECT
public:
    ReportPreview(const RenderedReport &report, std::unique_ptr<QPrinter> printer,
                  QWidget *parent = nullptr);
    ~ReportPreview() override;

    const RenderedReport &report() const { return m_report; }
    QPrintPreviewWidget *pages() const;
    QString paintError() const { return m_paintError; }

private:
    void paintPages(QPrinter *printer);

    RenderedReport m_report;
    std::unique_ptr<QPrinter> m_printer;
    QString m_paintError;
};

} // namespace report
