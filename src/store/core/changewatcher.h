#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>

namespace store {

class Database;

// Tells a station that another station changed the data. On a server the
// writing transaction sends a notification naming what it changed (a kind
// and a key, e.g. "page" and the page's date), delivered when it commits.
// A data file has no such channel: its change counter is read every half
// second, which costs one tiny statement and no lock, and only says that
// something changed.
class ChangeWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr int PollMs = 500;
    static inline const QString Channel = QStringLiteral("quillon_change");

    explicit ChangeWatcher(Database &db, QObject *parent = nullptr);
    ~ChangeWatcher() override;

    // Starts listening (server) or polling (file); stop() ends the polling.
    void start();
    void stop();
    bool running() const { return m_running; }

    // One look at the file's change counter: true (and changed() emitted)
    // when another connection wrote since the last look. On a server it
    // only delivers the notifications already received.
    bool poll();

    // Sends "kind key changed" from the running write transaction: the
    // others hear of it only if it commits. Nothing on a data file.
    static void announce(Database &db, const QString &kind, const QString &key);

signals:
    // What another station changed; an empty kind: something, not known what.
    void changed(const QString &kind, const QString &key);

private:
    void notified(const QString &name, int source, const QVariant &payload);
    qint64 dataVersion();

    Database &m_db;
    QTimer m_timer;
    qint64 m_version = -1;
    bool m_running = false;
    bool m_listening = false;
};

} // namespace store
