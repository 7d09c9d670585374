#include "accounts/core/accountsums.h"
#include "accounts/core/summarycontroller.h"
#include "support/station.h"
#include "support/teststore.h"

#include <gtest/gtest.h>
#include <QSqlRecord>
#include <algorithm>
#include <memory>

namespace {

struct Station : testsupport::Station<> {
    std::unique_ptr<accounts::SummaryController> sums;
    explicit Station(const testsupport::TestStore &store)
    {
        EXPECT_TRUE(open(store).ok());
        store::WriteTransaction tx(db);
        db.exec("DELETE FROM tbl_Accounts");
        accounts::AccountSums::forget(db);   // invoices written here bypass their write path
        tx.commit();
        sums = std::make_unique<accounts::SummaryController>(services);
    }
    ~Station() { EXPECT_TRUE(prompter.failures().isEmpty()) << prompter.failures().join("\n").toStdString(); }
    int add(const QString &last, const QVariantMap &invoice)
    {
        store::WriteTransaction tx(db);
        const int file = db.insert("tbl_PatientDetails", {{"PLastName", last}, {"PFirstName", "A"}});
        QVariantMap v = invoice;
        v.insert("FileNo", file);
        const int n = db.insert("tbl_Accounts", v);
        accounts::AccountSums::forget(db);
        tx.commit();
        return n;
    }
    std::vector<int> listed()
    {
        std::vector<int> out;
        for (int r = 0; r < sums->list().rowCount(); ++r)
            out.push_back(sums->list().invoiceAt(r));
        return out;
    }
};

class Summaries : public testsupport::StationTest<Station> {};

TEST_P(Summaries, AllAccountsAreInTheOrderOfTheDatesTheTextsReadAsUndatedLast)
{
    const int jan27 = a->add("C", {{"IssueDate", "01/05/2027"}});
    const int undated = a->add("A", {{"IssueDate", "soon"}});
    const int feb26 = a->add("B", {{"IssueDate", "02/10/2026"}});
    const int dec26 = a->add("D", {{"IssueDate", "12-1-26"}});
    a->state.currentFileNo = 0;   // Accounts from the search menu
    a->sums->arrive();
    EXPECT_EQ(a->listed(), (std::vector<int>{feb26, dec26, jan27, undated}));
    EXPECT_EQ(a->sums->row(), 3);   // on the last row
    EXPECT_EQ(a->sums->list().pagesRead(), 0);   // nothing of the grid read before it is shown

    a->sums->sortAccounts();
    EXPECT_EQ(a->listed(), (std::vector<int>{undated, feb26, jan27, dec26}));
    EXPECT_EQ(a->sums->list().valueAt(0, "PLastName"), "A");
}

TEST_P(Summaries, ReferrerAndPractitionerNamesAreBoundAndUpperCased)
{
    const int obrien = a->add("X", {{"Referrer", "O'BRIEN"}, {"PayTo", "DR AVERY"}});
    a->add("Y", {{"Referrer", "SMITH"}, {"PayTo", "DR BROOK"}});
    a->sums->allAccounts();
    a->prompter.answerInput("o'brien");
    a->sums->referrerAccounts();
    EXPECT_EQ(a->listed(), std::vector<int>{obrien});
    EXPECT_EQ(a->prompter.last().title, "View Individual Referrer's Accounts");
    EXPECT_EQ(a->sums->referrer(), "O'BRIEN");
    EXPECT_EQ(a->sums->practitioner(), "DR AVERY");

    a->prompter.answerInput("x' OR '1'='1");
    a->sums->practitionerAccounts();
    EXPECT_TRUE(a->listed().empty());
    EXPECT_EQ(a->prompter.last().text, "Please type name of practitioner exactly as entered on invoices:");

    a->prompter.answerCancel();
    a->sums->referrerAccounts();   // Cancel changes nothing
    EXPECT_TRUE(a->listed().empty());
}

TEST_P(Summaries, UnpaidMeansABalanceNotSettledAndTheTotalsAddUpInCents)
{
    a->add("A", {{"BalanceDue", "0"}, {"Subtotal", "10"}, {"AmountPaid", "10"}});
    a->add("B", {{"BalanceDue", "-00.00"}});
    a->add("C", {{"BalanceDue", "0.00"}});
    const int blank = a->add("D", {{"IssueDate", "11/30/2026"}, {"Subtotal", "0.1"}});
    const int owed = a->add("E", {{"IssueDate", "08/01/2026"}, {"BalanceDue", "20.2"}, {"Subtotal", "20.2"}});
    const int current = a->add("F", {{"IssueDate", "12/01/2026"}, {"BalanceDue", "0.1"}, {"Subtotal", "0.2"},
                                     {"Discount", "0.1"}, {"Cash", true}});
    a->sums->unpaidAccounts();
    EXPECT_EQ(a->listed(), (std::vector<int>{blank, owed, current}));
    EXPECT_EQ(a->sums->totalsLine(), "3 invoices    Billed: 20.40    Paid: 00.00    Outstanding: 20.30");
    EXPECT_EQ(a->sums->agedLine(), "Outstanding by issue date:    Current: 00.10    31-60 days: 00.00    "
                                   "61-90 days: 00.00    Over 90 days: 20.20");
    a->sums->cashAccounts();
    EXPECT_EQ(a->listed(), std::vector<int>{current});
}

// Lists longer than a page, read run by run, come out in the order of a plain
// sort of every invoice: by the date read (undated last) or by name (no
// patient first, same names together), then by number.
TEST_P(Summaries, LongListsReadRunByRunKeepTheirOrder)
{
    const QStringList dates = {"01/05/2027", "1/5/27", "soon", "", "12-1-26", "02/10/2026", "03/03/2026"};
    const QStringList names = {"SMITH", "ADAMS", "SMITH", "O'BRIEN", "ZED"};
    const QStringList balances = {"00.00", "75.00", "0", "", "-00.00", "12.50"};
    for (int i = 0; i < 150; ++i) {
        QVariantMap v{{"BalanceDue", balances[i % balances.size()]}};
        if (i % 11 != 0)
            v.insert("IssueDate", dates[i % dates.size()]);
        if (i % 13 == 0) {
            store::WriteTransaction tx(a->db);
            v.insert("FileNo", 99999 + i % 2);   // no such patient
            a->db.insert("tbl_Accounts", v);
            accounts::AccountSums::forget(a->db);
            tx.commit();
        } else {
            a->add(names[i % names.size()], v);
        }
    }
    struct Row {
        int invoice;
        QDate date;
        QString last;
        bool unpaid;
    };
    std::vector<Row> all;
    for (const QSqlRecord &r : a->db.select("SELECT Invoice, IssueDate, PLastName, BalanceDue FROM qry_Accounts ORDER BY Invoice"))
        all.push_back({r.value(0).toInt(), accounts::issueDate(r.value(1).toString()), r.value(2).toString(),
                       !ui::isSettledBalance(r.isNull(3) ? QString() : r.value(3).toString())});
    const auto expect = [&](bool byName, bool unpaidOnly) {
        std::vector<Row> rows;
        std::copy_if(all.begin(), all.end(), std::back_inserter(rows), [&](const Row &r) { return !unpaidOnly || r.unpaid; });
        std::stable_sort(rows.begin(), rows.end(), [&](const Row &x, const Row &y) {
            if (byName)
                return x.last < y.last;   // no patient: a null name, before every other
            if (x.date.isValid() != y.date.isValid())
                return x.date.isValid();
            return x.date < y.date;
        });
        std::vector<int> out;
        for (const Row &r : rows)
            out.push_back(r.invoice);
        return out;
    };
    a->sums->allAccounts();
    EXPECT_EQ(a->listed(), expect(false, false));
    a->sums->unpaidAccounts();
    EXPECT_EQ(a->listed(), expect(false, true));
    a->sums->sortAccounts();
    EXPECT_EQ(a->listed(), expect(true, false));
    a->sums->unpaidAccounts();
    EXPECT_EQ(a->listed(), expect(true, true));
    EXPECT_EQ(a->sums->list().valueAt(a->sums->list().rowCount() - 1, "PLastName"), "ZED");
}

TEST_P(Summaries, APatientsAccountsAndOpeningARowsInvoice)
{
    const int n = a->add("P", {{"Referrer", "A"}});
    const int file = a->db.scalar("SELECT FileNo FROM tbl_Accounts WHERE Invoice = ?", {n}).toInt();
    a->add("Q", {});
    a->state.currentFileNo = file;
    a->sums->arrive();
    EXPECT_EQ(a->listed(), std::vector<int>{n});
    a->sums->openRow();
    EXPECT_EQ(a->state.currentInvoiceNo, n);
    EXPECT_TRUE(a->state.openInvoiceByNumber);
    EXPECT_EQ(a->windows.log(), (QStringList{"show frmAccount", "unload frmSummary"}));
}

// Each narrowing narrows the list shown; the patient's summary and the full
// lists start afresh, and the window says what the list is narrowed to.
TEST_P(Summaries, NarrowingsNarrowTheListShownAndAreNamed)
{
    const int selfCash = a->add("A", {{"Referrer", "SELF"}, {"Cash", true}, {"BalanceDue", "00.00"}});
    const int selfOwed = a->add("B", {{"Referrer", "SELF"}, {"BalanceDue", "40.00"}});
    const int otherCash = a->add("C", {{"Referrer", "DR LEE"}, {"Cash", true}, {"BalanceDue", "15.00"}});
    a->sums->allAccounts();
    EXPECT_EQ(a->sums->listedLine(), "All invoices, by issue date");
    a->prompter.answerInput("self");
    a->sums->referrerAccounts();
    a->sums->cashAccounts();
    EXPECT_EQ(a->listed(), std::vector<int>{selfCash});
    EXPECT_EQ(a->sums->listedLine(), "Narrowed to referrer SELF + paid in cash, by issue date");

    a->prompter.answerInput("dr lee");   // another referrer takes SELF's place
    a->sums->referrerAccounts();
    EXPECT_EQ(a->listed(), std::vector<int>{otherCash});
    a->sums->unpaidAccounts();
    EXPECT_EQ(a->listed(), std::vector<int>{otherCash});
    EXPECT_EQ(a->sums->listedLine(), "Narrowed to referrer DR LEE + paid in cash + unpaid, by issue date");

    a->sums->sortAccounts();
    a->sums->setRow(1);   // B's invoice
    a->sums->patientSummary();
    EXPECT_EQ(a->listed(), std::vector<int>{selfOwed});
    const int file = a->db.scalar("SELECT FileNo FROM tbl_Accounts WHERE Invoice = ?", {selfOwed}).toInt();
    EXPECT_EQ(a->sums->listedLine(), QString("Narrowed to file %1 (B, A), by invoice number").arg(file));
    a->sums->unpaidAccounts();
    EXPECT_EQ(a->listed(), std::vector<int>{selfOwed});
    a->sums->cashAccounts();
    EXPECT_TRUE(a->listed().empty());
}

// Practitioners are typed as the user likes; referrers of old files too.
TEST_P(Summaries, NamesAreFoundWhateverTheCaseTheyWereTypedIn)
{
    const int mixed = a->add("A", {{"PayTo", "Dr Avery"}, {"Referrer", "Self"}});
    const int upper = a->add("B", {{"PayTo", "DR AVERY"}});
    const int lower = a->add("C", {{"PayTo", "dr avery"}, {"Referrer", "SELF"}});
    a->add("D", {{"PayTo", "Dr Averyson"}});
    const int umlaut = a->add("E", {{"PayTo", "Dr Müller"}});
    a->sums->allAccounts();
    a->prompter.answerInput("DR AVERY");
    a->sums->practitionerAccounts();
    EXPECT_EQ(a->listed(), (std::vector<int>{mixed, upper, lower}));
    a->prompter.answerInput("self");
    a->sums->referrerAccounts();
    EXPECT_EQ(a->listed(), (std::vector<int>{mixed, lower}));
    a->sums->allAccounts();
    a->prompter.answerInput("dr müller");
    a->sums->practitionerAccounts();
    EXPECT_EQ(a->listed(), std::vector<int>{umlaut});
}

// A balance whose issue date reads as no date is in Outstanding, so the aged
// lines carry it on a line of its own and name its invoices.
TEST_P(Summaries, TheAgedLinesAddUpToOutstandingWithTheUndated)
{
    a->add("A", {{"IssueDate", "12/01/2026"}, {"BalanceDue", "10.00"}});
    const int soon = a->add("B", {{"IssueDate", "soon"}, {"BalanceDue", "122.87"}});
    const int blank = a->add("C", {{"BalanceDue", "1.13"}});
    a->add("D", {{"IssueDate", "31/31/2026"}, {"BalanceDue", "00.00"}});
    a->sums->allAccounts();
    EXPECT_EQ(a->sums->totalsLine(), "4 invoices    Billed: 00.00    Paid: 00.00    Outstanding: 134.00");
    EXPECT_EQ(a->sums->agedLine(), QString("Outstanding by issue date:    Current: 10.00    31-60 days: 00.00    "
                                           "61-90 days: 00.00    Over 90 days: 00.00    Undated: 124.00 "
                                           "(invoices %1, %2)")
                                       .arg(soon)
                                       .arg(blank));
    for (int i = 0; i < 6; ++i)
        a->add("E", {{"BalanceDue", "1"}});
    a->sums->allAccounts();
    EXPECT_TRUE(a->sums->agedLine().endsWith(QString("Undated: 130.00 (invoices %1, %2, %3, %4, %5 and 3 more)")
                                                 .arg(soon)
                                                 .arg(blank)
                                                 .arg(blank + 2)
                                                 .arg(blank + 3)
                                                 .arg(blank + 4)));
}

} // namespace

QUILLON_BOTH_ENGINES(Summaries);
