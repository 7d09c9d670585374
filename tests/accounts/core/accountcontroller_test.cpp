#include "accounts/core/accountcontroller.h"
#include "accounts/core/accountfields.h"
#include "accounts/core/invoicestore.h"
#include "accounts/core/patientstore.h"
#include "livewait.h"
#include "support/doubles/recordingreporter.h"
#include "support/station.h"
#include "support/teststore.h"
#include "store/core/dialect.h"

#include <gtest/gtest.h>
#include <memory>

namespace b = accounts::invoice::box;
namespace win = ui::win;

namespace {

const QString SaveQuestion = "Do you want to save new invoice?";
const QString DeleteQuestion = "Are you sure you want to delete this invoice?";

struct Station : testsupport::Station<> {
    report::RecordingReporter reporter;
    std::unique_ptr<accounts::AccountController> inv;
    explicit Station(const testsupport::TestStore &store)
    {
        EXPECT_TRUE(open(store).ok());
        inv = std::make_unique<accounts::AccountController>(services, reporter);
        EXPECT_TRUE(inv->load());
    }
    // The prompts a test expects, in order: exact texts, or a beginning ending in "*".
    QStringList expected;
    void expectAsk(const QString &text, const QString &title, bool yes)
    {
        yes ? prompter.answerYes() : prompter.answerNo();
        expected << title + "|" + text;
    }
    void expectMessage(const QString &text, const QString &title)
    {
        prompter.expectMessage();
        expected << title + "|" + text;
    }
    ~Station()
    {
        inv.reset();
        const QStringList texts = prompter.texts(), titles = prompter.titles();
        EXPECT_EQ(texts.size(), expected.size());
        for (int i = 0; i < std::min(texts.size(), expected.size()); ++i) {
            const QString got = titles[i] + "|" + texts[i];
            if (expected[i].endsWith('*'))
                EXPECT_TRUE(got.startsWith(expected[i].chopped(1))) << got.toStdString();
            else
                EXPECT_EQ(got, expected[i]);
        }
        EXPECT_TRUE(prompter.failures().isEmpty()) << prompter.failures().join("\n").toStdString();
    }
    void showFile(int fileNo)
    {
        state.currentFileNo = fileNo;
        inv->arrive();
    }
    void showInvoice(int n)
    {
        state.currentInvoiceNo = n;
        state.openInvoiceByNumber = true;
        inv->arrive();
    }
    void type(const QString &box, const QString &text)
    {
        inv->form().setText(box, text);
        inv->edited(box);
    }
    QString box(const QString &name) { return inv->form().text(name); }
    QVariant stored(int invoice, const QString &field)
    {
        return db.scalar(QStringLiteral("SELECT %1 FROM tbl_Accounts WHERE Invoice = ?").arg(store::Dialect::quote(field)),
                         {invoice});
    }
    int invoicesOf(int file)
    {
        return db.scalar("SELECT COUNT(*) FROM tbl_Accounts WHERE FileNo = ?", {file}).toInt();
    }
    int addFile(const QString &last)
    {
        store::WriteTransaction tx(db);
        const int n = db.insert("tbl_PatientDetails", {{"PLastName", last}, {"PFirstName", "ANN"}});
        tx.commit();
        return n;
    }
    int addInvoice(int file, const QVariantMap &more = {})
    {
        QVariantMap v = more;
        v.insert("FileNo", file);
        store::WriteTransaction tx(db);
        const int n = db.insert("tbl_Accounts", v);
        tx.commit();
        return n;
    }
};

class Invoices : public testsupport::StationTest<Station> {};

TEST_P(Invoices, AmountsFollowTheFeesAndThePaymentSwitchesToReceiptMode)
{
    const int file = a->addFile("FEES");
    const int n = a->addInvoice(file, {{"Referrer", "SELF"}});
    a->showFile(file);
    EXPECT_EQ(a->inv->invoiceNo(), n);
    a->type(b::amount(0), "100");
    a->type(b::amount(1), "50.5");
    a->type(b::amount(7), "10");
    a->inv->amountFocusChanged();
    EXPECT_EQ(a->box(b::amount(6)), "150.50");
    EXPECT_EQ(a->box(b::amount(9)), "140.50");
    EXPECT_FALSE(a->inv->receiptMode());

    a->type(b::amount(8), "140.5");
    EXPECT_TRUE(a->inv->receiptMode());   // at once, before any focus change
    EXPECT_EQ(a->box(b::amount(9)), "140.50");
    a->inv->amountFocusChanged();
    EXPECT_EQ(a->box(b::amount(9)), "00.00");
    a->type(b::amount(8), "0");
    EXPECT_FALSE(a->inv->receiptMode());

    // Exact cents: no binary rounding in a long sum.
    for (int i = 0; i < 6; ++i)
        a->type(b::amount(i), "0.1");
    a->type(b::amount(7), "");
    a->type(b::amount(8), "0.6");
    a->inv->amountFocusChanged();
    EXPECT_EQ(a->box(b::amount(9)), "00.00");
    EXPECT_TRUE(a->inv->save());
    EXPECT_EQ(a->stored(n, "Subtotal").toString(), "00.60");
    EXPECT_EQ(a->stored(n, "BalanceDue").toString(), "00.00");
}

TEST_P(Invoices, SaveNeedsAReferrerAndStoresItInCapitals)
{
    const int file = a->addFile("REFER");
    const int n = a->addInvoice(file, {{"Treatment1", "X"}});
    a->showFile(file);
    QStringList focus;
    QObject::connect(a->inv.get(), &accounts::AccountController::focusRequested, [&](const QString &f) { focus << f; });
    a->type(b::description(0), "Massage");
    EXPECT_FALSE(a->inv->save());
    EXPECT_EQ(focus.last(), b::Referrer);
    EXPECT_EQ(a->stored(n, "Treatment1").toString(), "X");
    a->type(b::Referrer, "o'brien");
    EXPECT_TRUE(a->inv->save());
    EXPECT_EQ(a->stored(n, "Referrer").toString(), "O'BRIEN");
    EXPECT_EQ(a->stored(n, "Treatment1").toString(), "Massage");
    EXPECT_EQ(a->stored(n, "BalanceDue").toString(), "00.00");   // empty balance stored as 00.00
}

TEST_P(Invoices, StepsStayWithinThePatientsInvoices)
{
    const int mine = a->addFile("MINE"), other = a->addFile("OTHER");
    const int i1 = a->addInvoice(mine, {{"Referrer", "A"}});
    a->addInvoice(other, {{"Referrer", "B"}});
    const int i2 = a->addInvoice(mine, {{"Referrer", "C"}});
    a->addInvoice(other, {{"Referrer", "D"}});
    a->showFile(mine);
    EXPECT_EQ(a->inv->invoiceNo(), i2);   // the patient's last invoice
    a->inv->next();
    EXPECT_EQ(a->inv->invoiceNo(), i2);   // Next on the last stays on it
    a->inv->previous();
    EXPECT_EQ(a->inv->invoiceNo(), i1);
    a->inv->previous();
    EXPECT_EQ(a->inv->invoiceNo(), i1);
    a->inv->last();
    EXPECT_EQ(a->inv->invoiceNo(), i2);
    a->inv->first();
    EXPECT_EQ(a->inv->invoiceNo(), i1);
    EXPECT_EQ(a->inv->header().name, "ANN  MINE");
}

TEST_P(Invoices, OutstandingNoticeAndOpeningByNumber)
{
    const int file = a->addFile("OWES");
    const int paid = a->addInvoice(file, {{"BalanceDue", "00.00"}, {"Referrer", "A"}});
    a->showInvoice(paid);
    EXPECT_EQ(a->inv->header().outstanding, "");
    // 32-bit invoice numbers: beyond the 16-bit range opens and prints.
    const int big = a->addInvoice(file, {{"Invoice", 40000}, {"BalanceDue", "12"}, {"Referrer", "A"}});
    ASSERT_EQ(big, 40000);
    a->showInvoice(40000);
    EXPECT_EQ(a->inv->invoiceNo(), 40000);
    EXPECT_FALSE(a->state.openInvoiceByNumber);
    EXPECT_EQ(a->inv->header().outstanding, "Account Outstanding!");
    a->inv->preview();
    ASSERT_EQ(a->reporter.runs().size(), 1u);
    EXPECT_EQ(a->reporter.runs()[0].selectionFormula, "{tbl_Accounts.Invoice}=40000");
}

TEST_P(Invoices, PrintChoosesTheLayoutByTheAmountPaidAndAsksToRetry)
{
    const int file = a->addFile("PRINT");
    const int n = a->addInvoice(file, {{"Referrer", "A"}, {"AmountPaid", "0"}});
    a->showFile(file);
    a->inv->preview();
    a->type(b::amount(8), "0.01");
    a->reporter.failNext("The printer is out of paper");
    a->expectAsk("The printer is out of paper \\Printer not ready! Please check printer "
                          "connections and feedpaper. Retry?", "", true);
    a->inv->preview();
    const auto &runs = a->reporter.runs();
    ASSERT_EQ(runs.size(), 3u);
    const QString app = a->state.places.data();
    EXPECT_EQ(runs[0].reportFile, app + "\\accountnl.rpt");
    EXPECT_EQ(runs[0].destination, 0);
    EXPECT_EQ(runs[0].marginTop, 2880);
    EXPECT_EQ(runs[0].marginLeft, 173);
    EXPECT_EQ(runs[0].marginBottom, 792);
    EXPECT_EQ(runs[0].dataFiles[2], app + "\\db.mdb");
    EXPECT_EQ(runs[1].reportFile, app + "\\invoicenl.rpt");
    EXPECT_EQ(runs[2].destination, 1);   // a retry goes to the printer
    EXPECT_EQ(a->stored(n, "AmountPaid").toString(), "0.01");   // saved before printing
}

TEST_P(Invoices, BlankInvoicesAreDiscardedWhicheverWayTheyCame)
{
    // The patient window stores a first invoice blank; leaving it unsaved removes it.
    const int file = a->addFile("BLANK");
    const int first = a->addInvoice(file);
    a->showFile(file);
    EXPECT_EQ(a->inv->invoiceNo(), first);
    EXPECT_FALSE(a->inv->isPending());
    EXPECT_TRUE(a->inv->exit());
    EXPECT_EQ(a->invoicesOf(file), 0);
    EXPECT_EQ(a->windows.log().at(a->windows.log().size() - 2), "show " + win::SearchMenu);

    // New: pending; leaving with No removes it, Yes without a referrer stays.
    const int kept = a->addInvoice(file, {{"Referrer", "A"}});
    a->showFile(file);
    a->inv->newInvoice();
    EXPECT_TRUE(a->inv->isPending());
    EXPECT_EQ(a->invoicesOf(file), 2);
    a->type(b::description(0), "Visit");
    a->expectAsk(SaveQuestion, "Save Invoice?", true);
    EXPECT_FALSE(a->inv->exit());
    EXPECT_EQ(a->invoicesOf(file), 2);
    a->expectAsk(SaveQuestion, "Save Invoice?", false);
    EXPECT_TRUE(a->inv->exit());
    EXPECT_EQ(a->invoicesOf(file), 1);
    EXPECT_EQ(a->stored(kept, "Referrer").toString(), "A");

    // A blank new invoice left by stepping back goes too.
    a->showFile(file);
    a->inv->newInvoice();
    a->inv->previous();
    EXPECT_EQ(a->inv->invoiceNo(), kept);
    EXPECT_EQ(a->invoicesOf(file), 1);
}

TEST_P(Invoices, DeleteTellsWhenProtectedAndReturnsToThePatientAfterTheLast)
{
    a->showInvoice(1);
    a->expectAsk(DeleteQuestion, "Delete Invoice", true);
    a->expectMessage("Invoice 1 is one of the protected sample invoices 1 to 3 and was kept.",
                              "Delete Invoice");
    a->inv->remove();
    EXPECT_TRUE(a->stored(1, "Invoice").isValid());

    const int file = a->addFile("ONLY");
    const int n = a->addInvoice(file, {{"Referrer", "A"}});
    a->showFile(file);
    a->expectAsk(DeleteQuestion, "Delete Invoice", false);
    a->inv->remove();
    EXPECT_EQ(a->invoicesOf(file), 1);
    a->expectAsk(DeleteQuestion, "Delete Invoice", true);
    a->inv->remove();
    EXPECT_EQ(a->invoicesOf(file), 0);
    EXPECT_FALSE(a->stored(n, "Invoice").isValid());
    EXPECT_EQ(a->state.currentFileNo, file);
    EXPECT_EQ(a->windows.log().at(a->windows.log().size() - 2), "show " + win::PatientDetails);
}

TEST_P(Invoices, TwoStationsNeverOverwriteEachOther)
{
    const int file = a->addFile("SHARED");
    const int n = a->addInvoice(file, {{"Referrer", "A"}, {"Amount1", "10"}});
    Station b2(store);
    a->showFile(file);
    b2.showFile(file);
    a->type(b::amount(0), "20");
    EXPECT_TRUE(a->inv->save());
    b2.type(b::amount(0), "30");
    b2.expectMessage("Another station changed this invoice*", "Save Invoice?");
    EXPECT_FALSE(b2.inv->save());
    EXPECT_EQ(a->stored(n, "Amount1").toString(), "20");
    EXPECT_EQ(b2.box(b::amount(0)), "30");   // still typed, the user having been told
    // A different box of the same invoice goes through; the fee only when
    // saved again, over the other station's, as the user chooses.
    a->type(b::Firm, "ACME");
    EXPECT_TRUE(a->inv->save());
    EXPECT_TRUE(b2.inv->save());
    EXPECT_EQ(a->stored(n, "Amount1").toString(), "30");
    EXPECT_EQ(a->stored(n, "Firm").toString(), "ACME");
}

// Two stations each add a line to one invoice: the totals stored are those
// of the stored lines, whichever station saves last.
TEST_P(Invoices, TotalsAreWorkedOutFromTheStoredLines)
{
    const int file = a->addFile("TOTALS");
    const int n = a->addInvoice(file, {{"Referrer", "A"}, {"Amount1", "75.00"}, {"Amount2", "45.00"},
                                       {"Subtotal", "120.00"}, {"BalanceDue", "120.00"}});
    Station b2(store);
    a->showFile(file);
    b2.showFile(file);
    a->type(b::amount(2), "50");
    a->inv->amountFocusChanged();
    b2.type(b::amount(3), "50");
    b2.inv->amountFocusChanged();
    EXPECT_TRUE(a->inv->save());
    EXPECT_TRUE(b2.inv->save());
    EXPECT_EQ(a->stored(n, "Amount3").toString(), "50");
    EXPECT_EQ(a->stored(n, "Amount4").toString(), "50");
    EXPECT_EQ(a->stored(n, "Subtotal").toString(), "220.00");
    EXPECT_EQ(a->stored(n, "BalanceDue").toString(), "220.00");
    EXPECT_EQ(b2.box(b::amount(2)), "50");
    EXPECT_EQ(b2.box(b::amount(6)), "220.00");

    // The store's edit: the line and the totals, before and after.
    const store::Edit e = accounts::InvoiceStore(a->db).write(n, {{"Discount", "", "20"}}).edit;
    EXPECT_EQ(e.kind, "invoice");
    EXPECT_EQ(e.key.toInt(), n);
    ASSERT_EQ(e.changes.size(), 2u);
    EXPECT_EQ(e.changes[0].field, "Discount");
    EXPECT_EQ(e.changes[1].field, "BalanceDue");
    EXPECT_EQ(e.changes[1].before.toString(), "220.00");
    EXPECT_EQ(e.changes[1].after.toString(), "200.00");
}

// The other station changed one box this station typed: the rest is stored,
// and the message names every box typed by its caption.
TEST_P(Invoices, ASaveMeetingAnotherStationsChangeKeepsEveryOtherEntry)
{
    const int file = a->addFile("PARTLY");
    const int n = a->addInvoice(file, {{"Referrer", "A"}, {"Amount1", "100"}});
    Station b2(store);
    a->showFile(file);
    b2.showFile(file);
    b2.type(b::amount(0), "80");
    ASSERT_TRUE(b2.inv->save());
    a->type(b::amount(0), "90");
    a->type(b::amount(7), "10");
    a->type(b::Firm, "ACME");
    a->expectMessage("Another station changed this invoice while you were editing it, so your entries in the "
                     "boxes it also changed were not saved; your other entries were saved. The invoice is shown "
                     "as it is stored now, and what was not saved is still in its box: save again to store it over "
                     "the other station's entry.\n\nYour entries:\nFirm: ACME   (saved)\n"
                     "Fees ($), line 1: 90   (not saved; stored now: 80)\nDiscount: 10   (saved)",
                     "Save Invoice?");
    EXPECT_FALSE(a->inv->save());
    EXPECT_EQ(a->stored(n, "Amount1").toString(), "80");
    EXPECT_EQ(a->stored(n, "Discount").toString(), "10");
    EXPECT_EQ(a->stored(n, "Firm").toString(), "ACME");
    EXPECT_EQ(a->stored(n, "BalanceDue").toString(), "70.00");
    EXPECT_EQ(a->box(b::amount(0)), "90");
    EXPECT_EQ(a->box(b::amount(7)), "10");
}

TEST_P(Invoices, AnAmountBoxTakesOnlyASumOfMoney)
{
    const QLocale was;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const int file = a->addFile("STRICT");
    const int n = a->addInvoice(file, {{"Referrer", "A"}, {"Amount1", "12 dollars"}});
    a->showFile(file);
    EXPECT_EQ(a->box(b::amount(6)), "12.00");   // an old record's text reads as before
    EXPECT_TRUE(a->inv->leave(b::amount(0)).ok());

    const QString rule = "It takes a sum of money: digits with at most two decimals (1250.50), thousands "
                         "separators (1,250.50) and a currency sign ($1,250.50), up to 999,999,999,999.99.";
    a->type(b::amount(8), "12abc");
    EXPECT_FALSE(a->inv->receiptMode());
    a->expectMessage("Amount Paid: \"12abc\" is not a sum of money. " + rule, "Invoice  +/-  Receipt");
    EXPECT_FALSE(a->inv->leave(b::amount(8)).ok());
    a->inv->amountFocusChanged();
    EXPECT_EQ(a->box(b::amount(9)), "12.00");   // nothing worked out from it
    a->expectMessage("Amount Paid: \"12abc\" is not a sum of money.*", "Invoice  +/-  Receipt");
    EXPECT_FALSE(a->inv->save());
    EXPECT_EQ(a->stored(n, "AmountPaid").toString(), "");

    for (const char *refused : {"1e9", "1 000", "1,00", "$", "5.005", "1000000000000"}) {
        a->expectMessage("Amount Paid: *", "Invoice  +/-  Receipt");
        a->type(b::amount(8), refused);
        EXPECT_FALSE(a->inv->leave(b::amount(8)).ok()) << refused;
    }
    a->expectMessage("Discount: \"-5\" is not a sum of money.*", "Invoice  +/-  Receipt");
    a->type(b::amount(7), "-5");
    EXPECT_FALSE(a->inv->leave(b::amount(7)).ok());
    a->type(b::amount(7), "");

    // Separators and a sign are kept in the amount format every reader takes.
    a->type(b::amount(8), "$1,000.50");
    EXPECT_TRUE(a->inv->leave(b::amount(8)).ok());
    EXPECT_EQ(a->box(b::amount(8)), "1000.50");
    EXPECT_TRUE(a->inv->receiptMode());
    a->type(b::amount(1), "-20");   // a credit line
    EXPECT_TRUE(a->inv->save());
    EXPECT_EQ(a->stored(n, "AmountPaid").toString(), "1000.50");
    EXPECT_EQ(a->stored(n, "BalanceDue").toString(), "-1008.50");
    QLocale::setDefault(was);
}

// A blank invoice another station filled in meanwhile is not discarded
// when this station leaves it.
TEST_P(Invoices, ABlankInvoiceFilledInAtAnotherStationStays)
{
    const int file = a->addFile("FILLED");
    const int n = a->addInvoice(file);
    Station b2(store);
    a->showFile(file);
    b2.showFile(file);
    b2.type(b::description(0), "Visit");
    b2.type(b::Referrer, "SELF");
    ASSERT_TRUE(b2.inv->save());
    EXPECT_TRUE(a->inv->exit());
    EXPECT_EQ(a->invoicesOf(file), 1);
    EXPECT_EQ(a->stored(n, "Treatment1").toString(), "Visit");

    // Nor is one deleted that changed while the question was open.
    a->showFile(file);
    a->prompter.onNext([&](const auto &) {
        b2.type(b::description(0), "Second visit");
        EXPECT_TRUE(b2.inv->save());
    });
    a->expectAsk(DeleteQuestion, "Delete Invoice", true);
    a->expectMessage(QString("Another station changed invoice %1 after you opened it, so it was not deleted.").arg(n),
                     "Delete Invoice");
    a->inv->remove();
    EXPECT_EQ(a->stored(n, "Treatment1").toString(), "Second visit");
    EXPECT_EQ(a->box(b::description(0)), "Second visit");
}

// An open invoice takes another station's lines, keeps what this station
// typed (marked with what the other stored) and works out its totals from
// the lines on show; the patient's new name reaches its heading.
TEST_P(Invoices, AnOpenInvoiceFollowsAnotherStationWithoutLosingWhatWasTyped)
{
    const int file = a->addFile("LIVE");
    const int n = a->addInvoice(file, {{"Referrer", "A"}, {"Amount1", "10.00"}, {"Subtotal", "10.00"},
                                       {"BalanceDue", "10.00"}});
    Station b2(store);
    a->showFile(file);
    b2.showFile(file);
    a->type(b::amount(1), "5");
    a->type(b::Firm, "ACME");
    b2.type(b::amount(2), "20");
    b2.type(b::Firm, "BETA");
    ASSERT_TRUE(b2.inv->save());
    ASSERT_TRUE(livetest::within(a->inv->live(), [&] { return a->box(b::amount(2)) == "20"; }));
    EXPECT_EQ(a->box(b::amount(1)), "5");
    EXPECT_EQ(a->box(b::Firm), "ACME");
    EXPECT_EQ(a->inv->changedElsewhere().value(b::Firm), "BETA");
    EXPECT_EQ(a->box(b::amount(6)), "35.00");

    accounts::PatientStore(b2.db).write(file, {{"PLastName", "LIVE", "LIVELY"}});
    ASSERT_TRUE(livetest::within(a->inv->live(), [&] { return a->inv->header().name.endsWith("LIVELY"); }));

    // The new line taken over is no change of this station's: only the
    // firm meets the other station's entry.
    a->expectMessage("Another station changed this invoice*", "Save Invoice?");
    EXPECT_FALSE(a->inv->save());
    EXPECT_EQ(a->stored(n, "Amount2").toString(), "5");
    EXPECT_EQ(a->stored(n, "Amount3").toString(), "20");
    EXPECT_EQ(a->stored(n, "Firm").toString(), "BETA");
    EXPECT_EQ(a->stored(n, "Subtotal").toString(), "35.00");
}

} // namespace

QUILLON_BOTH_ENGINES(Invoices);
