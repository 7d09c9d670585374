#include "book/core/otherstations.h"

#include "book/core/bookhub.h"
#include "store/core/dberror.h"
#include "ui/core/desktop.h"
#include "ui/core/services.h"

#include <QStringList>

namespace book {

OtherStations::OtherStations(BookHub &hub, ui::Services &services) : m_hub(hub), m_s(services)
{
    m_timer.setInterval(store::Presence::BeatSeconds * 1000);
    connect(&m_timer, &QTimer::timeout, this, [this] { recount(); });
}

void OtherStations::start()
{
    recount();
    m_timer.start();
}

void OtherStations::recount()
{
    try {
        m_others = store::Presence::others(m_s.db, m_s.clock.now());
    } catch (const store::DbError &) {
        // The count stays as it was until the next look.
        return;
    }
    emit m_hub.stationsChanged();
}

QString OtherStations::caption() const
{
    if (m_others.empty())
        return {};
    return m_others.size() == 1 ? QStringLiteral("1 other station open")
                                : QStringLiteral("%1 other stations open").arg(m_others.size());
}

QString OtherStations::tip() const
{
    QStringList names;
    for (const store::StationSeen &s : m_others)
        names << s.label();
    return names.join(QLatin1Char('\n'));
}

} // namespace book
