#include "store/core/filecheck.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryFile>
#include <atomic>

namespace store {

namespace {

std::atomic<int> g_checks{0};

// Result codes of a file whose pages are not what its header says.
bool isCorruption(const QSqlError &e)
{
    const QString code = e.nativeErrorCode();
    return code == QLatin1String("11") || code == QLatin1String("26");
}

std::optional<QString> quickCheck(QSqlDatabase &db)
{
    QSqlQuery q(db);
    // Another station's save may hold the file for a moment.
    q.exec(QStringLiteral("PRAGMA busy_timeout=10000"));
    if (!q.exec(QStringLiteral("PRAGMA quick_check"))) {
        if (isCorruption(q.lastError()))
            return q.lastError().databaseText();
        return std::nullopt;   // busy or unreadable: the open reports it
    }
    QStringList faults;
    while (q.next()) {
        const QString line = q.value(0).toString();
        if (line != QLatin1String("ok"))
            faults << line;
    }
    if (q.lastError().isValid() && isCorruption(q.lastError()))
        faults << q.lastError().databaseText();
    if (faults.isEmpty())
        return std::nullopt;
    // The first faults say enough; a badly damaged file lists hundreds.
    QString text = faults.mid(0, 3).join(QLatin1Char('\n'));
    return text.left(400);
}

} // namespace

std::optional<QString> FileCheck::damage(const QString &path)
{
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly) || f.read(16) != QByteArray("SQLite format 3\0", 16))
            return std::nullopt;
    }
    const QString name = QStringLiteral("quillon-check-%1").arg(++g_checks);
    std::optional<QString> found;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open()) {
            found = quickCheck(db);
            db.close();
        } else if (isCorruption(db.lastError())) {
            found = db.lastError().databaseText();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return found;
}

std::optional<QString> FileCheck::cannotCreateIn(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("quillon-probe-XXXXXX")));
    if (probe.open())
        return std::nullopt;
    return probe.errorString();
}

} // namespace store
