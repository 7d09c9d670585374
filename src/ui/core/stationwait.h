#pragma once

#include "store/core/waitlistener.h"

#include <QObject>
#include <QString>
#include <functional>

namespace ui {

// This station waiting for another one that holds the data, as the windows
// show it: from the first slice of the wait the busy pointer and a line that
// says so, and a way to stop. A stopped wait fails the statement as a lock
// failure, which every write path reports while keeping what was typed.
class StationWait : public QObject, public store::WaitListener {
    Q_OBJECT
public:
    static QString text() { return QStringLiteral("Waiting for another station\u2026"); }

    // How the program stays alive between two tries: it is given the time to
    // spend, and lets the windows draw and take the user's stop meanwhile.
    // The default only sleeps.
    using Pump = std::function<void(int ms)>;
    explicit StationWait(QObject *parent = nullptr);
    void setPump(Pump pump) { m_pump = std::move(pump); }

    bool waiting() const { return m_waiting; }
    qint64 waitedMs() const { return m_waitedMs; }
    // The user's stop: the wait ends at once, as a lock failure, and so does
    // every further wait of the same action (a save reads, writes and reads
    // again), until the program is back in its main event loop.
    void stop();
    bool stopHolds() const { return m_stopHolds; }

    bool keepWaiting(qint64 waitedMs) override;
    void waitOver() override;

signals:
    void waitingChanged(bool waiting);
    // Once per slice of the wait.
    void stillWaiting(qint64 waitedMs);
    // Asked to stop while the pump runs: the pump ends its slice.
    void stopRequested();

private:
    void releaseStopLater();

    Pump m_pump;
    bool m_waiting = false;
    bool m_stopped = false;
    bool m_stopHolds = false;
    qint64 m_waitedMs = 0;
};

} // namespace ui
