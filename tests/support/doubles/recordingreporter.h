#pragma once

#include "report/core/reporter.h"

#include <vector>

namespace report {

// A reporter for the callers' tests: records every run and answers with the
// failures it was given, in order, then with success.
class RecordingReporter : public Reporter {
public:
    RunResult run(const ReportSettings &settings) override
    {
        m_runs.push_back(settings);
        if (m_failures.empty())
            return RunResult::success();
        const QString why = m_failures.front();
        m_failures.erase(m_failures.begin());
        return RunResult::failure(why);
    }

    void failNext(const QString &description) { m_failures.push_back(description); }
    const std::vector<ReportSettings> &runs() const { return m_runs; }

private:
    std::vector<ReportSettings> m_runs;
    std::vector<QString> m_failures;
};

} // namespace report
