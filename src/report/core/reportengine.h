#pragma once

#include "report/core/layout.h"
#include "report/core/reportsettings.h"

#include <QString>

namespace store {
class Database;
}

namespace report {

// One invoice merged into its layout, ready to be laid out on pages.
struct RenderedReport {
    QString html;            // the whole document
    QString title;           // the layout's title, e.g. "TAX INVOICE"
    QString documentName;    // title and invoice number, for windows and print jobs
    int invoice = 0;
    QString reportFile;      // the layout file read, resolved
    QString paper;           // "" for the printer's own paper, or "A4", "Letter", "Legal"
    PageMargins margins;     // the caller's margins, else the layout's (twips)
    PageMargins inset;       // content offset inside the margins (twips)
    QString fontFamily;
    double fontSize = 10.0;  // points
};

// Reads a layout file and fills it for the invoice the settings select.
// Throws ReportError with a description the callers can show.
class ReportEngine {
public:
    static RenderedReport build(const ReportSettings &settings, store::Database &db);

    // The layout file at an absolute path, parsed and checked.
    static Layout loadLayout(const QString &path);

    // Each data file named in the settings must be the open database.
    static void checkDataFiles(const ReportSettings &settings, const store::Database &db);
};

} // namespace report
