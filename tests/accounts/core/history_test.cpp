// The history of a client file and of an invoice: exactly the changes two
// stations stored, each logged with its write and nothing for a refused one.
#include "accounts/core/invoicestore.h"
#include "accounts/core/patientstore.h"
#include "accounts/core/recordhistory.h"
#include "store/core/changelog.h"
#include "support/station.h"

#include <gtest/gtest.h>

namespace {

using testsupport::Station;

class RecordHistory : public testsupport::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(a.open(store).ok());
        ASSERT_TRUE(b.open(store).ok());
        a.db.setStation({"Desk A", "host-a", "ann"});
        b.db.setStation({"Desk B", "host-b", "bob"});
    }
    std::vector<store::LogEntry> history(const QString &kind, int key)
    {
        return store::ChangeLog::forRecord(a.db, kind, QString::number(key));
    }
    // "station command field=after ..." of each entry, newest first.
    QStringList lines(const QString &kind, int key)
    {
        QStringList out;
        for (const store::LogEntry &e : history(kind, key)) {
            QString line = e.station + " " + e.command;
            for (const store::FieldChange &c : e.changes)
                line += " " + c.field + "=" + store::ChangeLog::shown(c.after);
            out << line;
        }
        return out;
    }
    Station<> a, b;
};

TEST_P(RecordHistory, AFileListsWhatEachStationStored)
{
    accounts::PatientStore files(a.db), other(b.db);
    const int n = files.addBlank();
    EXPECT_TRUE(files.write(n, {{"PLastName", "", "SMITH"}}).contested.isEmpty());
    // Station B read the file before A's save: its last name is refused,
    // its phone number is its own field and goes in.
    EXPECT_EQ(other.write(n, {{"PLastName", "", "JONES"}}).contested, QStringList{"PLastName"});
    other.write(n, {{"HomeNo", "", "555 0101"}});
    EXPECT_EQ(other.remove(n, {{"PLastName", ""}}).outcome, store::Removal::Changed);

    EXPECT_EQ(lines("patient", n),
              (QStringList{"Desk B file saved HomeNo=555 0101", "Desk A file saved PLastName=SMITH",
                           QStringLiteral("Desk A new file FileNo=%1").arg(n)}));
    const QString report = accounts::historyReport("History of file", history("patient", n));
    EXPECT_TRUE(report.contains("Desk A (ann)  file saved\r\n      PLastName: \"\" -> \"SMITH\"")) << report.toStdString();

    EXPECT_EQ(files.remove(n, {{"PLastName", "SMITH"}}).outcome, store::Removal::Removed);
    const auto removed = history("patient", n).front();
    EXPECT_EQ(removed.command, "deleted");
    EXPECT_EQ(removed.station, "Desk A");
}

TEST_P(RecordHistory, AnInvoiceListsItsFieldsAndTotals)
{
    accounts::InvoiceStore invoices(a.db), other(b.db);
    const int n = invoices.add(1).key.toInt();
    invoices.write(n, {{"Amount1", "", "10"}});
    EXPECT_EQ(other.write(n, {{"Amount1", "", "30"}}).contested, QStringList{"Amount1"});
    {
        store::CommandScope scope(b.db, "F9 Save");
        other.write(n, {{"Discount", "", "2"}});
    }
    const QStringList got = lines("invoice", n);
    ASSERT_EQ(got.size(), 3) << got.join("\n").toStdString();
    EXPECT_EQ(got[0], "Desk B F9 Save Discount=2 BalanceDue=08.00");
    EXPECT_EQ(got[1], "Desk A invoice saved Amount1=10 Subtotal=10.00 BalanceDue=10.00");
    EXPECT_EQ(got[2], "Desk A new invoice FileNo=1");
}

QUILLON_BOTH_ENGINES(RecordHistory);

} // namespace
