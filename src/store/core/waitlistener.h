#pragma once

#include <QtGlobal>

namespace store {

// Told while a statement of this station waits for another station to let go
// of the data (a write it holds, a record it has locked), so that the
// program can show the wait and the user can stop it.
class WaitListener {
public:
    virtual ~WaitListener() = default;
    // Called again and again while the wait lasts, `waitedMs` after it began.
    // It may let the windows draw and take the user's input; false stops the
    // wait, and the statement fails as a lock failure (DbError::Busy).
    virtual bool keepWaiting(qint64 waitedMs) = 0;
    // The wait is over, however it ended.
    virtual void waitOver() = 0;
};

} // namespace store
