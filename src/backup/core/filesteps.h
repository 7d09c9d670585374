#pragma once

#include <QString>
#include <stdexcept>

namespace backup {

// A step of a backup or restore that failed; the description is what the
// user is asked to retry.
class StepFailure : public std::runtime_error {
public:
    explicit StepFailure(const QString &description)
        : std::runtime_error(description.toStdString()), m_description(description)
    {
    }
    QString description() const { return m_description; }

private:
    QString m_description;
};

// The folder as typed, without one trailing separator ("/" or "\"); a root
// keeps its own.
QString withoutTrailingSeparator(const QString &folder);

// A name for a file being written beside `path`, unique to this station.
QString partialName(const QString &path);

// Copies `from` over `to` through a temporary file beside `to`, so that a
// failed copy leaves the file that was there. Throws StepFailure.
void replaceFile(const QString &from, const QString &to);

// Puts the finished file `from` in place of `to` in one step. Throws StepFailure.
void renameOver(const QString &from, const QString &to);

} // namespace backup
