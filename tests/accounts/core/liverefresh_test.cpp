// Another station's change reaches the lists and the open client file
// without moving the user's place or taking over what the user typed.
#include "livewait.h"
#include "patientfixture.h"

#include "accounts/core/invoicestore.h"
#include "accounts/core/manualsearch.h"
#include "accounts/core/summarycontroller.h"

#include <gtest/gtest.h>

using namespace patienttest;
using livetest::within;

namespace {

class LiveAccounts : public testsupport::EngineTest {};

TEST_P(LiveAccounts, TheListsReReadInPlaceAndKeepTheirRow)
{
    Station a(store), b(store);
    for (int i = 0; i < 5; ++i)
        a.addFile(QString("M%1").arg(i));
    accounts::ManualSearch search(a.services);
    a.state.searchLastName = "M";
    search.activated();
    int resets = 0;   // a reset would take the grid back to its top
    QObject::connect(&search.list(), &QAbstractItemModel::modelReset, [&resets] { ++resets; });
    const int row = search.currentRow();
    const int rows = search.list().rowCount();
    const auto name = [&](int r) { return search.list().data(search.list().index(r, 1)).toString(); };
    ASSERT_EQ(name(row + 1), "M1");

    accounts::PatientStore files(b.db);
    files.write(search.list().fileNoAt(row + 1), {{"PLastName", "M1", "M1X"}});
    ASSERT_TRUE(within(search.live(), [&] { return name(row + 1) == "M1X"; }));
    files.addBlank();
    ASSERT_TRUE(within(search.live(), [&] { return search.list().rowCount() == rows + 1; }));
    EXPECT_EQ(search.currentRow(), row);
    EXPECT_EQ(resets, 0);

    // The summaries: a new invoice and a changed referrer elsewhere.
    accounts::SummaryController sums(a.services);
    sums.arrive();
    const int listed = sums.list().rowCount();
    ASSERT_GE(listed, 2);
    sums.setRow(1);
    int totals = 0;
    QObject::connect(&sums, &accounts::SummaryController::reread, [&totals] { ++totals; });
    accounts::InvoiceStore invoices(b.db);
    const int added = invoices.add(search.list().fileNoAt(row)).key.toInt();
    ASSERT_TRUE(within(sums.live(), [&] { return sums.list().rowCount() == listed + 1; }));
    EXPECT_EQ(sums.row(), 1);
    const int shown = sums.list().invoiceAt(1);
    invoices.write(shown, {{"Referrer", sums.referrer(), "DR NEW"}});
    ASSERT_TRUE(within(sums.live(), [&] { return sums.referrer() == "DR NEW"; }));
    EXPECT_EQ(sums.list().invoiceAt(1), shown);
    EXPECT_GE(totals, 2);
    EXPECT_NE(added, 0);
}

TEST_P(LiveAccounts, AnOpenFileTakesOtherStationsChangesAndMarksWhatWasTyped)
{
    Station a(store), b(store);
    const int file = a.addFile("GREEN", "ANN");
    a.show(file);
    b.show(file);
    a.type(b::FirstName, "ANNA");
    a.type(b::City, "PERTH");
    b.type(b::FirstName, "ANNE");
    b.type(b::LastName, "GREENE");
    ASSERT_TRUE(b.files->save());

    ASSERT_TRUE(within(a.files->live(), [&] { return a.box(b::LastName) == "GREENE"; }));
    EXPECT_EQ(a.box(b::FirstName), "ANNA");
    EXPECT_EQ(a.box(b::City), "PERTH");
    const auto marks = a.files->changedElsewhere();
    EXPECT_EQ(marks.value(b::FirstName), "ANNE");
    EXPECT_EQ(marks.value(b::LastName), "GREENE");
    EXPECT_FALSE(marks.contains(b::City));

    // Saving meets the other station's first name (the user is told); the
    // last name taken over is not written back, the city is stored.
    a.prompter.expectMessage();
    EXPECT_FALSE(a.files->save());
    EXPECT_TRUE(a.prompter.last().text.contains("ANNE")) << a.prompter.last().text.toStdString();
    EXPECT_EQ(a.stored(file, "PFirstName").toString(), "ANNE");
    EXPECT_EQ(a.stored(file, "PLastName").toString(), "GREENE");
    EXPECT_EQ(a.stored(file, "PCity").toString(), "PERTH");
    EXPECT_TRUE(a.files->changedElsewhere().isEmpty());
    // Saved again, the typed name goes over theirs, as the user chose.
    EXPECT_TRUE(a.files->save());
    EXPECT_EQ(a.stored(file, "PFirstName").toString(), "ANNA");

    // Another file's change leaves this one alone.
    b.show(b.addFile("OTHER"));
    b.type(b::City, "ALBANY");
    ASSERT_TRUE(b.files->save());
    a.type(b::City, "DARWIN");
    EXPECT_FALSE(within(a.files->live(), [&] { return !a.files->changedElsewhere().isEmpty(); }));
    EXPECT_EQ(a.box(b::City), "DARWIN");
}

QUILLON_BOTH_ENGINES(LiveAccounts);

} // namespace
