#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <utility>

namespace store {

// A PostgreSQL connection string as libpq reads it: key=value pairs (values
// in single quotes where they hold blanks), or a postgresql:// URI, turned
// into pairs. Later pairs override earlier ones, as in libpq.
class ConnInfo {
public:
    // nullopt, with the reason in `error`, for text libpq would not read.
    static std::optional<ConnInfo> parse(const QString &text, QString *error = nullptr);

    bool has(const QString &key) const;
    QString value(const QString &key) const;
    void set(const QString &key, const QString &value);
    void remove(const QString &key);
    const QList<std::pair<QString, QString>> &pairs() const { return m_pairs; }

    // key='value' pairs, every value quoted.
    QString toString() const;
    // Where the connection goes, for messages: database, server, port, user,
    // or the service name. Never a password.
    QString describe() const;

private:
    QList<std::pair<QString, QString>> m_pairs;
};

} // namespace store
