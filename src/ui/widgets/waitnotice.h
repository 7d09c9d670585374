#pragma once

#include "ui/core/stationwait.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QEventLoop;
class QWidget;

namespace ui {

// Shows a StationWait: the busy pointer, and across the foot of the active
// window the line "Waiting for another station…" with a Stop button; Escape
// stops too. While it shows, the windows go on drawing but take no other
// input and cannot be closed, as under a message box: the write that waits
// is still running in one of them.
class WaitNotice : public QObject {
    Q_OBJECT
public:
    explicit WaitNotice(StationWait &wait, QObject *parent = nullptr);
    ~WaitNotice() override;

    // The line while it shows.
    QWidget *line() const { return m_line; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void begin();
    void end();
    void pump(int ms);
    void placeLine();
    bool inLine(const QObject *o) const;
    bool blocked(QObject *o) const;

    StationWait &m_wait;
    QPointer<QWidget> m_host;
    QPointer<QWidget> m_line;
    // The windows on screen when the wait began; one opened during it (a
    // message) is not one of them and takes its input.
    QList<QPointer<QWidget>> m_blocked;
    QEventLoop *m_loop = nullptr;
    bool m_shown = false;
};

} // namespace ui
