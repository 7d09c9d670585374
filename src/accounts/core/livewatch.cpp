#include "accounts/core/livewatch.h"

#include "store/core/changewatcher.h"
#include "store/core/database.h"

namespace accounts {

LiveWatch::LiveWatch(store::Database &db, Shows shows, QObject *parent)
    : QObject(parent), m_db(db), m_shows(std::move(shows)), m_watcher(std::make_unique<store::ChangeWatcher>(db))
{
    connect(m_watcher.get(), &store::ChangeWatcher::changed, this, &LiveWatch::heard);
    m_retry.setSingleShot(true);
    m_retry.setInterval(store::ChangeWatcher::PollMs / 2);
    connect(&m_retry, &QTimer::timeout, this, &LiveWatch::deliver);
}

LiveWatch::~LiveWatch() = default;

void LiveWatch::start()
{
    m_watcher->start();
}

void LiveWatch::stop()
{
    m_watcher->stop();
    m_retry.stop();
    m_pending = false;
}

void LiveWatch::heard(const QString &kind, const QString &key)
{
    if (!kind.isEmpty() && kind != QLatin1String("data") && !m_shows(kind, key))
        return;
    m_pending = true;
    deliver();
}

void LiveWatch::deliver()
{
    if (!m_pending)
        return;
    if (m_db.inTransaction() || m_db.waiting() || (m_quiet && !m_quiet())) {
        m_retry.start();
        return;
    }
    m_pending = false;
    emit due();
}

} // namespace accounts
