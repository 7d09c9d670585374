#include "store/core/conninfo.h"

#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

namespace store {

namespace {

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

// postgresql://[user@][host][:port][/dbname][?key=value&...]
bool parseUri(const QString &text, ConnInfo &out, QString *error)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return fail(error, QStringLiteral("The address %1 cannot be read: %2").arg(text, url.errorString()));
    if (!url.password().isEmpty())
        out.set(QStringLiteral("password"), url.password());
    if (!url.userName().isEmpty())
        out.set(QStringLiteral("user"), url.userName());
    if (!url.host().isEmpty())
        out.set(QStringLiteral("host"), url.host());
    if (url.port() > 0)
        out.set(QStringLiteral("port"), QString::number(url.port()));
    const QString db = url.path().mid(1);
    if (!db.isEmpty())
        out.set(QStringLiteral("dbname"), db);
    const QUrlQuery query(url);
    for (const auto &[k, v] : query.queryItems(QUrl::FullyDecoded))
        out.set(k, v);
    return true;
}

bool parsePairs(const QString &s, ConnInfo &out, QString *error)
{
    int i = 0;
    const int n = static_cast<int>(s.size());
    const auto skip = [&] {
        while (i < n && s[i].isSpace())
            ++i;
    };
    for (;;) {
        skip();
        if (i >= n)
            return true;
        QString key;
        while (i < n && !s[i].isSpace() && s[i] != QLatin1Char('='))
            key += s[i++];
        skip();
        if (i >= n || s[i] != QLatin1Char('='))
            return fail(error, QStringLiteral("\"=\" is missing after \"%1\"").arg(key));
        ++i;
        skip();
        QString value;
        if (i < n && s[i] == QLatin1Char('\'')) {
            ++i;
            bool closed = false;
            while (i < n) {
                if (s[i] == QLatin1Char('\\') && i + 1 < n) {
                    value += s[i + 1];
                    i += 2;
                } else if (s[i] == QLatin1Char('\'')) {
                    ++i;
                    closed = true;
                    break;
                } else {
                    value += s[i++];
                }
            }
            if (!closed)
                return fail(error, QStringLiteral("the quoted value of \"%1\" is not closed").arg(key));
        } else {
            while (i < n && !s[i].isSpace()) {
                if (s[i] == QLatin1Char('\\') && i + 1 < n)
                    ++i;
                value += s[i++];
            }
        }
        if (key.isEmpty())
            return fail(error, QStringLiteral("a value has no name"));
        out.set(key.toLower(), value);
    }
}

QString quoted(const QString &value)
{
    QString v = value;
    v.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

} // namespace

std::optional<ConnInfo> ConnInfo::parse(const QString &text, QString *error)
{
    ConnInfo out;
    const QString t = text.trimmed();
    const bool uri = t.startsWith(QLatin1String("postgresql://")) || t.startsWith(QLatin1String("postgres://"));
    if (!(uri ? parseUri(t, out, error) : parsePairs(t, out, error)))
        return std::nullopt;
    // Qt's driver hands the options on with every ";" turned into a blank.
    for (const auto &[k, v] : out.m_pairs)
        if (v.contains(QLatin1Char(';'))) {
            fail(error, QStringLiteral("the value of \"%1\" holds a \";\", which cannot be passed on").arg(k));
            return std::nullopt;
        }
    return out;
}

bool ConnInfo::has(const QString &key) const
{
    for (const auto &p : m_pairs)
        if (p.first == key)
            return true;
    return false;
}

QString ConnInfo::value(const QString &key) const
{
    for (const auto &p : m_pairs)
        if (p.first == key)
            return p.second;
    return QString();
}

void ConnInfo::set(const QString &key, const QString &value)
{
    for (auto &p : m_pairs)
        if (p.first == key) {
            p.second = value;
            return;
        }
    m_pairs.append({key, value});
}

void ConnInfo::remove(const QString &key)
{
    m_pairs.removeIf([&key](const auto &p) { return p.first == key; });
}

QString ConnInfo::toString() const
{
    QStringList out;
    for (const auto &[k, v] : m_pairs)
        out << k + QLatin1Char('=') + quoted(v);
    return out.join(QLatin1Char(' '));
}

QString ConnInfo::describe() const
{
    QStringList parts;
    if (has(QStringLiteral("dbname")))
        parts << QStringLiteral("database \"%1\"").arg(value(QStringLiteral("dbname")));
    const QString host = value(QStringLiteral("host"));
    const QString addr = value(QStringLiteral("hostaddr"));
    if (!host.isEmpty() || !addr.isEmpty()) {
        const QString h = host.isEmpty() ? addr : host;
        parts << (h.startsWith(QLatin1Char('/')) ? QStringLiteral("on the server at socket folder %1").arg(h)
                                                  : QStringLiteral("on the server %1").arg(h));
    }
    if (has(QStringLiteral("port")))
        parts << QStringLiteral("port %1").arg(value(QStringLiteral("port")));
    if (has(QStringLiteral("user")))
        parts << QStringLiteral("as user \"%1\"").arg(value(QStringLiteral("user")));
    if (has(QStringLiteral("service")))
        parts.prepend(QStringLiteral("service \"%1\"").arg(value(QStringLiteral("service"))));
    if (parts.isEmpty())
        return QStringLiteral("the default PostgreSQL server of this computer");
    return parts.join(QLatin1Char(' '));
}

} // namespace store
