#pragma once

#include "schedules/core/scheduleprint.h"
#include "ui/core/prompter.h"

#include <QPrinterInfo>
#include <QString>
#include <QStringList>
#include <functional>

namespace schedules {

// Sends a schedule preview's printout to a printer or writes the same pages
// to a PDF file, and words what became of it for the person at the desk.
class SchedulePrinter {
public:
    // What the user is told: where the sheets went, or why they did not and
    // what to do about it.
    struct Outcome {
        bool ok = false;
        QString title;
        QString text;
        ui::Icon icon = ui::Icon::None;
    };

    // Where the default printer is looked up; tests play a machine with or
    // without printers through it.
    static void setDefaultPrinterLookup(std::function<QPrinterInfo()> lookup);

    // The printers of this computer, and the one a print goes to unless
    // another is chosen (empty when there is none).
    static QStringList printers();
    static QString defaultPrinter();

    // Prints on the named printer, or on the default one when none is named.
    static Outcome print(SchedulePrint &job, const QString &printer = QString());
    static Outcome toPdf(SchedulePrint &job, const QString &path);

    static const QString NoPrinter;
};

} // namespace schedules
