#include "store/core/changewatcher.h"

#include "store/core/database.h"

#include <QSqlDriver>

namespace store {

ChangeWatcher::ChangeWatcher(Database &db, QObject *parent) : QObject(parent), m_db(db)
{
    m_timer.setInterval(PollMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
}

ChangeWatcher::~ChangeWatcher() = default;

void ChangeWatcher::start()
{
    if (m_running || !m_db.isOpen())
        return;
    m_running = true;
    if (m_db.onServer()) {
        QSqlDriver *driver = m_db.connection().driver();
        // Several watchers may share one connection: it listens once, and
        // every watcher hears the driver's signal.
        if (!driver->subscribedToNotifications().contains(Channel))
            driver->subscribeToNotification(Channel);
        connect(driver, &QSqlDriver::notification, this,
                [this](const QString &name, QSqlDriver::NotificationSource source, const QVariant &payload) {
                    notified(name, static_cast<int>(source), payload);
                });
        m_listening = true;
        return;
    }
    m_version = dataVersion();
    m_timer.start();
}

void ChangeWatcher::stop()
{
    m_running = false;
    m_timer.stop();
    if (m_listening && m_db.isOpen())
        disconnect(m_db.connection().driver(), nullptr, this, nullptr);
    m_listening = false;
}

qint64 ChangeWatcher::dataVersion()
{
    try {
        return m_db.scalar(QStringLiteral("PRAGMA data_version")).toLongLong();
    } catch (const DbError &) {
        // Unreadable for now: the next look tries again.
        return m_version;
    }
}

bool ChangeWatcher::poll()
{
    if (!m_running || !m_db.isOpen() || m_db.inTransaction() || m_db.waiting())
        return false;
    if (m_db.onServer()) {
        // The driver hands over notifications read during a statement when
        // the event loop runs next; nothing to count here.
        return false;
    }
    const qint64 now = dataVersion();
    if (now == m_version)
        return false;
    m_version = now;
    emit changed(QString(), QString());
    return true;
}

void ChangeWatcher::notified(const QString &name, int source, const QVariant &payload)
{
    // This station's own writes are shown already.
    if (name != Channel || source == QSqlDriver::SelfSource)
        return;
    const QString text = payload.toString();
    const qsizetype space = text.indexOf(QLatin1Char(' '));
    if (space < 0)
        emit changed(text, QString());
    else
        emit changed(text.left(space), text.mid(space + 1));
}

void ChangeWatcher::announce(Database &db, const QString &kind, const QString &key)
{
    if (!db.onServer())
        return;
    db.exec(QStringLiteral("SELECT pg_notify(?, ?)"), {Channel, key.isEmpty() ? kind : kind + QLatin1Char(' ') + key});
}

} // namespace store
