#include "store/core/serverconfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace store {

QString ServerConfig::path(const QString &dataDir)
{
    return QDir(dataDir).filePath(fileName());
}

bool ServerConfig::exists(const QString &dataDir)
{
    return QFileInfo::exists(path(dataDir));
}

ServerConfig ServerConfig::read(const QString &dataDir)
{
    QFile f(path(dataDir));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        ServerConfig c;
        c.m_error = QStringLiteral("it cannot be read: %1").arg(f.errorString());
        return c;
    }
    return fromText(QString::fromUtf8(f.readAll()));
}

ServerConfig ServerConfig::fromText(const QString &text)
{
    ServerConfig c;
    QStringList lines;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString t = line.trimmed();
        if (!t.isEmpty() && !t.startsWith(QLatin1Char('#')))
            lines << t;
    }
    if (lines.isEmpty()) {
        c.m_error = QStringLiteral("it names no server");
        return c;
    }
    QString why;
    c.m_info = ConnInfo::parse(lines.join(QLatin1Char(' ')), &why);
    if (!c.m_info) {
        c.m_error = QStringLiteral("it cannot be read: %1").arg(why);
    } else if (c.m_info->has(QStringLiteral("password"))) {
        c.m_info.reset();
        c.m_error = QStringLiteral("it holds a password. Remove it from the file and keep it in the "
                                   "password file of the user who runs the program (pgpass)");
    }
    return c;
}

} // namespace store
