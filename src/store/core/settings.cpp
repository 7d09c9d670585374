#include "store/core/settings.h"

#include "store/core/database.h"
#include "store/core/schema.h"
#include "store/core/timetext.h"

#include <QSqlRecord>

namespace store {

namespace {
const char *const DayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

QString firstRecordSql()
{
    return QStringLiteral("SELECT * FROM %1 ORDER BY %2 LIMIT 1")
        .arg(Dialect::quote(tables::Setup), Dialect::quote("ID"));
}
} // namespace

QString Settings::templateField(int dayOfWeek)
{
    return QString::fromLatin1(DayNames[dayOfWeek % 7]);
}

QString Settings::closedField(int dayOfWeek)
{
    return QStringLiteral("chk%1").arg(dayOfWeek % 7 + 1);
}

int Settings::openMinutes() const
{
    return parseTime(open).value_or(8 * 60);
}

int Settings::closeMinutes() const
{
    return parseTime(close).value_or(17 * 60);
}

Settings SettingsStore::load() const
{
    Settings s;
    const auto rec = m_db.selectOne(firstRecordSql());
    if (!rec)
        throw DbError(DbError::NoCurrentRecord,
                             QStringLiteral("The settings record is missing."));
    const QSqlRecord &r = *rec;
    s.id = r.value("ID").toInt();
    s.location = r.value("location").toString();
    s.open = r.value("open").toString();
    s.close = r.value("Close").toString();
    s.timeslot = r.value("timeslot").toInt();
    s.rHeight = r.value("RHeight").toInt();
    s.listno = r.value("Listno").toInt();
    s.names = r.value("names").toString();
    s.cwidth = r.value("cwidth").toString();
    s.bookNo = r.value("BookNo").toString();
    s.fixedMemo = r.value("FixedMemo").toString();
    s.timer1 = Database::toBool(r.value("Timer1"));
    s.refresh = r.value("Refresh").toInt();
    for (int d = 0; d < 7; ++d) {
        s.templates[d] = r.value(QString::fromLatin1(DayNames[d])).toString();
        s.closed[d] = Database::toBool(r.value(QStringLiteral("chk%1").arg(d + 1)));
    }
    s.blockout = r.value("Blockout").toString();
    return s;
}

int SettingsStore::recordId() const
{
    const QVariant id = m_db.scalar(QStringLiteral("SELECT %1 FROM %2 ORDER BY %1 LIMIT 1")
                                        .arg(Dialect::quote("ID"),
                                             Dialect::quote(tables::Setup)));
    if (!id.isValid())
        throw DbError(DbError::NoCurrentRecord,
                             QStringLiteral("The settings record is missing."));
    return id.toInt();
}

void SettingsStore::write(const QVariantMap &fields)
{
    WriteTransaction tx(m_db);
    m_db.update(tables::Setup, recordId(), fields);
    tx.commit();
}

std::optional<QVariant> SettingsStore::writeIfUnchanged(const QString &name, const QVariant &expected,
                                                        const QVariant &value)
{
    const auto stored = writeIfUnchanged(QVariantMap{{name, expected}}, QVariantMap{{name, value}});
    return stored ? std::optional<QVariant>(stored->value(name)) : std::nullopt;
}

std::optional<QVariantMap> SettingsStore::writeIfUnchanged(const QVariantMap &expected, const QVariantMap &values)
{
    WriteTransaction tx(m_db);
    // The row stays locked until the write, so no other station's value can
    // slip in between the check and the write.
    const auto rec = m_db.selectOneForUpdate(firstRecordSql());
    if (!rec)
        throw DbError(DbError::NoCurrentRecord, QStringLiteral("The settings record is missing."));
    QVariantMap stored;
    bool same = true;
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const QVariant now = rec->value(it.key());
        stored.insert(it.key(), now);
        // A yes/no field reads back as a number or a boolean, by engine; a
        // number field left empty reads as 0, as the settings load it.
        switch (it->typeId()) {
        case QMetaType::Bool: same = same && Database::toBool(now) == it->toBool(); break;
        case QMetaType::Int:
        case QMetaType::LongLong: same = same && now.toLongLong() == it->toLongLong(); break;
        default: same = same && now.toString() == it->toString(); break;
        }
    }
    if (!same)
        return stored;   // the transaction rolls back
    m_db.update(tables::Setup, recordId(), values);
    tx.commit();
    return std::nullopt;
}

QVariant SettingsStore::field(const QString &name) const
{
    const auto rec = m_db.selectOne(firstRecordSql());
    if (!rec)
        throw DbError(DbError::NoCurrentRecord,
                             QStringLiteral("The settings record is missing."));
    const int i = rec->indexOf(name);
    if (i < 0)
        throw DbError(DbError::NoSuchField,
                             QStringLiteral("Item not found in this collection: %1").arg(name));
    return rec->value(i);
}

} // namespace store
