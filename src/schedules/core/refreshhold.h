#pragma once

#include "ui/core/appstate.h"

namespace schedules {

// Keeps the book's auto-refresh paused while a schedule window is open: the
// schedule shows the page as it was taken, and the book does not redraw it
// underneath. Released at the latest when the window goes.
class RefreshHold {
public:
    explicit RefreshHold(ui::AppState &state) : m_state(state) {}
    ~RefreshHold() { release(); }
    RefreshHold(const RefreshHold &) = delete;
    RefreshHold &operator=(const RefreshHold &) = delete;

    void take()
    {
        if (!m_held) {
            ++m_state.refreshHolds;
            m_held = true;
        }
    }
    void release()
    {
        if (m_held) {
            --m_state.refreshHolds;
            m_held = false;
        }
    }
    bool held() const { return m_held; }

private:
    ui::AppState &m_state;
    bool m_held = false;
};

} // namespace schedules
