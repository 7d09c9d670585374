#include "store/core/criteria.h"

#include "store/core/dberror.h"
#include "store/core/dialect.h"

#include <QDate>

namespace store {

namespace {

class Parser {
public:
    Parser(const QString &text, const QStringList &fields, const Dialect &dialect, const TableDef *types)
        : m_s(text), m_fields(fields), m_dialect(dialect), m_types(types)
    {
    }

    Condition run()
    {
        Condition c;
        c.sql = expr(c.binds);
        skipSpace();
        if (m_i < m_s.size())
            fail();
        return c;
    }

private:
    [[noreturn]] void fail() const
    {
        throw DbError(DbError::BadCriteria,
                      QStringLiteral("Syntax error in criteria expression: %1").arg(m_s));
    }
    void skipSpace()
    {
        while (m_i < m_s.size() && m_s[m_i].isSpace())
            ++m_i;
    }
    bool keyword(const char *kw)
    {
        skipSpace();
        const QString k = QString::fromLatin1(kw);
        if (m_s.mid(m_i, k.size()).compare(k, Qt::CaseInsensitive) != 0)
            return false;
        const int end = m_i + k.size();
        if (end < m_s.size() && (m_s[end].isLetterOrNumber() || m_s[end] == QLatin1Char('_')))
            return false;
        m_i = end;
        return true;
    }
    QString expr(QVariantList &binds)
    {
        QString out = term(binds);
        for (;;) {
            if (keyword("AND"))
                out += QStringLiteral(" AND ") + term(binds);
            else if (keyword("OR"))
                out += QStringLiteral(" OR ") + term(binds);
            else
                return out;
        }
    }
    QString term(QVariantList &binds)
    {
        // Each NOT and "(" nests a call; far deeper than anyone types, the
        // stack would run out.
        if (++m_depth > MaxDepth)
            fail();
        const struct Leave {
            int &depth;
            ~Leave() { --depth; }
        } leave{m_depth};
        skipSpace();
        if (keyword("NOT"))
            return QStringLiteral("NOT ") + term(binds);
        if (m_i < m_s.size() && m_s[m_i] == QLatin1Char('(')) {
            ++m_i;
            const QString inner = expr(binds);
            skipSpace();
            if (m_i >= m_s.size() || m_s[m_i] != QLatin1Char(')'))
                fail();
            ++m_i;
            return QLatin1Char('(') + inner + QLatin1Char(')');
        }
        const QString f = field();
        skipSpace();
        QString op;
        if (keyword("LIKE")) {
            op = QStringLiteral("LIKE");
        } else {
            for (const char *o : {"<>", "<=", ">=", "=", "<", ">"}) {
                const QString s = QString::fromLatin1(o);
                if (m_s.mid(m_i, s.size()) == s) {
                    op = s;
                    m_i += s.size();
                    break;
                }
            }
        }
        if (op.isEmpty())
            fail();
        QVariant v = value();
        if (op == QLatin1String("LIKE")) {
            QString pattern = v.toString();
            pattern.replace(QLatin1Char('*'), QLatin1Char('%')).replace(QLatin1Char('?'), QLatin1Char('_'));
            v = pattern;
            op = m_dialect.like();
        } else if (const FieldDef *fd = m_types ? m_types->field(f) : nullptr) {
            v = m_dialect.bindValue(v, fd->type);
        }
        binds << v;
        return Dialect::quote(f) + QLatin1Char(' ') + op + QStringLiteral(" ?");
    }
    QString field()
    {
        skipSpace();
        QString name;
        if (m_i < m_s.size() && m_s[m_i] == QLatin1Char('[')) {
            const int end = m_s.indexOf(QLatin1Char(']'), m_i);
            if (end < 0)
                fail();
            name = m_s.mid(m_i + 1, end - m_i - 1);
            m_i = end + 1;
        } else {
            while (m_i < m_s.size() && (m_s[m_i].isLetterOrNumber() || m_s[m_i] == QLatin1Char('_')))
                name += m_s[m_i++];
        }
        for (const QString &f : m_fields)
            if (f.compare(name, Qt::CaseInsensitive) == 0)
                return f;
        throw DbError(DbError::NoSuchField, QStringLiteral("Unknown field in criteria: %1").arg(name));
    }
    QVariant value()
    {
        skipSpace();
        if (m_i >= m_s.size())
            fail();
        const QChar q = m_s[m_i];
        if (q == QLatin1Char('\'') || q == QLatin1Char('"')) {
            QString out;
            ++m_i;
            while (m_i < m_s.size()) {
                if (m_s[m_i] == q) {
                    if (m_i + 1 < m_s.size() && m_s[m_i + 1] == q) { // doubled quote
                        out += q;
                        m_i += 2;
                        continue;
                    }
                    ++m_i;
                    return out;
                }
                out += m_s[m_i++];
            }
            fail();
        }
        if (q == QLatin1Char('#')) {
            const int end = m_s.indexOf(QLatin1Char('#'), m_i + 1);
            if (end < 0)
                fail();
            const QString text = m_s.mid(m_i + 1, end - m_i - 1).trimmed();
            m_i = end + 1;
            QDate d = QDate::fromString(text, Qt::ISODate);
            if (!d.isValid())
                d = QDate::fromString(text, QStringLiteral("M/d/yyyy"));
            if (!d.isValid())
                fail();
            return d.toString(Qt::ISODate);
        }
        QString num;
        if (q == QLatin1Char('-') || q == QLatin1Char('+'))
            num += m_s[m_i++];
        while (m_i < m_s.size() && (m_s[m_i].isDigit() || m_s[m_i] == QLatin1Char('.')))
            num += m_s[m_i++];
        bool ok = false;
        if (num.contains(QLatin1Char('.'))) {
            const double d = num.toDouble(&ok);
            if (ok)
                return d;
        } else {
            const qlonglong n = num.toLongLong(&ok);
            if (ok)
                return n;
        }
        if (keyword("TRUE"))
            return 1;
        if (keyword("FALSE"))
            return 0;
        fail();
    }

    QString m_s;
    QStringList m_fields;
    const Dialect &m_dialect;
    const TableDef *m_types;
    int m_i = 0;
    int m_depth = 0;
    static constexpr int MaxDepth = 200;
};

} // namespace

Condition parseCriteria(const QString &criteria, const QStringList &fields, const Dialect &dialect,
                        const TableDef *types)
{
    return Parser(criteria, fields, dialect, types).run();
}

} // namespace store
