#pragma once

#include "report/core/reportsettings.h"

#include <QString>
#include <vector>

namespace report {

// How a run ended: produced and shown or printed, or failed with the
// description the caller shows before its retry question.
struct RunResult {
    bool ok = true;
    QString description;

    static RunResult success() { return {}; }
    static RunResult failure(const QString &why) { return {false, why}; }
};

// What the invoice and letterhead windows drive: set the settings, run.
class Reporter {
public:
    virtual ~Reporter() = default;
    virtual RunResult run(const ReportSettings &settings) = 0;
};

} // namespace report
