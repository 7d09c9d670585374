#include "store/core/filecounts.h"

#include "store/core/database.h"
#include "store/core/dialect.h"
#include "store/core/schema.h"

namespace store {

namespace {

QString q(const QString &id)
{
    return Dialect::quote(id);
}

const QString Start = QStringLiteral("NameStart");
const QString Files = QStringLiteral("Files");

const TableDef &table()
{
    static const TableDef t{tables::FileCounts,
                            QStringLiteral("ID"),
                            {{"ID", FieldType::Counter}, {Start, FieldType::Text}, {Files, FieldType::Integer}},
                            {{QStringLiteral("Start"), {Start}, true}},
                            10};
    return t;
}

// A file's key: the first character of its last name; '' for an empty name
// or none, which sort before every other.
QString keyOf(const QString &row)
{
    return QStringLiteral("COALESCE(substr(%1.%2, 1, 1), '')").arg(row, q(QStringLiteral("PLastName")));
}

QString counts()
{
    return q(tables::FileCounts);
}

// Adds one to a key's row, making it where there is none; two stations
// adding the first file of a key both count (the second one's insert turns
// into the update).
QString addOne(const QString &row)
{
    return QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (%4, 1) ON CONFLICT (%2) DO UPDATE SET %3 = %1.%3 + 1")
        .arg(counts(), q(Start), q(Files), keyOf(row));
}

QString takeOne()
{
    return QStringLiteral("UPDATE %1 SET %3 = %3 - 1 WHERE %2 = %4").arg(counts(), q(Start), q(Files), keyOf("OLD"));
}

} // namespace

void FileCounts::create(Database &db)
{
    if (db.tableExists(tables::FileCounts))
        return;
    db.makeTable(table());
    const QString files = q(tables::PatientDetails);
    const QString name = q(QStringLiteral("PLastName"));
    db.exec(QStringLiteral("INSERT INTO %1 (%2, %3) SELECT k, COUNT(*) FROM (SELECT %4 AS k FROM %5 p) c GROUP BY k")
                .arg(counts(), q(Start), q(Files), keyOf("p"), files));
    if (db.onServer()) {
        // By statement, from the rows it wrote: a row trigger would update a
        // key's row once per file, and the versions of a row updated many
        // times in one transaction (a copy of the files) are walked at each
        // update.
        const QString fileNo = q(QStringLiteral("FileNo"));
        const QString moved = QStringLiteral("(SELECT %1 AS was, %2 AS now FROM removed o JOIN added n ON o.%3 = n.%3 "
                                             "WHERE %1 <> %2)")
                                  .arg(keyOf("o"), keyOf("n"), fileNo);
        const QString take = QStringLiteral("UPDATE %1 SET %3 = %1.%3 - d.c FROM (SELECT was, COUNT(*) AS c FROM %4 m "
                                            "GROUP BY was) d WHERE %1.%2 = d.was")
                                 .arg(counts(), q(Start), q(Files));
        const QString add = QStringLiteral("INSERT INTO %1 (%2, %3) SELECT now, COUNT(*) FROM %4 m GROUP BY now "
                                           "ON CONFLICT (%2) DO UPDATE SET %3 = %1.%3 + EXCLUDED.%3")
                                .arg(counts(), q(Start), q(Files));
        const QString all = QStringLiteral("(SELECT %1 AS was, %2 AS now FROM %3)");
        const QString fn = db.dialect().declare(tables::FileCounts + QStringLiteral("_Keep"));
        db.exec(QStringLiteral("CREATE OR REPLACE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                               "IF TG_OP = 'INSERT' THEN %2; "
                               "ELSIF TG_OP = 'DELETE' THEN %3; "
                               "ELSE %4; %5; END IF; RETURN NULL; END $$")
                    .arg(fn, add.arg(all.arg(QStringLiteral("''"), keyOf("n"), QStringLiteral("added n"))),
                         take.arg(all.arg(keyOf("o"), QStringLiteral("''"), QStringLiteral("removed o"))),
                         take.arg(moved), add.arg(moved)));
        const QString trigger = QStringLiteral("CREATE TRIGGER %1 AFTER %2 ON %3 REFERENCING %4 FOR EACH STATEMENT "
                                               "EXECUTE FUNCTION %5()");
        const QString named = tables::FileCounts + QStringLiteral("_");
        db.exec(trigger.arg(db.dialect().declare(named + "Add"), "INSERT", files, "NEW TABLE AS added", fn));
        db.exec(trigger.arg(db.dialect().declare(named + "Remove"), "DELETE", files, "OLD TABLE AS removed", fn));
        db.exec(trigger.arg(db.dialect().declare(named + "Rename"), "UPDATE", files,
                            "OLD TABLE AS removed NEW TABLE AS added", fn));
        return;
    }
    const QString named = tables::FileCounts + QStringLiteral("_");
    db.exec(QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON %2 BEGIN %3; END")
                .arg(db.dialect().declare(named + "Add"), files, addOne("NEW")));
    db.exec(QStringLiteral("CREATE TRIGGER %1 AFTER DELETE ON %2 BEGIN %3; END")
                .arg(db.dialect().declare(named + "Remove"), files, takeOne()));
    db.exec(QStringLiteral("CREATE TRIGGER %1 AFTER UPDATE OF %2 ON %3 BEGIN %4; %5; END")
                .arg(db.dialect().declare(named + "Rename"), name, files, takeOne(), addOne("NEW")));
}

int FileCounts::total(Database &db)
{
    return db.scalar(QStringLiteral("SELECT COALESCE(SUM(%1), 0) FROM %2").arg(q(Files), counts())).toInt();
}

int FileCounts::before(Database &db, const QString &initial)
{
    return db.scalar(QStringLiteral("SELECT COALESCE(SUM(%1), 0) FROM %2 WHERE %3 < ?")
                         .arg(q(Files), counts(), db.dialect().byCodes(q(Start))),
                     {initial})
        .toInt();
}

int FileCounts::unnamed(Database &db)
{
    return db.scalar(QStringLiteral("SELECT COALESCE(SUM(%1), 0) FROM %2 WHERE %3 = ''").arg(q(Files), counts(), q(Start)))
        .toInt();
}

} // namespace store
