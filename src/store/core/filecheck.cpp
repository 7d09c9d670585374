#include "store/core/filecheck.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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

namespace {

constexpr int HeaderSize = 100;

quint32 bigEndian(const QByteArray &b, int at, int bytes)
{
    quint32 v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | static_cast<quint8>(b[at + i]);
    return v;
}

// What the header says that the file's size contradicts: a file cut short,
// or a header that is not one. Costs one read of 100 bytes.
std::optional<QString> headerFault(const QByteArray &header, qint64 size)
{
    quint32 pageSize = bigEndian(header, 16, 2);
    if (pageSize == 1)
        pageSize = 65536;
    if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0)
        return QStringLiteral("The file's header names a page size of %1 bytes.").arg(pageSize);
    // The page count in the header is current when the change counter
    // matches the one stored beside it.
    const quint32 pages = bigEndian(header, 28, 4);
    if (pages > 0 && bigEndian(header, 24, 4) == bigEndian(header, 92, 4) &&
        static_cast<qint64>(pages) * pageSize > size)
        return QStringLiteral("The file holds %1 bytes where its header counts %2 pages of %3 bytes.")
            .arg(size)
            .arg(pages)
            .arg(pageSize);
    return std::nullopt;
}

// A save that did not end (the program or the computer stopped in it) left
// its journal beside the file.
bool interruptedSave(const QString &path)
{
    for (const char *suffix : {"-journal", "-wal"}) {
        const QFileInfo f(path + QLatin1String(suffix));
        if (f.exists() && f.size() > 0)
            return true;
    }
    return false;
}

QString cleanMark(const QString &path)
{
    return path + QStringLiteral(".clean");
}

// The file as it stands: its header (with the change counter that every
// save moves), size and times. The change time cannot be set back by any
// program, so a file written by anything since keeps no fingerprint.
QByteArray fingerprint(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray header = f.read(HeaderSize);
    const QFileInfo info(path);
    return header.toHex() + ' ' + QByteArray::number(info.size()) + ' ' +
           QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + ' ' +
           QByteArray::number(info.metadataChangeTime().toMSecsSinceEpoch());
}

} // namespace

std::optional<QString> FileCheck::damage(const QString &path)
{
    QByteArray header;
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return std::nullopt;
        header = f.read(HeaderSize);
        if (!header.startsWith(QByteArray("SQLite format 3\0", 16)))
            return std::nullopt;
        if (header.size() < HeaderSize)
            return QStringLiteral("The file ends inside its header.");
        if (auto fault = headerFault(header, f.size()))
            return fault;
    }
    // The whole check reads every page: left out only when the file is
    // exactly as a clean close left it, written by nothing since.
    if (!interruptedSave(path)) {
        QFile mark(cleanMark(path));
        if (mark.open(QIODevice::ReadOnly) && mark.readAll() == fingerprint(path))
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

bool FileCheck::closedCleanly(const QString &path)
{
    QFile::remove(cleanMark(path));
    if (!QFileInfo::exists(path) || interruptedSave(path))
        return false;
    const QByteArray print = fingerprint(path);
    if (print.isEmpty())
        return false;
    QSaveFile mark(cleanMark(path));
    if (!mark.open(QIODevice::WriteOnly))
        return false;
    mark.write(print);
    return mark.commit();
}

std::optional<QString> FileCheck::cannotCreateIn(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("quillon-probe-XXXXXX")));
    if (probe.open())
        return std::nullopt;
    return probe.errorString();
}

} // namespace store
