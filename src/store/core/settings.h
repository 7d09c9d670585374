#pragma once

#include "store/core/edit.h"

#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <functional>
#include <optional>

namespace store {

class Database;

// The practice settings: the single record of tbl_Setup.
struct Settings {
    int id = 0;
    QString location;
    QString open;            // "08:00 AM"
    QString close;           // "05:00 PM"
    int timeslot = 30;
    int rHeight = 1;
    int listno = 3;
    QString names;           // each followed by "%"
    QString cwidth;          // each followed by "%"
    QString bookNo;
    QString fixedMemo;
    bool timer1 = false;
    int refresh = 20;
    std::array<QString, 7> templates;   // Sunday first: Sun, Mon, ... Sat
    std::array<bool, 7> closed{};       // Sunday first: chk1 ... chk7
    QString blockout;

    // Weekday as QDate::dayOfWeek() (Monday 1 ... Sunday 7).
    const QString &templateFor(int dayOfWeek) const { return templates[dayOfWeek % 7]; }
    bool closedOn(int dayOfWeek) const { return closed[dayOfWeek % 7]; }
    // Field names of a weekday's template text and closed-day flag.
    static QString templateField(int dayOfWeek);
    static QString closedField(int dayOfWeek);

    int openMinutes() const;     // 8:00 AM if unreadable
    int closeMinutes() const;    // 5:00 PM if unreadable
};

// The day's layout that a page takes from the settings as it is made, under
// the same field names in tbl_Setup and tbl_Appt: read from either record
// into the settings or a page.
template <class Layout>
void readLayout(const QSqlRecord &r, Layout &to)
{
    to.location = r.value(QStringLiteral("location")).toString();
    to.open = r.value(QStringLiteral("open")).toString();
    to.close = r.value(QStringLiteral("Close")).toString();
    to.timeslot = r.value(QStringLiteral("timeslot")).toInt();
    to.listno = r.value(QStringLiteral("Listno")).toInt();
    to.names = r.value(QStringLiteral("names")).toString();
}

// Reads and writes the settings record; every write of it runs through
// modify(). Throws store::DbError.
class SettingsStore {
public:
    explicit SettingsStore(Database &db) : m_db(db) {}
    Settings load() const;

    // The one way the record is changed: in a short write transaction the
    // record is locked and `fields` are read; `change` is given their stored
    // values and returns the fields to write, or nullopt to write nothing
    // (the transaction rolls back). Returns what was written (kind "setup",
    // key the record's ID), which the change log records unless `logAs` is
    // given: a write path of its own (a weekday template) fills that edit
    // in `change`, and it is logged instead. Only `fields` are read with the
    // lock: list the fields the change writes there too, else they are read
    // once more.
    using Change = std::function<std::optional<QVariantMap>(const QVariantMap &stored)>;
    Edit modify(const QStringList &fields, const Change &change, const Edit *logAs = nullptr,
                const QString &command = QStringLiteral("setup"));

    // Writes the given fields of the settings record (field name -> value).
    Edit write(const QVariantMap &fields);

    // A guarded write of several fields (writeFields).
    struct FieldsWrite {
        QStringList contested;   // fields another station changed since this station read them
        QVariantMap stored;      // the stored values of the fields of `values`, as found
        Edit edit;               // what was written; empty when refused
        bool written() const { return contested.isEmpty(); }
    };
    // Writes each field of `values` only over the value this station read
    // (`expected`, one for every field of `values`); a field that already
    // holds its new value is not contested. All or nothing.
    FieldsWrite writeFields(const QVariantMap &expected, const QVariantMap &values);
    // Writes one field only over the value this station read; otherwise
    // writes nothing and returns the stored value.
    std::optional<QVariant> writeIfUnchanged(const QString &name, const QVariant &expected, const QVariant &value);
    // Writes `values` only when every field of `expected` still holds the
    // value this station read; otherwise writes nothing and returns the
    // stored values of the fields of `expected`.
    std::optional<QVariantMap> writeIfUnchanged(const QVariantMap &expected, const QVariantMap &values);
    QVariant field(const QString &name) const;

    // Whether a stored value is the value a station read: a yes/no field
    // reads back as a number or a boolean by engine, and a number field left
    // empty reads as 0, as the settings load it.
    static bool sameValue(const QVariant &stored, const QVariant &read);

private:
    Database &m_db;
};

} // namespace store
