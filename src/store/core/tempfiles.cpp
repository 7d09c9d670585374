#include "store/core/tempfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSysInfo>
#include <cerrno>
#include <signal.h>

namespace store {

namespace {

QString host()
{
    QString h = QSysInfo::machineHostName();
    h.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    return h.isEmpty() ? QStringLiteral("host") : h;
}

bool running(qint64 pid)
{
    if (pid <= 0)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

} // namespace

QString partialName(const QString &path)
{
    return path + QStringLiteral(".partial-%1-%2").arg(host()).arg(QCoreApplication::applicationPid());
}

int removeStaleTemporaries(const QString &folder, const QDateTime &now)
{
    static const QRegularExpression name(QStringLiteral("\\.partial-(?:(.+)-)?(\\d+)(?:-journal)?$"));
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return 0;
    int removed = 0;
    const QString here = host();
    for (const QFileInfo &f : dir.entryInfoList({QStringLiteral("*.partial-*")}, QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch m = name.match(f.fileName());
        if (!m.hasMatch())
            continue;
        const qint64 pid = m.captured(2).toLongLong();
        const bool ours = m.captured(1) == here;
        if (ours && pid == QCoreApplication::applicationPid())
            continue;   // this process's own, still being written
        const bool stale = ours ? !running(pid) : f.lastModified().secsTo(now) > 24 * 3600;
        if (stale && QFile::remove(f.absoluteFilePath()))
            ++removed;
    }
    return removed;
}

} // namespace store
