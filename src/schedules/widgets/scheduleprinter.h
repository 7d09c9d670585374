#pragma once

#include "schedules/core/scheduleprint.h"

#include <QPrinterInfo>
#include <QString>
#include <functional>

namespace schedules {

// Sends a schedule preview's printout to the default printer or writes the
// same pages to a PDF file.
class SchedulePrinter {
public:
    static constexpr int PrinterError = 482;
    static constexpr int FileError = 75;

    // Where the default printer is looked up; tests play a machine with or
    // without printers through it.
    static void setDefaultPrinterLookup(std::function<QPrinterInfo()> lookup);

    static DrawResult print(SchedulePrint &job);
    static DrawResult toPdf(SchedulePrint &job, const QString &path);

    static const QString NoPrinter;
};

} // namespace schedules
