#pragma once

#include "store/core/database.h"

#include <QString>

namespace ui {
class Prompter;
}

namespace store {
class Presence;
class ShareLock;
}

namespace app {

// Opens the practice's database at start: db.mdb in the data folder,
// created with the station file dbn.mdb beside it on the first start; or,
// when server.conf is there, the database on the server it names. A file or
// server database that cannot be used is never replaced or emptied: the user
// is told which one it is and what to do, and the program closes.
class Startup {
public:
    Startup(store::Database &db, ui::Prompter &prompter) : m_db(db), m_prompter(prompter) {}

    // True when db.mdb is open and ready; otherwise the message has been shown.
    bool open(const QString &dataDir);
    // db.mdb was made by this start.
    bool created() const { return m_created; }

    static QString dbPath(const QString &dataDir);
    static QString stationPath(const QString &dataDir);
    static QString title() { return QStringLiteral("Open Database"); }

    // What the user is told when `path` cannot be opened.
    static QString failureText(const QString &path, store::Database::Kind kind,
                               const store::Database::OpenResult &result);
    static QString damagedText(const QString &path, store::Database::Kind kind, const QString &detail);
    static QString folderText(const QString &dbPath, const QString &reason);
    static QString lostText(const QString &dbPath, const QString &stationPath);
    static QString serverFailureText(const QString &server, const QString &dataDir,
                                     const store::Database::OpenResult &result);
    static QString configText(const QString &confPath, const QString &error);
    // The line shown while the search index is built at start.
    static QString indexProgressText(int done, int total);

    // Records this station among those running. On db.mdb it first checks
    // that the folder passes locks between workstations; false (and the
    // user told) when it does not: the station must then write nothing.
    bool joinStations(store::Presence &presence, store::ShareLock &lock, const QDateTime &now);
    static QString unsharedLocksText(const QString &folder, const QString &stations);

private:
    bool fail(const QString &text);
    bool openStation(const QString &path);
    bool openServer(const QString &dataDir);

    store::Database &m_db;
    ui::Prompter &m_prompter;
    bool m_created = false;
};

} // namespace app
