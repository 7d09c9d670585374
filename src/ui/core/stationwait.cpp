#include "ui/core/stationwait.h"

#include "store/core/database.h"

#include <QThread>
#include <QTimer>

namespace ui {

StationWait::StationWait(QObject *parent)
    : QObject(parent), m_pump([](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); })
{
}

void StationWait::stop()
{
    if (!m_waiting || m_stopped)
        return;
    m_stopped = true;
    m_stopHolds = true;
    emit stopRequested();
    releaseStopLater();
}

void StationWait::releaseStopLater()
{
    // Out of every nested loop (the wait's own, a message about the failed
    // write) the action the user stopped has ended.
    QTimer::singleShot(50, this, [this] {
        if (QThread::currentThread()->loopLevel() > 1)
            releaseStopLater();
        else
            m_stopHolds = false;
    });
}

bool StationWait::keepWaiting(qint64 waitedMs)
{
    if (m_stopHolds && !m_waiting)
        return false;
    m_waitedMs = waitedMs;
    if (!m_waiting) {
        m_waiting = true;
        m_stopped = false;
        emit waitingChanged(true);
    }
    emit stillWaiting(waitedMs);
    if (!m_stopped)
        m_pump(store::Database::WaitSliceMs);
    return !m_stopped;
}

void StationWait::waitOver()
{
    if (!m_waiting)
        return;
    m_waiting = false;
    m_stopped = false;
    emit waitingChanged(false);
}

} // namespace ui
