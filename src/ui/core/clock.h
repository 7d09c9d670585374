#pragma once

#include <QDate>
#include <QDateTime>

namespace ui {

// Where the program asks the time: the controllers never read the system
// clock themselves, so a book left open past midnight can be tried.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace ui
