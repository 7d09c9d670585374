#pragma once

#include <QDateTime>
#include <QString>

namespace store {

// A name for a file being written beside `path` by this process:
// "<path>.partial-<host>-<process id>". A process that is killed leaves it
// behind; removeStaleTemporaries() takes such files away later.
QString partialName(const QString &path);

// Removes from `folder` the files partialName() made (and their journals)
// whose process no longer runs on this computer, and those of any other
// computer, or of an older build, that are older than a day (a process
// elsewhere cannot be asked whether it still runs). Returns how many files
// went. Never throws: a file that cannot be removed stays.
int removeStaleTemporaries(const QString &folder, const QDateTime &now = QDateTime::currentDateTime());

} // namespace store
