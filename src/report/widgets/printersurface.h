#pragma once

#include "ui/core/sheetprinter.h"
#include "ui/widgets/paintersurface.h"

class QPrinter;

namespace report {

// The output surface on a printer's pages, or a PDF file's when the printer
// writes PDF. Like a printer's printable area, the drawing area lies a
// quarter inch inside the sheet's edges, the same on every printer, so the
// printout and its PDF are alike to the twip.
class PrinterSurface : public ui::PainterSurface {
public:
    explicit PrinterSurface(QPrinter &printer);
    ~PrinterSurface() override;

    // False when the printer (or the file) could not be started.
    bool begin();
    // Ends the job: the last page goes to the printer or the file.
    void finish();

    double scaleHeight() const override;
    double scaleWidth() const override;
    void newPage() override;
    double pageTop() const override { return 0; }
    static constexpr double Unprintable = ui::SheetPrinter::Unprintable;   // twips at each edge
    int pages() const { return m_pages; }

private:
    QPrinter &m_printer;
    int m_pages = 1;
};

} // namespace report
