#include "store/core/presence.h"

#include "store/core/changewatcher.h"
#include "store/core/database.h"
#include "store/core/schema.h"

#include <QSqlRecord>
#include <QUuid>

namespace store {

namespace {

// Rows of stations that ended without removing theirs are forgotten after a day.
constexpr qint64 ForgetSeconds = 24 * 3600;

QString q(const QString &id)
{
    return Dialect::quote(id);
}

// Stored in UTC with a fixed shape, so that text order is time order.
QString stamp(const QDateTime &t)
{
    return t.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}

QDateTime fromStamp(const QVariant &v)
{
    QDateTime t = QDateTime::fromString(v.toString(), Qt::ISODateWithMs);
    return t.toLocalTime();
}

} // namespace

QString StationSeen::label() const
{
    const QString name = who.name.isEmpty() ? who.host : who.name;
    QStringList about;
    if (!who.host.isEmpty() && who.host != name)
        about << who.host;
    if (!who.user.isEmpty())
        about << who.user;
    return about.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, about.join(QStringLiteral(", ")));
}

Presence::Presence(Database &db, Now now, QObject *parent) : QObject(parent), m_db(db), m_now(std::move(now))
{
    m_timer.setInterval(BeatSeconds * 1000);
    connect(&m_timer, &QTimer::timeout, this, [this] { beat(); });
}

Presence::~Presence()
{
    leave();
}

void Presence::join(int lockByte, bool lockHeld)
{
    m_lockByte = lockByte;
    m_lockHeld = lockHeld;
    m_since = m_now();
    const QString key = QUuid::createUuid().toString(QUuid::WithoutBraces);
    {
        WriteTransaction tx(m_db);
        m_db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 < ?").arg(q(tables::Station), q("LastSeen")),
                  {stamp(m_since.addSecs(-ForgetSeconds))});
        m_key = key;
        write(true);
        tx.commit();
    }
    m_db.setPresenceKey(m_key);
    m_timer.start();
}

void Presence::write(bool insert)
{
    const StationIdentity &who = m_db.station();
    const QVariantMap values{{"Token", m_key},
                             {"StationName", who.name},
                             {"Host", who.host},
                             {"OsUser", who.user},
                             {"Since", stamp(m_since)},
                             {"LastSeen", stamp(m_now())},
                             {"LockByte", m_lockByte},
                             {"LockHeld", m_lockHeld}};
    if (insert)
        m_db.insert(tables::Station, values);
    ChangeWatcher::announce(m_db, QStringLiteral("station"), QString());
}

bool Presence::beat()
{
    if (m_key.isEmpty() || !m_db.isOpen())
        return false;
    // The first write after a restore elsewhere is refused and takes the new
    // generation (the windows see it by the epoch); the row goes in then.
    for (int attempt = 0;; ++attempt) {
        try {
            beatOnce();
            return true;
        } catch (const DbError &e) {
            if (e.number() == DbError::Restored && attempt == 0)
                continue;
            // Tried again at the next beat; until then the others see the
            // row grow old, which is what they should see of a station that
            // cannot write.
            return false;
        }
    }
}

void Presence::beatOnce()
{
    WriteTransaction tx(m_db);
    const auto row = m_db.selectOneForUpdate(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(q("ID"), q(tables::Station), q("Token")), {m_key});
    if (row) {
        m_db.update(tables::Station, row->value(0), {{"LastSeen", stamp(m_now())}, {"LockHeld", m_lockHeld}});
        ChangeWatcher::announce(m_db, QStringLiteral("station"), QString());
    } else {
        write(true);
    }
    tx.commit();
}

void Presence::leave()
{
    m_timer.stop();
    if (m_key.isEmpty() || !m_db.isOpen())
        return;
    try {
        WriteTransaction tx(m_db);
        m_db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(q(tables::Station), q("Token")), {m_key});
        ChangeWatcher::announce(m_db, QStringLiteral("station"), QString());
        tx.commit();
    } catch (const DbError &) {
        // The row grows old and counts as gone after GoneSeconds.
    }
    if (m_db.presenceKey() == m_key)
        m_db.setPresenceKey(QString());
    m_key.clear();
}

std::vector<StationSeen> Presence::running(Database &db, const QDateTime &now, const QString &except)
{
    std::vector<StationSeen> out;
    if (!db.tableExists(tables::Station))
        return out;   // a database of an earlier version: nobody records
    const auto rows = db.select(QStringLiteral("SELECT %1, %2, %3, %4, %5, %6, %7, %8 FROM %9 WHERE %6 >= ? ORDER BY %5, %10")
                                    .arg(q("Token"), q("StationName"), q("Host"), q("OsUser"), q("Since"),
                                         q("LastSeen"), q("LockByte"), q("LockHeld"), q(tables::Station), q("ID")),
                                {stamp(now.addSecs(-GoneSeconds))});
    for (const QSqlRecord &r : rows) {
        StationSeen s;
        s.key = r.value(0).toString();
        if (!except.isEmpty() && s.key == except)
            continue;
        s.who = {r.value(1).toString(), r.value(2).toString(), r.value(3).toString()};
        s.since = fromStamp(r.value(4));
        s.lastSeen = fromStamp(r.value(5));
        s.lockByte = r.value(6).isNull() ? -1 : r.value(6).toInt();
        s.lockHeld = Database::toBool(r.value(7));
        out.push_back(s);
    }
    return out;
}

std::vector<StationSeen> Presence::others(Database &db, const QDateTime &now)
{
    return running(db, now, db.presenceKey());
}

QString Presence::listing(const std::vector<StationSeen> &stations)
{
    QStringList lines;
    for (const StationSeen &s : stations)
        lines << QStringLiteral("  %1, since %2").arg(s.label(), s.since.toString(QStringLiteral("HH:mm")));
    return lines.join(QLatin1Char('\n'));
}

} // namespace store
