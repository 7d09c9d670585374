#pragma once

#include "report/core/reportsettings.h"
#include "ui/core/places.h"

#include <QString>
#include <functional>
#include <optional>

namespace report {
class Reporter;
}
namespace store {
class Database;
}
namespace ui {
struct Services;
}

namespace invoiceprint {

// Told when an invoice table is empty: there is nothing to show the
// letterhead or the margins on.
inline const QString NoInvoice = QStringLiteral(
    "There is no invoice yet to show a sample with. Make an invoice first, then preview or print "
    "the sample again.");

// The first invoice of a record source (tbl_Accounts or qry_Accounts), in
// its own order; nullopt when it holds none. Throws store::DbError.
std::optional<int> firstInvoice(store::Database &db, const QString &source);

// The invoice a sample shows: the first of `source`, made the current
// invoice. When there is none the user is told under `caption`, when it
// cannot be read under `errorTitle`, and nothing is returned.
std::optional<int> sampleInvoice(ui::Services &services, const QString &source, const QString &caption,
                                 const QString &errorTitle);

// Settings for the sample: the data folder followed by `file`
// ("\invoice1.rpt"), the first `dataFiles` data files the database, the
// invoice selected, the destination.
report::ReportSettings sampleSettings(const ui::Places &places, const QString &file, int dataFiles,
                                      int invoice, int destination);

// What a window's sample invoice is: the window's caption (its messages'
// title), the record source its invoice is the first of, the report file
// and how many data files name the database.
struct SampleRun {
    QString caption;
    QString source;
    QString file;
    int dataFiles;
};
// The margins of a sample, in inches; bottom and right where the window
// sets them.
struct SampleMargins {
    double top;
    double left;
    std::optional<double> bottom = std::nullopt;
    std::optional<double> right = std::nullopt;
};
// The settings of a sample run with `margins`, or nothing once the user is
// told why not (margins off the paper, no invoice, a database failure).
std::optional<report::ReportSettings> marginSample(ui::Services &services, const SampleRun &run,
                                                   const SampleMargins &margins, int destination);

// Runs the report until it succeeds or the user answers No to the
// ". Retry?" question. `prepare` makes the settings of each attempt, or
// says why there is nothing to run and returns nullopt; `busy` shows and
// clears the busy pointer around the run.
void runWithRetry(ui::Services &services, report::Reporter &reporter,
                  const std::function<std::optional<report::ReportSettings>()> &prepare,
                  const std::function<void(bool)> &busy);

} // namespace invoiceprint
