#pragma once

#include "ui/core/desktop.h"

namespace ui {

// A clock that stands still until the test moves it.
class FixedClock : public Clock {
public:
    explicit FixedClock(const QDateTime &at = QDateTime(QDate(2026, 12, 8), QTime(9, 0))) : m_now(at) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime &at) { m_now = at; }
    void setDate(const QDate &date) { m_now.setDate(date); }

private:
    QDateTime m_now;
};

} // namespace ui
