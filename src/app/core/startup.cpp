#include "app/core/startup.h"

#include "store/core/filecheck.h"
#include "ui/core/prompter.h"

#include <QDir>
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

QString Startup::dbPath(const QString &appDir)
{
    return QDir(appDir).filePath(QStringLiteral("db.mdb"));
}

QString Startup::stationPath(const QString &appDir)
{
    return QDir(appDir).filePath(QStringLiteral("dbn.mdb"));
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

bool Startup::open(const QString &appDir)
{
    m_created = false;
    const QString db = dbPath(appDir);
    const QString station = stationPath(appDir);
    const bool dbThere = QFileInfo::exists(db);

    // The station file is made together with db.mdb: if it is there alone,
    // the database was lost, and a new empty one would hide that.
    if (!dbThere && QFileInfo::exists(station))
        return fail(lostText(db, station));

    // Nothing is written to a file until its pages are known to be sound.
    if (dbThere)
        if (const auto damage = store::FileCheck::damage(db))
            return fail(damagedText(db, store::Database::Kind::Main, *damage));
    if (const auto why = store::FileCheck::cannotCreateIn(appDir))
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

} // namespace app
