#pragma once

#include "store/core/presence.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <vector>

namespace ui {
struct Services;
}

namespace book {

class BookHub;

// The other stations running now: counted when the book opens, when the
// change log names a station, and by the clock (stations that stop without
// a word drop out).
class OtherStations : public QObject {
public:
    OtherStations(BookHub &hub, ui::Services &services);

    const std::vector<store::StationSeen> &others() const { return m_others; }
    QString caption() const;      // "2 other stations open"; empty for none
    QString tip() const;          // their names, one a line
    void recount();
    void start();
    void stop() { m_timer.stop(); }

private:
    BookHub &m_hub;
    ui::Services &m_s;
    std::vector<store::StationSeen> m_others;
    QTimer m_timer;
};

} // namespace book
