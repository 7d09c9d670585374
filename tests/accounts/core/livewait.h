#pragma once

#include "accounts/core/livewatch.h"
#include "store/core/changewatcher.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace livetest {

// Another station's change must show within a second. The data file's
// counter is looked at directly; a server's notices come with the event loop.
template <typename F>
bool within(accounts::LiveWatch &live, F done)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 1000) {
        live.watcher().poll();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

} // namespace livetest
