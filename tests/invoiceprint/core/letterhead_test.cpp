#include "invoiceprint/core/letterheadcontroller.h"
#include "invoiceprint/core/preprintedcontroller.h"
#include "invoiceprint/core/sampleinvoice.h"
#include "report/core/reportsettings.h"
#include "store/core/changelog.h"
#include "support/doubles/recordingreporter.h"
#include "support/station.h"
#include "support/teststore.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <memory>

using namespace invoiceprint;
using report::ReportSettings;

namespace {

struct Station : testsupport::Station<> {
    report::RecordingReporter reporter;
    std::unique_ptr<LetterheadController> lh;
    std::unique_ptr<PreprintedController> nl;

    explicit Station(const testsupport::TestStore &store) { EXPECT_TRUE(open(store).ok()); }
    ~Station()
    {
        lh.reset();
        nl.reset();
        EXPECT_TRUE(prompter.allAnswered());
        EXPECT_TRUE(prompter.failures().isEmpty()) << prompter.failures().join("\n").toStdString();
    }
    LetterheadController &design(int n)
    {
        lh = std::make_unique<LetterheadController>(services, invoiceprint::design(n), reporter);
        EXPECT_TRUE(lh->load());
        return *lh;
    }
    PreprintedController &paper()
    {
        nl = std::make_unique<PreprintedController>(services, reporter);
        EXPECT_TRUE(nl->load());
        return *nl;
    }
    QVariant print(const QString &field) { return db.scalar("SELECT " + field + " FROM tbl_Print"); }
    QStringList clinics()
    {
        QStringList out;
        for (const auto &r : db.select("SELECT Clinic1 FROM tbl_Letterhead ORDER BY LetterHead"))
            out << r.value(0).toString();
        return out;
    }
    QVariant keyAt(int position)
    {
        return db.select("SELECT LetterHead FROM tbl_Letterhead ORDER BY LetterHead").at(size_t(position - 1)).value(0);
    }
    QVariant firstInvoiceLetterHead()
    {
        return db.scalar("SELECT LetterHead FROM tbl_Accounts ORDER BY Invoice").toInt();
    }
};

class LetterheadTest : public testsupport::EngineTest {};

TEST_P(LetterheadTest, DesignTypeSaveStoresTheOwnDesignAndTheDesignsFiles)
{
    Station st(store);
    LetterheadController &c = st.design(2);
    const QStringList before = st.clinics();
    c.designOwn();
    EXPECT_EQ(st.state.currentInvoiceNo, 1);
    c.letterhead().setText(box::Clinic, "Lakeside Osteopathy");
    c.letterhead().setText("txtTherapist4", "Dr Dune");   // design 2's second box of Therapist6
    c.margins().setText(box::Top, "1.5");
    ASSERT_TRUE(c.save());

    QStringList expected = before;
    expected.back() = "Lakeside Osteopathy";
    EXPECT_EQ(st.clinics(), expected);
    EXPECT_EQ(st.db.scalar("SELECT Therapist6 FROM tbl_Letterhead WHERE LetterHead = ?", {st.keyAt(5)}).toString(),
              "Dr Dune");
    EXPECT_EQ(st.print("Account").toString(), "\\account2.rpt");
    EXPECT_EQ(st.print("invoice").toString(), "\\invoice2.rpt");
    EXPECT_DOUBLE_EQ(st.print("MarginTop").toDouble(), 1.5);
    EXPECT_DOUBLE_EQ(st.print("MarginLeft").toDouble(), 0.12);
}

TEST_P(LetterheadTest, RecordsStepAndStopAtTheEnds)
{
    Station st(store);
    LetterheadController &c = st.design(1);
    c.previous();
    EXPECT_EQ(c.shownKey(), st.keyAt(1));
    c.next();
    EXPECT_EQ(c.letterhead().text(box::Clinic), "Northside Family Practice");
    c.last();
    c.next();
    EXPECT_EQ(c.shownKey(), st.keyAt(5));
    c.first();
    EXPECT_EQ(c.shownKey(), st.keyAt(1));
}

TEST_P(LetterheadTest, ClearEmptiesEveryBoxAndSaveStoresEmptyMargins)
{
    Station st(store);
    LetterheadController &c = st.design(3);
    EXPECT_EQ(c.shownKey(), st.keyAt(2));   // design 3 shows the second record
    c.clear();
    EXPECT_EQ(c.shownKey(), st.keyAt(5));
    for (const QString &b : c.letterhead().textControls())
        EXPECT_TRUE(c.letterhead().text(b).isEmpty()) << b.toStdString();
    EXPECT_TRUE(c.margins().text(box::Top).isEmpty());
    ASSERT_TRUE(c.save());
    EXPECT_TRUE(st.print("MarginTop").isNull());
    EXPECT_TRUE(st.print("MarginLeft").isNull());
    EXPECT_EQ(st.clinics().at(1), "Northside Family Practice");
    EXPECT_TRUE(st.clinics().at(4).isEmpty());
}

TEST_P(LetterheadTest, SamplesGoRoundTheFourDesigns)
{
    Station st(store);
    st.design(4).samples();
    EXPECT_EQ(st.windows.log(), (QStringList{"show frmLetterHead1", "unload frmLetterHead4"}));
    st.windows.clearLog();
    st.design(1).samples();
    EXPECT_EQ(st.windows.log(), (QStringList{"show frmLetterHead2", "unload frmLetterHead1"}));
}

TEST_P(LetterheadTest, FinishAsksAndYesMakesTheDesignCurrent)
{
    Station st(store);
    LetterheadController &c = st.design(4);
    st.prompter.answerYes();
    EXPECT_TRUE(c.finish());
    EXPECT_EQ(st.prompter.last().text, LetterheadController::FinishQuestion);
    EXPECT_EQ(st.prompter.last().title, "Save Letterhead Design");
    EXPECT_EQ(st.print("invoice").toString(), "\\invoice4.rpt");
    EXPECT_EQ(st.windows.log(), QStringList{"show frmMenu"});
}

// Every design previews and prints its own receipt layout for the first
// invoice with the design record on show, at the margins typed; the invoice
// itself is left as it was.
class DesignRunTest : public testsupport::EngineTest {};

TEST_P(DesignRunTest, PreviewAndPrintTheFirstInvoiceAtTheTypedMargins)
{
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        Station st(store);
        st.db.exec("UPDATE tbl_Accounts SET LetterHead = 77");
        LetterheadController &c = st.design(n);
        c.next();
        c.margins().setText(box::Top, "1.25");
        c.margins().setText(box::Left, "abc");   // letters count as 0
        c.preview();
        c.print();
        ASSERT_EQ(st.reporter.runs().size(), 2u);
        EXPECT_EQ(st.firstInvoiceLetterHead(), 77);
        store::LogFilter invoices;
        invoices.kind = "invoice";
        EXPECT_TRUE(store::ChangeLog::between(st.db, invoices).empty());
        for (const ReportSettings &s : st.reporter.runs()) {
            EXPECT_EQ(s.letterhead, c.shownKey().toInt());
            EXPECT_TRUE(s.reportFile.endsWith(QStringLiteral("\\invoice%1.rpt").arg(n)));
            EXPECT_EQ(s.selectionFormula, "{tbl_Accounts.Invoice}=1");
            EXPECT_EQ(s.marginTop, 1800);
            EXPECT_EQ(s.marginLeft, 0);
            EXPECT_FALSE(s.marginBottom.has_value());
            EXPECT_TRUE(s.dataFiles[2].endsWith("\\db.mdb"));
        }
        EXPECT_EQ(st.reporter.runs()[0].destination, ReportSettings::ToWindow);
        EXPECT_EQ(st.reporter.runs()[1].destination, ReportSettings::ToPrinter);
        EXPECT_EQ(st.state.currentInvoiceNo, 1);
        st.db.exec("UPDATE tbl_Print SET MarginTop = 2");   // the next design starts afresh
    }
}

TEST_P(DesignRunTest, NothingRunsWithoutAnInvoiceOrWithMarginsOffThePaper)
{
    Station st(store);
    LetterheadController &c = st.design(1);
    c.margins().setText(box::Top, "-0.5");
    st.prompter.expectMessage();
    c.preview();
    EXPECT_TRUE(st.prompter.last().text.startsWith("These margins would put the invoice off the paper"));
    c.margins().setText(box::Top, "1");
    c.margins().setText(box::Left, "7.5");
    st.prompter.expectMessage();
    EXPECT_FALSE(c.save());
    EXPECT_DOUBLE_EQ(st.print("MarginLeft").toDouble(), 0.12);

    c.margins().setText(box::Left, "0.5");
    st.db.exec("DELETE FROM tbl_Accounts");
    st.prompter.expectMessage();
    c.print();
    EXPECT_EQ(st.prompter.last().text, NoInvoice);
    EXPECT_TRUE(st.reporter.runs().empty());
}

TEST_P(DesignRunTest, AFailedRunAsksToRetry)
{
    Station st(store);
    LetterheadController &c = st.design(2);
    st.reporter.failNext("The printer is out of paper");
    st.reporter.failNext("The printer is out of paper");
    st.prompter.answerYes().answerNo();
    c.print();
    EXPECT_EQ(st.reporter.runs().size(), 2u);
    EXPECT_EQ(st.prompter.last().text, "The printer is out of paper. Retry?");
}

TEST_P(LetterheadTest, ASaveOverAnotherStationsMarginsStoresNothing)
{
    Station a(store);
    Station b(store);
    LetterheadController &ca = a.design(1);
    LetterheadController &cb = b.design(1);
    cb.margins().setText(box::Top, "0.75");
    ASSERT_TRUE(cb.save());
    ca.designOwn();
    ca.letterhead().setText(box::Clinic, "Mine");
    ca.margins().setText(box::Top, "1.1");
    a.prompter.expectMessage();
    EXPECT_FALSE(ca.save());
    EXPECT_TRUE(a.prompter.last().text.contains("1.10"));
    EXPECT_DOUBLE_EQ(a.print("MarginTop").toDouble(), 0.75);
    EXPECT_EQ(ca.margins().text(box::Top).toDouble(), 0.75);
    EXPECT_EQ(a.clinics().back(), "Mine");   // the letterhead record was this station's to write
}

// The print setup and the letterheads are logged with their writes: the
// refused save of the margins leaves no entry.
TEST_P(LetterheadTest, PrintSetupAndLetterheadSavesAreLogged)
{
    Station a(store);
    Station b(store);
    a.db.setStation({"Desk A", "host-a", "ann"});
    b.db.setStation({"Desk B", "host-b", "bob"});
    LetterheadController &ca = a.design(1);
    LetterheadController &cb = b.design(1);
    cb.margins().setText(box::Top, "0.75");
    ASSERT_TRUE(cb.save());
    ca.designOwn();
    ca.letterhead().setText(box::Clinic, "Mine");
    ca.margins().setText(box::Top, "1.1");
    a.prompter.expectMessage();
    EXPECT_FALSE(ca.save());

    store::LogFilter print;
    print.kind = "print";
    const auto margins = store::ChangeLog::between(a.db, print);
    ASSERT_EQ(margins.size(), 1u);
    EXPECT_EQ(margins[0].station, "Desk B");
    // The margin typed, and the report files this design prints with.
    const auto top = std::find_if(margins[0].changes.begin(), margins[0].changes.end(),
                                  [](const store::FieldChange &c) { return c.field == "MarginTop"; });
    ASSERT_NE(top, margins[0].changes.end());
    EXPECT_DOUBLE_EQ(top->after.toDouble(), 0.75);
    store::LogFilter letterheads;
    letterheads.kind = "letterhead";
    letterheads.station = "Desk A";
    bool mine = false;
    for (const store::LogEntry &e : store::ChangeLog::between(a.db, letterheads))
        for (const store::FieldChange &c : e.changes)
            mine = mine || (c.field == "Clinic1" && c.after.toString() == "Mine");
    EXPECT_TRUE(mine);
}

class PreprintedTest : public testsupport::EngineTest {};

TEST_P(PreprintedTest, ResetStoresAtOnceAndExitWithNoKeepsIt)
{
    Station st(store);
    st.db.exec("UPDATE tbl_Print SET MarginTop = 1, Account = ?, invoice = ?", {"\\account3.rpt", "\\invoice3.rpt"});
    PreprintedController &c = st.paper();
    c.form().setText(box::Right, "0.4");
    ASSERT_TRUE(c.reset());
    EXPECT_EQ(c.form().text(box::Right), "0.12");
    c.form().setText(box::Top, "3");
    st.prompter.answerNo();
    EXPECT_TRUE(c.exit());
    EXPECT_EQ(st.prompter.last().title, "Save Printer-Setup");
    EXPECT_DOUBLE_EQ(st.print("MarginTop").toDouble(), 2.0);
    EXPECT_DOUBLE_EQ(st.print("MarginBottom").toDouble(), 0.55);
    EXPECT_EQ(st.print("Account").toString(), "\\accountnl.rpt");
    EXPECT_EQ(st.print("invoice").toString(), "\\invoicenl.rpt");
}

TEST_P(PreprintedTest, PreviewSetsAllFourMarginsAndLettersCountAsZero)
{
    Station st(store);
    PreprintedController &c = st.paper();
    c.form().setText(box::Bottom, "xyz");
    c.form().setText(box::Left, "1.5in");
    c.preview();
    ASSERT_EQ(st.reporter.runs().size(), 1u);
    const ReportSettings &s = st.reporter.runs()[0];
    EXPECT_EQ(s.marginTop, 2880);
    EXPECT_EQ(s.marginBottom, 0);
    EXPECT_EQ(s.marginLeft, 2160);
    EXPECT_EQ(s.marginRight, 173);
    EXPECT_TRUE(s.reportFile.endsWith("\\invoicenl.rpt"));
    EXPECT_TRUE(s.dataFiles[2].isEmpty());
    ASSERT_TRUE(c.save());
    EXPECT_DOUBLE_EQ(st.print("MarginBottom").toDouble(), 0.0);
    EXPECT_DOUBLE_EQ(st.print("MarginLeft").toDouble(), 1.5);

    c.form().setText(box::Top, "6");
    c.form().setText(box::Bottom, "5");
    st.prompter.expectMessage();
    c.print();
    EXPECT_EQ(st.reporter.runs().size(), 1u);
}

QUILLON_BOTH_ENGINES(LetterheadTest);
QUILLON_BOTH_ENGINES(DesignRunTest);
QUILLON_BOTH_ENGINES(PreprintedTest);

} // namespace
