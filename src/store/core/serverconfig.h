#pragma once

#include "store/core/conninfo.h"

#include <QString>
#include <optional>

namespace store {

// The station's choice of a database server: server.conf in the data
// folder. Without the file the station keeps its data in db.mdb. The file
// holds one libpq connection string (key=value pairs or a postgresql:// URI,
// possibly just "service=name"); blank lines and lines starting with # are
// ignored. A password is refused: it belongs in the user's password file or
// the service file, not in a file every station user can read.
class ServerConfig {
public:
    static QString fileName() { return QStringLiteral("server.conf"); }
    static QString path(const QString &dataDir);
    static bool exists(const QString &dataDir);

    // Reads the file; check ok() and error().
    static ServerConfig read(const QString &dataDir);
    static ServerConfig fromText(const QString &text);

    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    QString conninfo() const { return m_info ? m_info->toString() : QString(); }
    QString describe() const { return m_info ? m_info->describe() : QString(); }

private:
    std::optional<ConnInfo> m_info;
    QString m_error;
};

} // namespace store
