#pragma once

#include "ui/core/sheetprinter.h"

#include <QPrinterInfo>
#include <functional>

namespace report {

// Sheets on the station's default printer. A queue that refuses the job is
// a failure, as is a station without a printer.
class DefaultSheetPrinter : public ui::SheetPrinter {
public:
    static const QString NoPrinter;
    // Where the default printer is looked up; tests play a station with or
    // without printers through it.
    explicit DefaultSheetPrinter(std::function<QPrinterInfo()> lookup = {});
    QString print(const QString &docName, bool landscape, const std::function<void(ui::OutputSurface &)> &draw) override;

private:
    std::function<QPrinterInfo()> m_lookup;
};

// The same sheets written to a PDF file.
class PdfSheetPrinter : public ui::SheetPrinter {
public:
    explicit PdfSheetPrinter(QString path) : m_path(std::move(path)) {}
    QString print(const QString &docName, bool landscape, const std::function<void(ui::OutputSurface &)> &draw) override;

private:
    QString m_path;
};

} // namespace report
