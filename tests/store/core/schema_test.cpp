#include "book/pages/pagetext.h"
#include "store/core/schema.h"
#include "store/core/seed.h"
#include "store/core/settings.h"
#include "storefixture.h"

#include <QSqlRecord>
#include <QSqlQuery>

using store::Database;
using store::Dialect;
namespace tables = store::tables;

namespace {

class FirstOpen : public storetest::StoreTest {
protected:
    QStringList columns(const QString &table)
    {
        const QSqlRecord rec = db.connection().record(onServer() ? table.toLower() : table);
        QStringList out;
        for (int i = 0; i < rec.count(); ++i)
            out << rec.fieldName(i).toLower();   // the server keeps names in lower case
        return out;
    }
    // Fields of the index on `table` whose name ends with `_<name>`, in lower case.
    QStringList indexFields(const QString &table, const QString &name, bool *unique = nullptr)
    {
        const QString suffix = (QLatin1Char('_') + name).toLower();
        if (onServer()) {
            QStringList fields;
            for (const QSqlRecord &r : db.select(QStringLiteral(
                     "SELECT i.relname, x.indisunique, a.attname FROM pg_class t "
                     "JOIN pg_index x ON x.indrelid = t.oid JOIN pg_class i ON i.oid = x.indexrelid "
                     "JOIN pg_attribute a ON a.attrelid = t.oid AND a.attnum = ANY(x.indkey) "
                     "WHERE t.relname = lower(?) ORDER BY i.relname, array_position(x.indkey::int2[], a.attnum)"),
                     {table})) {
                if (!r.value(0).toString().endsWith(suffix))
                    continue;
                if (unique)
                    *unique = r.value(1).toBool();
                fields << r.value(2).toString();
            }
            return fields;
        }
        for (const QSqlRecord &ix :
             db.select(QStringLiteral("PRAGMA index_list(%1)").arg(Dialect::quote(table)))) {
            const QString ixName = ix.value("name").toString();
            if (!ixName.toLower().endsWith(suffix))
                continue;
            if (unique)
                *unique = ix.value("unique").toInt() != 0;
            QStringList fields;
            for (const QSqlRecord &col :
                 db.select(QStringLiteral("PRAGMA index_info(%1)").arg(Dialect::quote(ixName))))
                fields << col.value("name").toString().toLower();
            return fields;
        }
        return {};
    }
    static QStringList lower(const QStringList &names)
    {
        QStringList out;
        for (const QString &n : names)
            out << n.toLower();
        return out;
    }
};

TEST_P(FirstOpen, EveryTableHasEveryField)
{
    for (const QString &t : {tables::Appt, tables::Setup, tables::Color, tables::PatientDetails,
                             tables::Accounts, tables::Print, tables::Letterhead, tables::Order}) {
        ASSERT_TRUE(db.tableExists(t)) << t.toStdString();
        const store::TableDef *def = store::findTable(t);
        ASSERT_NE(def, nullptr);
        EXPECT_EQ(columns(t), lower(def->fieldNames())) << t.toStdString();
    }
    // Fields the windows name, spot-checked against what is created.
    const auto has = [&](const QString &t, const QStringList &fields) {
        const QStringList cols = columns(t);
        for (const QString &f : fields)
            EXPECT_TRUE(cols.contains(f, Qt::CaseInsensitive)) << t.toStdString() << "." << f.toStdString();
    };
    has(tables::Appt, {"CalDate", "Data", "location", "open", "Close", "timeslot", "Listno", "names",
                       "Memo", "CColor", "Spare", "Clinic", "BlankPage", "Sites"});
    has(tables::Setup, {"location", "open", "Close", "timeslot", "RHeight", "Listno", "names", "cwidth",
                        "BookNo", "FixedMemo", "Timer1", "Refresh", "Mon", "Sun", "chk1", "chk7",
                        "Readme", "Clinic", "Blockout", "Sites", "DWidth", "PMode", "FillPage"});
    has(tables::Color, {"caldate", "CColor", "Spare", "Clinic"});
    has(tables::PatientDetails, {"FileNo", "Title", "PFirstName", "PMI", "PLastName", "Sex",
                                 "MaidenName", "DateOfBirth", "PAddress", "PCity", "PState", "PZip",
                                 "HomeNo", "WorkNo", "SocialSecurityNo", "HealthFundNo", "Occupation",
                                 "ContactPerson"});
    has(tables::Accounts, {"Invoice", "FileNo", "IssueDate", "ClaimNo", "DateOfAccident", "Firm",
                           "Date6", "ItemNo6", "Treatment6", "Amount6", "Subtotal", "Discount",
                           "AmountPaid", "BalanceDue", "PayTo", "Referrer", "DatePaid", "Cash",
                           "Cheque", "Visa", "LetterHead"});
    has(tables::Print, {"MarginTop", "MarginBottom", "MarginLeft", "MarginRight", "Account", "invoice"});
    has(tables::Letterhead, {"LetterHead", "Clinic1", "Address1", "Address2", "Telephone", "Fax",
                             "HoursOpen", "Therapist8", "Title8"});
    has(tables::Order, {"Help", "Help2"});
}

TEST_P(FirstOpen, NamedIndexes)
{
    bool unique = false;
    EXPECT_EQ(indexFields(tables::Appt, "CalDate", &unique), QStringList{"caldate"});
    EXPECT_TRUE(unique);   // one page per date: a second station's insert collides
    EXPECT_EQ(indexFields(tables::Color, "CalDate", &unique), QStringList{"caldate"});
    EXPECT_TRUE(unique);
    EXPECT_EQ(indexFields(tables::PatientDetails, "LastName"), QStringList{"plastname"});
    EXPECT_EQ(indexFields(tables::PatientDetails, "SSN"), QStringList{"socialsecurityno"});
    EXPECT_EQ(indexFields(tables::PatientDetails, "NameDOB"),
              (QStringList{"pfirstname", "pmi", "plastname", "dateofbirth"}));
    EXPECT_EQ(indexFields(tables::PatientDetails, "NameAddress"),
              (QStringList{"pfirstname", "pmi", "plastname", "paddress"}));
    EXPECT_EQ(indexFields(tables::Accounts, "FileNo"), QStringList{"fileno"});
}

TEST_P(FirstOpen, AccountsQueryJoinsPatientsAndWritesThroughToInvoices)
{
    ASSERT_TRUE(db.tableExists(tables::AccountsQuery));
    EXPECT_EQ(columns(tables::AccountsQuery), lower(store::accountsQuery().columns));
    EXPECT_EQ(store::accountsQuery().columns.size(), 16 + 24 + 10);

    const auto row = db.selectOne(QStringLiteral("SELECT * FROM qry_Accounts WHERE Invoice = ?"), {2});
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value("PLastName").toString(), "EXAMPLE");
    EXPECT_EQ(row->value("FileNo").toInt(), 2);

    db.exec(QStringLiteral("UPDATE qry_Accounts SET Firm = ?, AmountPaid = ? WHERE Invoice = ?"),
            {"Acme; Co's", "12.50", 2});
    const auto inv = db.selectOne(QStringLiteral("SELECT Firm, AmountPaid FROM tbl_Accounts WHERE Invoice = ?"), {2});
    ASSERT_TRUE(inv);
    EXPECT_EQ(inv->value(0).toString(), "Acme; Co's");
    EXPECT_EQ(inv->value(1).toString(), "12.50");
    // The other invoices are untouched.
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM tbl_Accounts WHERE Firm = ?"), {"Acme; Co's"}).toInt(), 1);
    // An invoice without a patient file still shows in the query.
    db.insert(tables::Accounts, {{"FileNo", 999}, {"Firm", "orphan"}});
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM qry_Accounts")).toInt(), 4);
}

TEST_P(FirstOpen, SettingsRecordIsComplete)
{
    EXPECT_EQ(count(tables::Setup), 1);
    const store::Settings s = store::SettingsStore(db).load();
    EXPECT_EQ(s.location, "Office");
    EXPECT_EQ(s.open, "08:00 AM");
    EXPECT_EQ(s.close, "05:00 PM");
    EXPECT_EQ(s.timeslot, 30);
    EXPECT_EQ(s.rHeight, 1);
    EXPECT_EQ(s.listno, 3);
    const QStringList names = book::page::splitList(s.names);
    ASSERT_EQ(names.size(), 3);
    for (const QString &n : names)
        EXPECT_FALSE(n.trimmed().isEmpty());
    EXPECT_FALSE(s.timer1);
    EXPECT_EQ(s.refresh, 20);
    EXPECT_EQ(s.blockout, "- - - - - - - - - - - - - - - -");
    // Sunday (chk1) and Saturday (chk7) closed, the weekdays open.
    for (int d = 0; d < 7; ++d)
        EXPECT_EQ(s.closed[d], d == 0 || d == 6) << "chk" << d + 1;
    EXPECT_TRUE(Database::toBool(store::SettingsStore(db).field("chk1")));
    EXPECT_TRUE(Database::toBool(store::SettingsStore(db).field("chk7")));
    EXPECT_FALSE(Database::toBool(store::SettingsStore(db).field("chk2")));

    // Each template is a blank page of the settings' shape: 08:00 to 05:00
    // by 30 minutes is 19 time rows, plus the free rows: 22 rows of 3 cells.
    for (int d = 0; d < 7; ++d) {
        const book::page::Cells cells = book::page::decode(s.templates[d]);
        ASSERT_EQ(cells.size(), 22u) << "template " << d;
        for (const QStringList &row : cells) {
            ASSERT_EQ(row.size(), 3);
            for (const QString &cell : row)
                EXPECT_TRUE(cell.isEmpty());
        }
    }
    EXPECT_FALSE(store::SettingsStore(db).field("Readme").toString().trimmed().isEmpty());
}

TEST_P(FirstOpen, HelpPrintLetterheadsPatientsAndInvoices)
{
    ASSERT_EQ(count(tables::Order), 1);
    const auto order = db.selectOne(QStringLiteral("SELECT Help, Help2 FROM tbl_Order"));
    EXPECT_FALSE(order->value(0).toString().trimmed().isEmpty());
    EXPECT_FALSE(order->value(1).toString().trimmed().isEmpty());

    ASSERT_EQ(count(tables::Print), 1);
    const auto print = db.selectOne(QStringLiteral("SELECT * FROM tbl_Print"));
    EXPECT_DOUBLE_EQ(print->value("MarginTop").toDouble(), 2.00);
    EXPECT_DOUBLE_EQ(print->value("MarginBottom").toDouble(), 0.55);
    EXPECT_DOUBLE_EQ(print->value("MarginLeft").toDouble(), 0.12);
    EXPECT_DOUBLE_EQ(print->value("MarginRight").toDouble(), 0.12);
    EXPECT_EQ(print->value("Account").toString(), "\\accountnl.rpt");
    EXPECT_EQ(print->value("invoice").toString(), "\\invoicenl.rpt");

    // Sample designs first, the practice's own last.
    const auto heads = db.select(QStringLiteral("SELECT * FROM tbl_Letterhead ORDER BY LetterHead"));
    ASSERT_GE(heads.size(), 2u);
    for (const QSqlRecord &r : heads)
        EXPECT_FALSE(r.value("Clinic1").toString().isEmpty());
    EXPECT_EQ(heads.back().value("Clinic1").toString(), "Your Practice Name");

    const auto patients = db.select(QStringLiteral("SELECT FileNo, PLastName FROM tbl_PatientDetails ORDER BY FileNo"));
    ASSERT_EQ(patients.size(), 3u);
    const auto invoices = db.select(QStringLiteral("SELECT Invoice, FileNo FROM tbl_Accounts ORDER BY Invoice"));
    ASSERT_EQ(invoices.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(patients[i].value(0).toInt(), i + 1);
        EXPECT_FALSE(patients[i].value(1).toString().isEmpty());
        EXPECT_EQ(invoices[i].value(0).toInt(), i + 1);
        EXPECT_EQ(invoices[i].value(1).toInt(), i + 1);
    }
}

TEST_P(FirstOpen, ReopeningChangesNothing)
{
    const int invoice = db.insert(tables::Accounts, {{"FileNo", 1}, {"Firm", "kept"}});
    const int pages = count(tables::Appt);
    db.close();

    const auto r = store.open(db);
    ASSERT_EQ(r.status, Database::Status::Opened) << r.detail.toStdString();
    EXPECT_EQ(count(tables::Setup), 1);
    EXPECT_EQ(count(tables::Order), 1);
    EXPECT_EQ(count(tables::Print), 1);
    EXPECT_EQ(count(tables::PatientDetails), 3);
    EXPECT_EQ(count(tables::Accounts), 4);
    EXPECT_EQ(count(tables::Appt), pages);
    EXPECT_EQ(count(tables::Letterhead), 5);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT Firm FROM tbl_Accounts WHERE Invoice = ?"), {invoice}).toString(),
              "kept");
}

TEST(StationFile, HasNetsetAndReopens)
{
    testsupport::TestDir dir;
    const QString path = dir.file("dbn.mdb");
    Database st;
    EXPECT_EQ(st.open(path, Database::Kind::Station).status, Database::Status::Created);
    EXPECT_TRUE(st.tableExists(tables::NetSet));
    EXPECT_FALSE(st.tableExists(tables::Appt));
    st.close();
    EXPECT_EQ(st.open(path, Database::Kind::Station, false).status, Database::Status::Opened);
    // A station file is not a db.mdb.
    st.close();
    const auto asMain = st.open(path, Database::Kind::Main, false);
    EXPECT_EQ(asMain.status, Database::Status::Incomplete);
    EXPECT_TRUE(asMain.detail.contains(tables::Appt));
}

QUILLON_BOTH_ENGINES(FirstOpen);

} // namespace
