#pragma once

#include <QString>

namespace report {

// What CUPS answered to the last job this thread handed it: empty when the
// queue took it, else the reason it gave. Qt's print engine submits the job
// when painting ends and drops that answer.
QString lastJobRefusal();

} // namespace report
