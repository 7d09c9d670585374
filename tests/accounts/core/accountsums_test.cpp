#include "accounts/core/accountfields.h"
#include "accounts/core/accountsums.h"
#include "accounts/core/invoicestore.h"
#include "accounts/core/summarylist.h"
#include "support/station.h"
#include "support/teststore.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <memory>

namespace {

using accounts::AccountSums;
using accounts::InvoiceStore;
using accounts::SummaryList;
namespace f = accounts::invoice::field;

struct Station : testsupport::Station<> {
    explicit Station(const testsupport::TestStore &store) { EXPECT_TRUE(open(store).ok()); }
};

class Sums : public testsupport::StationTest<Station> {
protected:
    // The figures as kept, and as counted again from every invoice.
    static QStringList figures(store::Database &db)
    {
        QStringList out;
        const auto rows = AccountSums::read(db);
        if (!rows) {
            ADD_FAILURE() << "no figures";
            return out;
        }
        for (const AccountSums::Row &r : *rows)
            out << QString("%1|%2|%3|%4|%5|%6")
                       .arg(r.issueDate.isNull() ? "null" : r.issueDate.toString(),
                            r.settledAs.isNull() ? "owing" : r.settledAs.toString())
                       .arg(r.invoices)
                       .arg(r.billed.text(), r.paid.text(), r.owed.text());
        out.sort();
        return out;
    }
    static void expectRecounted(store::Database &db, const char *when)
    {
        const QStringList kept = figures(db);
        AccountSums::rebuild(db);
        EXPECT_EQ(kept, figures(db)) << when;
    }
};

TEST_P(Sums, EveryInvoiceWriteKeepsTheFiguresOfAFullRecount)
{
    Station b(store);
    InvoiceStore mine(a->db), theirs(b.db);
    AccountSums::rebuild(a->db);
    const int n = mine.add(1).key.toInt();
    expectRecounted(a->db, "added");
    mine.write(n, {{f::IssueDate, "", "01/05/2026"}, {f::amount(0), "", "75.00"}});
    expectRecounted(a->db, "lines written");

    // The other station pays between this one's read and its write: the
    // balance is worked out from both, and the figures follow it.
    theirs.write(n, {{f::AmountPaid, "", "75.00"}});
    mine.write(n, {{f::amount(1), "", "10.00"}});
    expectRecounted(a->db, "written by both");
    EXPECT_EQ(a->db.scalar("SELECT BalanceDue FROM tbl_Accounts WHERE Invoice = ?", {n}).toString(), "10.00");

    mine.write(n, {{f::IssueDate, "01/05/2026", "soon"}});   // another date's figures
    theirs.write(n, {{f::AmountPaid, "75.00", "85.00"}});    // settled
    expectRecounted(a->db, "settled under another date");

    // Refused: a field changed meanwhile, a removal of what changed.
    const auto refused = mine.write(n, {{f::IssueDate, "01/05/2026", "02/05/2026"}});
    EXPECT_EQ(refused.contested, QStringList{f::IssueDate});
    EXPECT_EQ(mine.remove(n, {{f::IssueDate, "01/05/2026"}}).outcome, InvoiceStore::Removal::Changed);
    expectRecounted(a->db, "refused");
    EXPECT_EQ(theirs.remove(n, {{f::IssueDate, "soon"}}).outcome, InvoiceStore::Removal::Removed);
    expectRecounted(a->db, "removed");

    // Written some other way: made again from the invoices when next read.
    a->db.exec("UPDATE tbl_Accounts SET BalanceDue = '3.00'");
    AccountSums::forget(a->db);
    EXPECT_FALSE(AccountSums::kept(a->db));
    expectRecounted(a->db, "forgotten");
    EXPECT_TRUE(AccountSums::kept(a->db));
}

// The whole list read by its figures and a page at a time, and read
// invoice by invoice (narrowed to a practitioner every invoice has): the
// same rows in the same order, the same totals.
TEST_P(Sums, ListsAndTotalsByTheFiguresAreThoseOfTheInvoices)
{
    const QStringList dates = {"01/05/2027", "1/5/27", "soon", "", "12-1-26", "02/10/2026", "12/02/2026"};
    const QStringList balances = {"00.00", "75.00", "0", "", "-00.00", "12.50", "abc", "$0.00"};
    {
        store::WriteTransaction tx(a->db);
        a->db.exec("DELETE FROM tbl_Accounts");
        // Files of names sorting apart by case and accent, one of no name, and none at all.
        std::vector<QVariant> files;
        for (const char *last : {"smith", "SMITH", "Ärger", "O'BRIEN"})
            files.push_back(a->db.insert("tbl_PatientDetails", {{"PLastName", QString::fromUtf8(last)}}));
        files.push_back(a->db.insert("tbl_PatientDetails", {{"Title", "MR"}}));
        files.push_back(a->db.insert("tbl_PatientDetails", {{"PFirstName", "ANN"}}));
        files.push_back(99999);
        files.push_back(QVariant());
        for (int i = 0; i < 300; ++i) {
            QVariantMap v{{"FileNo", files[size_t(i % files.size())]}, {"PayTo", "DR X"}, {"Subtotal", QString::number(i % 9) + ".25"},
                          {"Discount", i % 4 ? "" : "1.00"}, {"AmountPaid", QString::number(i % 5)}};
            if (i % 11 != 0)
                v.insert("IssueDate", dates[i % dates.size()]);
            if (i % 17 != 0)
                v.insert("BalanceDue", balances[i % balances.size()]);
            a->db.insert("tbl_Accounts", v);
        }
        tx.commit();
    }
    AccountSums::forget(a->db);
    const int last = a->db.scalar("SELECT MAX(Invoice) FROM tbl_Accounts").toInt();
    const QString date = a->db.scalar("SELECT IssueDate FROM tbl_Accounts WHERE Invoice = ?", {last}).toString();
    EXPECT_TRUE(InvoiceStore(a->db).write(last, {{f::IssueDate, date, "12/03/2026"}}).contested.isEmpty());
    const QDate today(2026, 12, 20);
    for (const auto order : {SummaryList::Order::IssueDate, SummaryList::Order::Invoice, SummaryList::Order::Name})
        for (const bool unpaid : {false, true}) {
            SummaryList bySums(a->db, today), read(a->db, today);
            SummaryList::Narrowing n;
            n.unpaid = unpaid;
            bySums.list(n, order);
            n.practitioner = "DR X";
            read.list(n, order);
            ASSERT_EQ(bySums.rowCount(), read.rowCount());
            EXPECT_GT(bySums.rowCount(), 2 * SummaryList::PageRows);
            std::vector<int> shown, all;
            for (int r = bySums.rowCount() - 1; r >= 0; --r)   // from the last row back, as the window opens
                shown.insert(shown.begin(), bySums.invoiceAt(r));
            for (int r = 0; r < read.rowCount(); ++r)
                all.push_back(read.invoiceAt(r));
            EXPECT_EQ(shown, all) << int(order) << unpaid;
            const SummaryList::Totals &s = bySums.totals(), &t = read.totals();
            for (const auto &[x, y] : {std::pair{s.billed, t.billed}, {s.paid, t.paid}, {s.outstanding, t.outstanding},
                                       {s.current, t.current}, {s.days31to60, t.days31to60},
                                       {s.days61to90, t.days61to90}, {s.over90, t.over90}, {s.undated, t.undated}})
                EXPECT_EQ(x.text(), y.text()) << int(order) << unpaid;
            EXPECT_EQ(s.undatedInvoices, t.undatedInvoices);
            EXPECT_FALSE(s.undatedInvoices.empty());
        }
}

} // namespace

QUILLON_BOTH_ENGINES(Sums);
