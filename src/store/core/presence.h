#pragma once

#include "store/core/stationidentity.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <vector>

namespace store {

class Database;

// A station running now, as it last recorded itself.
struct StationSeen {
    QString key;              // its row's token
    StationIdentity who;
    QDateTime since;          // when it started
    QDateTime lastSeen;
    int lockByte = -1;        // its byte of the lock file beside db.mdb (-1: none)
    bool lockHeld = false;    // it holds a shared lock on that byte

    // "Reception (desk1, anna)": for lists shown to the user.
    QString label() const;
};

// This station's row among the stations running now: recorded when it
// starts, refreshed every BeatSeconds, removed when it ends. A station not
// heard of for GoneSeconds counts as gone, so one that crashed holds nobody
// back for long. Times come from the clock given, so they can be fixed.
class Presence : public QObject {
    Q_OBJECT
public:
    static constexpr int BeatSeconds = 30;
    static constexpr int GoneSeconds = 120;
    using Now = std::function<QDateTime()>;

    Presence(Database &db, Now now, QObject *parent = nullptr);
    ~Presence() override;

    // Records this station (and forgets rows of stations gone long ago),
    // then refreshes the row every BeatSeconds. Throws DbError.
    void join(int lockByte = -1, bool lockHeld = false);
    // Says again that this station runs; a row that went missing (a restore
    // replaced the data) is made again. False when it could not be written.
    bool beat();
    // Removes this station's row; nothing happens when it cannot be.
    void leave();
    bool joined() const { return !m_key.isEmpty(); }
    QString key() const { return m_key; }

    // The stations running now, by the time they started; `except` left out.
    static std::vector<StationSeen> running(Database &db, const QDateTime &now, const QString &except = QString());
    // The other stations running now (all but this connection's own).
    static std::vector<StationSeen> others(Database &db, const QDateTime &now);
    // One line per station, for the messages that list them.
    static QString listing(const std::vector<StationSeen> &stations);

private:
    void write(bool insert);
    void beatOnce();

    Database &m_db;
    Now m_now;
    QString m_key;
    QDateTime m_since;
    int m_lockByte = -1;
    bool m_lockHeld = false;
    QTimer m_timer;
};

} // namespace store
