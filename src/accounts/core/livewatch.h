#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

namespace store {
class ChangeWatcher;
class Database;
}

namespace accounts {

// Hears of other stations' changes for one window and says when the window
// should read again what it shows. A change the window does not show is
// ignored; one that arrives in the middle of a command, a transaction, a
// wait or under an open message box is held back and tried again shortly.
class LiveWatch : public QObject {
    Q_OBJECT
public:
    // Whether a change of `kind` `key` touches what the window shows. An
    // empty kind (the data file only says that something changed) and
    // "data" (everything replaced) always do.
    using Shows = std::function<bool(const QString &kind, const QString &key)>;

    LiveWatch(store::Database &db, Shows shows, QObject *parent = nullptr);
    ~LiveWatch() override;

    void start();
    void stop();
    // False while the window may not be re-read (a message box is open).
    void setQuietCheck(std::function<bool()> quiet) { m_quiet = std::move(quiet); }
    store::ChangeWatcher &watcher() { return *m_watcher; }
    bool pending() const { return m_pending; }

signals:
    void due();   // read again what is shown

private:
    void heard(const QString &kind, const QString &key);
    void deliver();

    store::Database &m_db;
    Shows m_shows;
    std::unique_ptr<store::ChangeWatcher> m_watcher;
    std::function<bool()> m_quiet;
    QTimer m_retry;
    bool m_pending = false;
};

} // namespace accounts
