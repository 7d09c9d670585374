#include "app/core/startup.h"

#include "store/core/filecheck.h"
#include "store/core/presence.h"
#include "store/core/serverconfig.h"
#include "store/core/sharelock.h"
#include "store/core/tempfiles.h"
#include "ui/core/prompter.h"

#include <QDir>
#include <QLocale>
#include <QFile>
#include <QFileInfo>

namespace app {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString closing()
{
    return QStringLiteral("\n\nQuillon will now close.");
}

// What to do about a file that is there but cannot be used.
QString restoreAdvice(const QString &path, store::Database::Kind kind)
{
    if (kind == store::Database::Kind::Station)
        return QStringLiteral("This file holds no practice data. Remove it and start the program "
                              "again: it will be made anew.");
    return QStringLiteral("Restore %1 from your latest backup copy into\n%2\nand start the program "
                          "again. Keep the unusable file until your data is back.")
        .arg(QFileInfo(path).fileName(), QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
}

QString withoutStop(QString s)
{
    s = s.trimmed();
    while (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return s;
}

} // namespace

QString Startup::dbPath(const QString &dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral("db.mdb"));
}

QString Startup::stationPath(const QString &dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral("dbn.mdb"));
}

QString Startup::lostText(const QString &dbPath, const QString &stationPath)
{
    return QStringLiteral(
               "The database file\n%1\nis missing, but the station file dbn.mdb is still beside "
               "it: the practice's data has been lost or moved.\n\n"
               "Restore db.mdb from your latest backup copy into\n%2\nand start the program "
               "again.\n\nOnly if you want to start anew with an empty database, remove\n%3\nand "
               "start the program again.")
               .arg(shown(dbPath), QDir::toNativeSeparators(QFileInfo(dbPath).absolutePath()),
                    shown(stationPath)) +
           closing();
}

QString Startup::failureText(const QString &path, store::Database::Kind kind,
                             const store::Database::OpenResult &r)
{
    using S = store::Database::Status;
    const QString file = kind == store::Database::Kind::Station ? QStringLiteral("station file")
                                                                : QStringLiteral("database file");
    const QString head = QStringLiteral("The %1\n%2\n").arg(file, shown(path));
    QString text;
    switch (r.status) {
    case S::Opened:
    case S::Created: return QString();
    case S::Missing:
        text = head + QStringLiteral("does not exist.\n\n") + restoreAdvice(path, kind);
        break;
    case S::Unreadable:
        text = head +
               QStringLiteral("cannot be read or written: %1.\n\n"
                              "Check that the file is not read-only, that you are allowed to read "
                              "and write it, and that its folder can be reached (on a network, "
                              "that the drive is connected). Then start the program again.")
                   .arg(withoutStop(r.detail));
        break;
    case S::Foreign:
        text = head +
               (QFileInfo(path).size() == 0
                    ? QStringLiteral("is empty: it is not a database of this program.\n\n")
                    : QStringLiteral("is not a database of this program. It may be damaged, or "
                                     "another file was saved under its name.\n\n")) +
               restoreAdvice(path, kind);
        break;
    case S::Incomplete:
        text = head +
               QStringLiteral("is incomplete: these tables are missing:\n%1\n\n").arg(r.detail) +
               restoreAdvice(path, kind);
        break;
    case S::TooNew:
        text = head +
               QStringLiteral("was made by a later version of the program (%1); this is version "
                              "3.8.\n\nUse the later version of the program, or restore a backup "
                              "copy made with this version.")
                   .arg(withoutStop(r.detail));
        break;
    case S::Unreachable:
    case S::LoginRefused:
    case S::Empty:
    case S::Failed:
        text = head +
               QStringLiteral("could not be opened: %1.\n\nCheck that its folder can be reached "
                              "and that there is room on the disk, then start the program again.")
                   .arg(withoutStop(r.detail));
        break;
    }
    return text + closing();
}

QString Startup::damagedText(const QString &path, store::Database::Kind kind, const QString &detail)
{
    const QString file = kind == store::Database::Kind::Station ? QStringLiteral("station file")
                                                                : QStringLiteral("database file");
    return QStringLiteral("The %1\n%2\nis damaged: %3\n\n")
               .arg(file, shown(path), withoutStop(detail)) +
           restoreAdvice(path, kind) + closing();
}

QString Startup::folderText(const QString &dbPath, const QString &reason)
{
    return QStringLiteral("No file can be made in the folder of the database\n%1\n(%2).\n\n"
                          "The program makes a short-lived journal file beside db.mdb at every "
                          "save, so it cannot save anything there. Make sure you are allowed to "
                          "create and delete files in that folder (on a network, in the shared "
                          "folder), then start the program again.")
               .arg(QDir::toNativeSeparators(QFileInfo(dbPath).absolutePath()), withoutStop(reason)) +
           closing();
}

bool Startup::fail(const QString &text)
{
    m_db.close();
    m_prompter.message(text, title(), ui::Icon::Critical);
    return false;
}

bool Startup::open(const QString &dataDir)
{
    m_created = false;
    // What a killed backup or restore of this computer left behind.
    store::removeStaleTemporaries(dataDir);
    if (store::ServerConfig::exists(dataDir))
        return openServer(dataDir);
    const QString db = dbPath(dataDir);
    const QString station = stationPath(dataDir);
    const bool dbThere = QFileInfo::exists(db);

    // The station file is made together with db.mdb: if it is there alone,
    // the database was lost, and a new empty one would hide that.
    if (!dbThere && QFileInfo::exists(station))
        return fail(lostText(db, station));

    // Nothing is written to a file until its pages are known to be sound.
    if (dbThere)
        if (const auto damage = store::FileCheck::damage(db))
            return fail(damagedText(db, store::Database::Kind::Main, *damage));
    if (const auto why = store::FileCheck::cannotCreateIn(dataDir))
        return fail(folderText(db, *why));

    const auto r = m_db.open(db, store::Database::Kind::Main, !dbThere);
    if (!r.ok()) {
        if (!dbThere && QFileInfo::exists(db)) {
            // A half-made new file would look damaged at the next start.
            m_db.close();
            QFile::remove(db);
        }
        return fail(failureText(db, store::Database::Kind::Main, r));
    }
    m_created = r.status == store::Database::Status::Created;
    return openStation(station);
}

bool Startup::openStation(const QString &path)
{
    const bool there = QFileInfo::exists(path);
    if (there)
        if (const auto damage = store::FileCheck::damage(path))
            return fail(damagedText(path, store::Database::Kind::Station, *damage));
    store::Database station;
    const auto r = station.open(path, store::Database::Kind::Station, true);
    station.close();
    if (r.ok())
        return true;
    if (!there && QFileInfo::exists(path))
        QFile::remove(path);
    return fail(failureText(path, store::Database::Kind::Station, r));
}


// A station on a server -------------------------------------------------

QString Startup::configText(const QString &confPath, const QString &error)
{
    return QStringLiteral("The server settings file\n%1\ncannot be used: %2.\n\nCorrect it, or remove it "
                          "to keep the practice's data in db.mdb in that folder.")
               .arg(shown(confPath), withoutStop(error)) +
           closing();
}

QString Startup::serverFailureText(const QString &server, const QString &dataDir,
                                   const store::Database::OpenResult &r)
{
    using S = store::Database::Status;
    const QString head = QStringLiteral("The practice's database\n%1\n").arg(server);
    const QString conf = shown(store::ServerConfig::path(dataDir));
    QString text;
    switch (r.status) {
    case S::Opened:
    case S::Created: return QString();
    case S::Unreachable:
        text = head + QStringLiteral("cannot be reached: %1.\n\nCheck that the server computer is on and "
                                     "connected to the network, that the database server runs on it, and "
                                     "that the settings in\n%2\nname it correctly. Then start the program "
                                     "again.")
                          .arg(withoutStop(r.detail), conf);
        break;
    case S::LoginRefused:
        text = head + QStringLiteral("refused the login: %1.\n\nCheck the user name in\n%2\nand that the "
                                     "password of that user is in your password file (pgpass) or in the "
                                     "service file. The server's administrator can tell you which login "
                                     "to use.")
                          .arg(withoutStop(r.detail), conf);
        break;
    case S::Missing:
        text = head + QStringLiteral("does not exist on that server: %1.\n\nAsk the server's administrator "
                                     "to create it (an empty database is made ready by the program), or "
                                     "correct the database name in\n%2")
                          .arg(withoutStop(r.detail), conf);
        break;
    case S::Empty:
        if (QFileInfo::exists(dbPath(dataDir)))
            text = head + QStringLiteral("is empty, and this station keeps its data in\n%1\n\nCopy that "
                                         "file to the server first, with the program that comes with Quillon:\n"
                                         "    quillon-db import \"%1\" \"<the settings of server.conf>\"\n"
                                         "and start the program again.")
                              .arg(shown(dbPath(dataDir)));
        else
            text = head + QStringLiteral("is empty, but this station has used a database before: the "
                                         "practice's data may have been lost or moved.\n\nRestore it "
                                         "from your latest backup copy (quillon-db import) and start the "
                                         "program again.\n\nOnly if you want to start anew with an empty "
                                         "database, remove\n%1\nand start the program again.")
                              .arg(shown(stationPath(dataDir)));
        break;
    case S::Incomplete:
        text = head + QStringLiteral("is incomplete: these tables are missing:\n%1\n\nIt may hold another "
                                     "program's tables, or a copy to it was cut short. Name the practice's "
                                     "database in\n%2\nor restore it from your latest backup copy "
                                     "(quillon-db import).")
                          .arg(r.detail, conf);
        break;
    case S::TooNew:
        text = head + QStringLiteral("was made by a later version of the program (%1); this is version "
                                     "3.8.\n\nUse the later version of the program on this station.")
                          .arg(withoutStop(r.detail));
        break;
    case S::Unreadable:
    case S::Foreign:
    case S::Failed:
        text = head + QStringLiteral("could not be opened: %1.\n\nStart the program again; if this "
                                     "happens again, tell the server's administrator this message.")
                          .arg(withoutStop(r.detail));
        break;
    }
    return text + closing();
}

bool Startup::openServer(const QString &dataDir)
{
    const store::ServerConfig conf = store::ServerConfig::read(dataDir);
    if (!conf.ok())
        return fail(configText(store::ServerConfig::path(dataDir), conf.error()));
    // Only a station that never kept data makes an empty server database
    // ready: elsewhere an empty one hides data left behind or lost.
    const bool used = QFileInfo::exists(dbPath(dataDir)) || QFileInfo::exists(stationPath(dataDir));
    const auto r = m_db.openServer(conf.conninfo(), !used);
    if (!r.ok())
        return fail(serverFailureText(m_db.where(), dataDir, r));
    m_created = r.status == store::Database::Status::Created;
    return openStation(stationPath(dataDir));
}

} // namespace app

namespace app {

QString Startup::unsharedLocksText(const QString &folder, const QString &stations)
{
    return QStringLiteral("The folder that holds the practice's data, %1, does not pass locks from one workstation "
                          "to another: this station could take the locks of\n%2\nTwo stations writing there "
                          "could spoil each other's work, so this station opens nothing.\n\nPlease keep the "
                          "practice's data on a database server instead (a server.conf beside the program names "
                          "it; the README's \"A station on a PostgreSQL server\" tells how), or ask whoever "
                          "looks after the network to make the share pass locks.")
        .arg(QDir::toNativeSeparators(folder), stations);
}

bool Startup::joinStations(store::Presence &presence, store::ShareLock &lock, const QDateTime &now)
{
    try {
        if (!m_db.onServer()) {
            const auto unreached = store::ShareLock::unreachedLocks(
                m_db.path(), store::Presence::others(m_db, now), m_db.station().host);
            if (!unreached.empty())
                return fail(unsharedLocksText(QFileInfo(m_db.path()).absolutePath(),
                                              store::Presence::listing(unreached)));
            lock.take(m_db.path());
        }
        presence.join(lock.byte(), lock.held());
    } catch (const store::DbError &) {
        // It runs unlisted: the others' counts and warnings leave it out.
    }
    return true;
}

QString Startup::indexProgressText(int done, int total)
{
    const QLocale en(QLocale::English);
    return QStringLiteral("Building the search index: %1 of %2 pages").arg(en.toString(done), en.toString(total));
}

} // namespace app
