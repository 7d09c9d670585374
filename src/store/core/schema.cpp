#include "store/core/schema.h"

namespace store {

namespace {

using F = FieldType;

std::vector<FieldDef> texts(std::initializer_list<const char *> names, F type = F::Text)
{
    std::vector<FieldDef> out;
    for (const char *n : names)
        out.push_back({QString::fromLatin1(n), type});
    return out;
}

void append(std::vector<FieldDef> &to, const std::vector<FieldDef> &more)
{
    to.insert(to.end(), more.begin(), more.end());
}

TableDef appt()
{
    TableDef t{tables::Appt, QStringLiteral("ID"), {}, {}};
    t.fields = {{"ID", F::Counter},      {"CalDate", F::Date},   {"Data", F::Memo},
                {"location", F::Text},   {"open", F::Text},      {"Close", F::Text},
                {"timeslot", F::Integer}, {"Listno", F::Integer}, {"names", F::Text},
                {"Memo", F::Memo},       {"CColor", F::Text},    {"Spare", F::Text},
                {"Clinic", F::YesNo},    {"BlankPage", F::Memo}, {"Sites", F::Text}};
    t.indexes = {{QStringLiteral("CalDate"), {QStringLiteral("CalDate")}, true}};
    return t;
}

TableDef setup()
{
    TableDef t{tables::Setup, QStringLiteral("ID"), {}, {}};
    t.fields = {{"ID", F::Counter},      {"location", F::Text},  {"open", F::Text},
                {"Close", F::Text},      {"timeslot", F::Integer}, {"RHeight", F::Integer},
                {"Listno", F::Integer},  {"names", F::Text},     {"cwidth", F::Text},
                {"BookNo", F::Text},     {"FixedMemo", F::Memo}, {"Timer1", F::YesNo},
                {"Refresh", F::Integer}};
    append(t.fields, texts({"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"}, F::Memo));
    append(t.fields, texts({"chk1", "chk2", "chk3", "chk4", "chk5", "chk6", "chk7"}, F::YesNo));
    append(t.fields, {{"Readme", F::Memo}, {"Clinic", F::YesNo}, {"Blockout", F::Text},
                      {"Sites", F::Text}, {"DWidth", F::Text}, {"PMode", F::Integer},
                      {"FillPage", F::YesNo}, {"Spare", F::Text}});
    return t;
}

TableDef color()
{
    TableDef t{tables::Color, QStringLiteral("ID"), {}, {}};
    t.fields = {{"ID", F::Counter}, {"caldate", F::Date}, {"CColor", F::Memo},
                {"Spare", F::Text}, {"Clinic", F::YesNo}};
    t.indexes = {{QStringLiteral("CalDate"), {QStringLiteral("caldate")}, true}};
    return t;
}

TableDef patients()
{
    TableDef t{tables::PatientDetails, QStringLiteral("FileNo"), {}, {}};
    t.fields = {{"FileNo", F::Counter}};
    append(t.fields, texts({"Title", "PFirstName", "PMI", "PLastName", "Sex", "MaidenName",
                            "DateOfBirth", "PAddress", "PCity", "PState", "PZip", "HomeNo",
                            "WorkNo", "SocialSecurityNo", "HealthFundNo", "Occupation",
                            "ContactPerson"}));
    const auto l = [](std::initializer_list<const char *> f) {
        QStringList out;
        for (const char *s : f)
            out << QString::fromLatin1(s);
        return out;
    };
    t.indexes = {{"LastName", l({"PLastName"}), false},
                 {"SSN", l({"SocialSecurityNo"}), false},
                 {"NameDOB", l({"PFirstName", "PMI", "PLastName", "DateOfBirth"}), false},
                 {"NameAddress", l({"PFirstName", "PMI", "PLastName", "PAddress"}), false},
                 // The manual search's list, and the invoices in patient-name order.
                 {.name = "LastNameCodes", .fields = l({"PLastName", "FileNo"}), .byCodes = true, .serverOnly = true},
                 {.name = "FullName", .fields = l({"PLastName", "PFirstName", "PMI"}), .byCodes = true}};
    return t;
}

std::vector<FieldDef> accountFields()
{
    std::vector<FieldDef> f = {{"Invoice", F::Counter}, {"FileNo", F::Integer}};
    append(f, texts({"IssueDate", "ClaimNo", "DateOfAccident", "Firm"}));
    for (int n = 1; n <= 6; ++n) {
        const QString s = QString::number(n);
        f.push_back({"Date" + s, F::Text});
        f.push_back({"ItemNo" + s, F::Text});
        f.push_back({"Treatment" + s, F::Text});
        f.push_back({"Amount" + s, F::Text});
    }
    append(f, texts({"Subtotal", "Discount", "AmountPaid", "BalanceDue", "PayTo", "Referrer",
                     "DatePaid"}));
    append(f, texts({"Cash", "Cheque", "Visa"}, F::YesNo));
    f.push_back({"LetterHead", F::Integer});
    return f;
}

TableDef accounts()
{
    TableDef t{tables::Accounts, QStringLiteral("Invoice"), accountFields(), {}};
    // The summaries count and read their lists by issue date and balance.
    // The referrer and practitioner listings find a name whatever its case.
    t.indexes = {{QStringLiteral("FileNo"), {QStringLiteral("FileNo")}, false},
                 {QStringLiteral("IssueDate"), {QStringLiteral("IssueDate"), QStringLiteral("BalanceDue")}, false},
                 {QStringLiteral("BalanceDue"), {QStringLiteral("BalanceDue")}, false},
                 {QStringLiteral("Referrer"), {QStringLiteral("Referrer")}, false, true},
                 {QStringLiteral("PayTo"), {QStringLiteral("PayTo")}, false, true}};
    return t;
}

// A table whose records are numbered by its own counter, ID (the first
// field), made by schema version `since`.
TableDef numbered(const QString &name, std::vector<FieldDef> fields, std::vector<IndexDef> indexes = {},
                  int since = 1)
{
    fields.insert(fields.begin(), {"ID", F::Counter});
    return {name, QStringLiteral("ID"), std::move(fields), std::move(indexes), since};
}

TableDef print()
{
    return numbered(tables::Print, {{"MarginTop", F::Number}, {"MarginBottom", F::Number},
                                    {"MarginLeft", F::Number}, {"MarginRight", F::Number},
                                    {"Account", F::Text}, {"invoice", F::Text}});
}

TableDef letterhead()
{
    TableDef t{tables::Letterhead, QStringLiteral("LetterHead"), {}, {}};
    t.fields = {{"LetterHead", F::Counter}};
    append(t.fields, texts({"Clinic1", "Address1", "Address2", "Telephone", "Fax", "HoursOpen"}));
    for (int n = 1; n <= 8; ++n)
        t.fields.push_back({"Therapist" + QString::number(n), F::Text});
    for (int n = 1; n <= 8; ++n)
        t.fields.push_back({"Title" + QString::number(n), F::Text});
    return t;
}

TableDef order()
{
    return numbered(tables::Order, {{"Help", F::Memo}, {"Help2", F::Memo}});
}

TableDef schemaTable()
{
    return numbered(tables::Schema, {{"Version", F::Integer}, {"Created", F::Text}});
}

// The database's generation: a new one each time its data is replaced by a
// restore, so that a station holding what it read before writes nothing.
TableDef stateTable()
{
    // FindStale: a station that could not keep the search index wrote pages.
    // SumsOf: the generation the invoices' derived figures were made for.
    return numbered(tables::State, {{"Generation", F::Text}, {"FindStale", F::Integer}, {"SumsOf", F::Text}}, {}, 2);
}

// Every change of shared data, appended by the write paths in the change's
// own transaction; never edited or deleted by the program. At: seconds since
// 1970, UTC. Host: empty when it is the station's name. Batch: the first
// entry of a command that changed several records (0: the entry is one).
// Entries before version 7 hold none for those two: a row with no value
// missing is stored without a map of the missing ones, 8 bytes on a server.
// From version 9 a server finds an entry by its number in block ranges, as
// by its time, and a record's entries by a number made from kind and key.
TableDef changeLogTable()
{
    TableDef t = numbered(
        tables::ChangeLog,
        {{"At", F::Number}, {"Batch", F::Integer}, {"Station", F::Text}, {"Host", F::Text}, {"OSUser", F::Text},
         {"Command", F::Text}, {"Kind", F::Text}, {"RecordKey", F::Text}, {"Changes", F::Memo}},
        {{.name = QStringLiteral("ChangeRecord"), .fields = {QStringLiteral("Kind"), QStringLiteral("RecordKey")},
          .hashed = true},
         {.name = QStringLiteral("ChangeAt"), .fields = {QStringLiteral("At")}, .ranged = true},
         {.name = QStringLiteral("ChangeID"), .fields = {QStringLiteral("ID")}, .ranged = true, .serverOnly = true}},
        4);
    t.rangedKey = true;
    return t;
}

// The stations running now: each records itself when it starts and says
// every little while that it still runs; one not heard of for a while is
// gone (a crash leaves nothing that holds the others back).
TableDef stationTable()
{
    return numbered(tables::Station,
                    {{"Token", F::Text}, {"StationName", F::Text}, {"Host", F::Text}, {"OsUser", F::Text},
                     {"Since", F::Text}, {"LastSeen", F::Text}, {"LockByte", F::Integer}, {"LockHeld", F::YesNo}},
                    {{QStringLiteral("Token"), {QStringLiteral("Token")}, true}}, 5);
}

// The invoices' figures by issue-date text and settled balance (see
// accounts::AccountSums). Amounts in cents.
TableDef accountSumsTable()
{
    return numbered(tables::AccountSums,
                    {{"IssueDate", F::Text}, {"SettledAs", F::Text}, {"Invoices", F::Number}, {"Billed", F::Number},
                     {"Paid", F::Number}, {"Owed", F::Number}},
                    {{QStringLiteral("SumsKey"), {QStringLiteral("IssueDate"), QStringLiteral("SettledAs")}, false}}, 8);
}

TableDef netset()
{
    return numbered(tables::NetSet, {{"Station", F::Text}, {"LastUse", F::Text}});
}

} // namespace

const FieldDef *TableDef::field(const QString &n) const
{
    for (const auto &f : fields)
        if (f.name.compare(n, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

const IndexDef *TableDef::index(const QString &n) const
{
    for (const auto &i : indexes)
        if (i.name.compare(n, Qt::CaseInsensitive) == 0)
            return &i;
    return nullptr;
}

QStringList TableDef::fieldNames() const
{
    QStringList out;
    for (const auto &f : fields)
        out << f.name;
    return out;
}

const std::vector<TableDef> &mainTables()
{
    static const std::vector<TableDef> all = {appt(),     setup(),     color(), patients(),
                                              accounts(), print(),     letterhead(),
                                              order(),    schemaTable(), stateTable(), stationTable(),
                                              changeLogTable()};
    return all;
}

const std::vector<TableDef> &stationTables()
{
    static const std::vector<TableDef> all = {netset()};
    return all;
}

const QueryDef &accountsQuery()
{
    static const QueryDef q = [] {
        QueryDef d{tables::AccountsQuery, tables::Accounts, QStringLiteral("Invoice"), {}};
        d.columns = QStringList{"FileNo", "LetterHead", "Title", "PFirstName", "PMI", "PLastName",
                                "DateOfBirth", "PAddress", "PCity", "PState", "PZip", "Invoice",
                                "IssueDate", "ClaimNo", "DateOfAccident", "Firm"};
        for (int n = 1; n <= 6; ++n) {
            const QString s = QString::number(n);
            d.columns << "Date" + s << "Treatment" + s << "ItemNo" + s << "Amount" + s;
        }
        d.columns << "Subtotal" << "Discount" << "AmountPaid" << "BalanceDue" << "Cash" << "PayTo"
                  << "DatePaid" << "Referrer" << "Cheque" << "Visa";
        return d;
    }();
    return q;
}

const std::vector<TableDef> &derivedTables()
{
    static const std::vector<TableDef> all = {accountSumsTable()};
    return all;
}

const TableDef *findTable(const QString &name)
{
    for (const auto *list : {&mainTables(), &stationTables(), &derivedTables()})
        for (const auto &t : *list)
            if (t.name.compare(name, Qt::CaseInsensitive) == 0)
                return &t;
    return nullptr;
}

} // namespace store
