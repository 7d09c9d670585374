#pragma once

#include "ui/core/sheetprinter.h"

#include <QPrinterInfo>
#include <functional>

namespace report {

// What became of the last job of a sheet printer, for a caller that words
// it for the user itself.
struct SheetJob {
    enum class Failure { None, NoPrinter, Unusable, NotStarted, Refused };
    Failure failure = Failure::None;
    QString printer;   // the printer's name, or the file's path
    QString reason;    // what the queue said when it refused the job
    int sheets = 0;
};

// Sheets on the station's default printer (or one named by the lookup). A
// queue that refuses the job is a failure, as is a station without a
// printer.
class DefaultSheetPrinter : public ui::SheetPrinter {
public:
    static const QString NoPrinter;
    // Where the printer is looked up; tests play a station with or without
    // printers through it.
    explicit DefaultSheetPrinter(std::function<QPrinterInfo()> lookup = {});
    QString print(const QString &docName, bool landscape, const std::function<void(ui::OutputSurface &)> &draw) override;
    const SheetJob &lastJob() const { return m_job; }

private:
    std::function<QPrinterInfo()> m_lookup;
    SheetJob m_job;
};

// The same sheets written to a PDF file.
class PdfSheetPrinter : public ui::SheetPrinter {
public:
    explicit PdfSheetPrinter(QString path) : m_path(std::move(path)) {}
    QString print(const QString &docName, bool landscape, const std::function<void(ui::OutputSurface &)> &draw) override;
    const SheetJob &lastJob() const { return m_job; }

private:
    QString m_path;
    SheetJob m_job;
};

} // namespace report
