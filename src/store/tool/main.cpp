// quillon-db: moves a practice's data between a db.mdb file and a database
// server.
//   quillon-db import <db.mdb> <server>   copy the file into an empty server database
//   quillon-db export <server> <db.mdb>   write the server's data into a new file
//   quillon-db stations <db.mdb|server>   list the stations running on a practice's data
// <server> is a libpq connection string (such as "host=clinic-server
// dbname=practice user=desk" or "service=practice"), or the path of a
// server.conf holding one.

#include "store/core/database.h"
#include "store/core/presence.h"
#include "store/core/serverconfig.h"
#include "store/core/transfer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

int usage()
{
    err() << "usage: quillon-db import <db.mdb> <server>\n"
             "       quillon-db export <server> <db.mdb>\n"
             "       quillon-db stations <db.mdb|folder|server>\n"
             "<server>: a PostgreSQL connection string, or a server.conf file holding one\n";
    err().flush();
    return 2;
}

int failed(const QString &text)
{
    err() << "quillon-db: " << text << "\n";
    err().flush();
    return 1;
}

// The connection string given, or the one in the server.conf named.
bool serverOf(const QString &arg, QString *conninfo, QString *error)
{
    const QFileInfo file(arg);
    if (!file.isFile()) {
        *conninfo = arg;
        return true;
    }
    QFile f(arg);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("%1 cannot be read: %2").arg(arg, f.errorString());
        return false;
    }
    const auto conf = store::ServerConfig::fromText(QString::fromUtf8(f.readAll()));
    if (!conf.ok()) {
        *error = QStringLiteral("%1 cannot be used: %2").arg(arg, conf.error());
        return false;
    }
    *conninfo = conf.conninfo();
    return true;
}

void report(const QString &table, int records)
{
    out() << "  " << table << ": " << records << " records\n";
    out().flush();
}

int importFile(const QString &path, const QString &server)
{
    if (!QFileInfo::exists(path))
        return failed(QStringLiteral("%1 does not exist").arg(path));
    store::Database file;
    const auto r = file.open(path, store::Database::Kind::Main, false);
    if (!r.ok())
        return failed(QStringLiteral("%1 cannot be opened: %2").arg(path, r.detail));
    store::Database db;
    const auto s = db.openServer(server, false);
    if (s.status != store::Database::Status::Empty)
        return failed(s.ok() ? QStringLiteral("%1 is not empty: copy only into an empty database")
                                   .arg(db.where())
                             : QStringLiteral("%1 cannot be opened: %2").arg(db.where(), s.detail));
    out() << "Copying " << path << " to " << db.where() << "\n";
    try {
        store::Transfer::toEmptyServer(file, db, report);
    } catch (const store::DbError &e) {
        return failed(QStringLiteral("nothing was copied: %1").arg(e.numbered()));
    }
    out() << "Done.\n";
    return 0;
}

int exportServer(const QString &server, const QString &path)
{
    if (QFileInfo::exists(path))
        return failed(QStringLiteral("%1 already exists: name a new file").arg(path));
    store::Database db;
    const auto s = db.openServer(server, false);
    if (s.status != store::Database::Status::Opened)
        return failed(QStringLiteral("%1 cannot be opened: %2")
                          .arg(db.where(), s.status == store::Database::Status::Empty
                                               ? QStringLiteral("it is empty")
                                               : s.detail));
    out() << "Writing " << db.where() << " to " << path << "\n";
    store::Database file;
    const auto r = file.open(path, store::Database::Kind::Main, true);
    try {
        if (r.status != store::Database::Status::Created)
            throw store::DbError(store::DbError::General, r.detail);
        store::Transfer::toNewFile(db, file, report);
        file.exec(QStringLiteral("PRAGMA integrity_check"));
    } catch (const store::DbError &e) {
        file.close();
        QFile::remove(path);
        return failed(QStringLiteral("no file was written: %1").arg(e.numbered()));
    }
    out() << "Done.\n";
    return 0;
}

int listStations(const QString &arg)
{
    store::Database db;
    store::Database::OpenResult r;
    const QFileInfo info(arg);
    if (info.isDir() || info.suffix().compare(QLatin1String("mdb"), Qt::CaseInsensitive) == 0) {
        const QString path = info.isDir() ? QDir(arg).filePath(QStringLiteral("db.mdb")) : arg;
        if (!QFileInfo::exists(path))
            return failed(QStringLiteral("%1 does not exist").arg(path));
        r = db.open(path, store::Database::Kind::Main, false);
    } else {
        QString conninfo, error;
        if (!serverOf(arg, &conninfo, &error))
            return failed(error);
        r = db.openServer(conninfo, false);
    }
    if (!r.ok())
        return failed(QStringLiteral("%1 cannot be opened: %2").arg(db.where(), r.detail));
    const QDateTime now = QDateTime::currentDateTime();
    std::vector<store::StationSeen> running;
    try {
        running = store::Presence::running(db, now);
    } catch (const store::DbError &e) {
        return failed(QStringLiteral("the stations cannot be read: %1").arg(e.numbered()));
    }
    if (running.empty()) {
        out() << "No station is running on " << db.where() << ".\n";
    } else {
        out() << running.size() << (running.size() == 1 ? " station" : " stations") << " running on " << db.where()
              << ":\n";
        for (const store::StationSeen &st : running)
            out() << "  " << st.label() << ", since " << st.since.toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                  << ", last seen " << st.lastSeen.toString(QStringLiteral("HH:mm:ss"))
                  << (st.lockByte >= 0 ? (st.lockHeld ? ", holds its lock" : ", holds no lock") : "") << "\n";
    }
    out().flush();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("stations"))
        return listStations(args[1]);
    if (args.size() != 3)
        return usage();
    QString conninfo, error;
    if (args[0] == QLatin1String("import")) {
        if (!serverOf(args[2], &conninfo, &error))
            return failed(error);
        return importFile(args[1], conninfo);
    }
    if (args[0] == QLatin1String("export")) {
        if (!serverOf(args[1], &conninfo, &error))
            return failed(error);
        return exportServer(conninfo, args[2]);
    }
    return usage();
}
