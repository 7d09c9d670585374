#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace store {

enum class FieldType {
    Counter, // whole number given by the database on insert (the record's key)
    Integer, // 32-bit whole number
    Number,  // decimal number
    Text,
    Memo,    // long text
    YesNo,
    Date,    // calendar date, stored as yyyy-MM-dd
};

struct FieldDef {
    QString name;
    FieldType type;
};

// A named index: the program chooses it by name and seeks "=" on its fields.
struct IndexDef {
    QString name;
    QStringList fields;
    bool unique = false;
    // On upper(field): names found whatever the case they were typed in.
    bool folded = false;
    // A field that grows with the order the rows are added in (a time): on
    // a server a block range index, a few pages for any number of rows.
    bool ranged = false;
    // Its texts in the lists' order, by character codes with empty values
    // first: on a server so declared, as the file's plain index is already.
    bool byCodes = false;
    // Only a server needs it: the file's own indexes serve the same order.
    bool serverOnly = false;
    // Sought only by "=" on all its fields: on a server a B-tree of a 32-bit
    // number made from their texts (Dialect::textHash), a third the size of
    // one of the texts; the rows it finds are checked against them.
    bool hashed = false;
};

struct TableDef {
    QString name;
    QString key;                   // the Counter field; bookmarks are its values
    std::vector<FieldDef> fields;
    std::vector<IndexDef> indexes; // the key's own index is implied (named after it)
    int since = 1;                 // the schema version that added the table
    // The key only ever grows with the order rows are added in and is never
    // given twice (the table's own counter; copies add only numbers above
    // the highest held): on a server no unique B-tree of its own, its index
    // is one of `indexes`.
    bool rangedKey = false;

    const FieldDef *field(const QString &name) const;   // case-insensitive
    const IndexDef *index(const QString &name) const;   // case-insensitive
    QStringList fieldNames() const;
};

// A stored query: a view over tables, with the table its edits go to.
struct QueryDef {
    QString name;
    QString baseTable;             // where edits of the query's rows are written
    QString key;
    QStringList columns;           // in order
};

namespace tables {
inline const QString Appt = QStringLiteral("tbl_Appt");
inline const QString Setup = QStringLiteral("tbl_Setup");
inline const QString Color = QStringLiteral("tbl_Color");
inline const QString PatientDetails = QStringLiteral("tbl_PatientDetails");
inline const QString Accounts = QStringLiteral("tbl_Accounts");
inline const QString Print = QStringLiteral("tbl_Print");
inline const QString Letterhead = QStringLiteral("tbl_Letterhead");
inline const QString Order = QStringLiteral("tbl_Order");
inline const QString NetSet = QStringLiteral("tbl_netset");
inline const QString Schema = QStringLiteral("sys_Schema");
inline const QString State = QStringLiteral("sys_State");
inline const QString Station = QStringLiteral("sys_Station");
inline const QString ChangeLog = QStringLiteral("sys_ChangeLog");
inline const QString AccountsQuery = QStringLiteral("qry_Accounts");
inline const QString AccountSums = QStringLiteral("sys_AccountSums");
inline const QString FileCounts = QStringLiteral("sys_FileCounts");
} // namespace tables

// The tables of db.mdb, and of the station file dbn.mdb.
const std::vector<TableDef> &mainTables();
const std::vector<TableDef> &stationTables();
const QueryDef &accountsQuery();
// Tables of figures derived from the data: made again from it, never copied.
const std::vector<TableDef> &derivedTables();

// Finds a table of db.mdb (or dbn.mdb) by name, ignoring case.
const TableDef *findTable(const QString &name);

} // namespace store
