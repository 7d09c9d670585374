#include "report/core/reportengine.h"
#include "reportfixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace report;

namespace {

class ReportEngineTest : public reporttest::ReportFixture {
protected:
    QString failure(const ReportSettings &s)
    {
        try {
            ReportEngine::build(s, db);
        } catch (const ReportError &e) {
            return e.description;
        }
        return QStringLiteral("no failure");
    }
};

} // namespace

TEST_F(ReportEngineTest, InvoiceOnLetterheadHoldsTheInvoiceAndTheDesign)
{
    const RenderedReport r = ReportEngine::build(settings("account1.rpt", 1), db);
    EXPECT_EQ(r.invoice, 1);
    EXPECT_EQ(r.title, "TAX INVOICE");
    EXPECT_EQ(r.documentName, "TAX INVOICE 1");
    EXPECT_EQ(r.reportFile, dir.file("account1.rpt"));
    for (const char *text : {"TAX INVOICE", "MR JOHN A SAMPLE", "1 FIRST STREET", "PORT ELMS QL 4021",
                             "01/01/2026", "Initial consultation", "Treatment session", ">100<",
                             ">75.00<", ">45.00<", ">120.00<", "$ 120.00", "DR AVERY", "SELF",
                             "Harbour View Physiotherapy", "12 Quay Street", "Dr Brook",
                             "General Practitioner"})
        EXPECT_TRUE(r.html.contains(QString::fromUtf8(text))) << text;
    EXPECT_FALSE(r.html.contains("RECEIPT"));
    EXPECT_FALSE(r.html.contains("Credit Card"));  // no payment block on an invoice
}

TEST_F(ReportEngineTest, ReceiptShowsWhenAndHowItWasPaid)
{
    const RenderedReport r = ReportEngine::build(settings("invoice1.rpt", 2), db);
    EXPECT_EQ(r.title, "RECEIPT");
    for (const char *text : {"RECEIPT", "MRS MARY B EXAMPLE", "01/02/2026", "$ 00.00",
                             "\u2610 Cash", "\u2612 Cheque", "\u2610 Credit Card"})
        EXPECT_TRUE(r.html.contains(QString::fromUtf8(text))) << text;
}

TEST_F(ReportEngineTest, LetterheadIsTheInvoicesDesignOrElseThePracticesOwn)
{
    db.exec("UPDATE tbl_Accounts SET LetterHead = ? WHERE Invoice = 1", {3});
    EXPECT_TRUE(ReportEngine::build(settings("account3.rpt", 1), db).html.contains("Riverbend Chiropractic Centre"));

    // The invoice window never sets the design: the last record, the
    // practice's own, prints then.
    db.exec("UPDATE tbl_Accounts SET LetterHead = NULL WHERE Invoice = 1");
    EXPECT_TRUE(ReportEngine::build(settings("account1.rpt", 1), db).html.contains("Your Practice Name"));
    db.exec("UPDATE tbl_Accounts SET LetterHead = 77 WHERE Invoice = 1");
    EXPECT_TRUE(ReportEngine::build(settings("account1.rpt", 1), db).html.contains("Your Practice Name"));

    // A letterhead sample names its design whatever the invoice holds.
    ReportSettings sample = settings("account1.rpt", 1);
    sample.letterhead = 3;
    EXPECT_TRUE(ReportEngine::build(sample, db).html.contains("Riverbend Chiropractic Centre"));
}

TEST_F(ReportEngineTest, PreprintedPaperHasNoLetterheadAndTakesTheCallersMargins)
{
    ReportSettings s = settings("accountnl.rpt", 1);
    RenderedReport r = ReportEngine::build(s, db);
    EXPECT_FALSE(r.html.contains("Harbour View"));
    EXPECT_TRUE(r.html.contains("MR JOHN A SAMPLE"));
    EXPECT_EQ(r.margins.top, 2880);  // the layout's own, none being set

    s.marginTop = 2 * 1440;
    s.marginLeft = 173;
    s.marginBottom = 792;
    s.marginRight = -5;  // nothing prints outside the sheet
    r = ReportEngine::build(s, db);
    EXPECT_EQ(r.margins.top, 2880);
    EXPECT_EQ(r.margins.left, 173);
    EXPECT_EQ(r.margins.bottom, 792);
    EXPECT_EQ(r.margins.right, 0);
}

TEST_F(ReportEngineTest, FailuresCarryADescriptionToShow)
{
    EXPECT_EQ(failure(settings("account9.rpt", 1)),
              "Cannot find the report file " + QDir::toNativeSeparators(dir.file("account9.rpt")));

    writeFile("broken.rpt", "[report]\nformat = 1\n[body]\n<p>{Nothing}</p>\n");
    EXPECT_EQ(failure(settings("broken.rpt", 1)),
              "The report file broken.rpt is not valid: line 4: unknown field Nothing");

    EXPECT_EQ(failure(settings("account1.rpt", 99)), "There is no invoice number 99");

    ReportSettings s = settings("account1.rpt", 1);
    s.selectionFormula = "{tbl_Accounts.Invoice}=1 OR 1=1";
    EXPECT_TRUE(failure(s).startsWith("The selection formula"));

    s = settings("account1.rpt", 1);
    s.reportFile.clear();
    EXPECT_EQ(failure(s), "No report file is named");
}

TEST_F(ReportEngineTest, DataFilesMustNameTheOpenDatabase)
{
    ReportSettings s = settings("account1.rpt", 1);
    s.dataFiles[2].clear();  // the preprinted-paper window sets 0 and 1 only
    EXPECT_NO_THROW(ReportEngine::build(s, db));

    s.dataFiles[1] = dir.path() + "\\other.mdb";
    try {
        ReportEngine::build(s, db);
        FAIL() << "another data file was accepted";
    } catch (const ReportError &e) {
        EXPECT_TRUE(e.description.startsWith("Data file 1 ("));
        EXPECT_TRUE(e.description.contains("is not the database in use"));
    }

    // A relative name is the application folder's.
    s.dataFiles[1] = "db.mdb";
    EXPECT_NO_THROW(ReportEngine::build(s, db));
}

TEST_F(ReportEngineTest, ThePracticesCopyOfALayoutOverridesTheInstalledOne)
{
    // Installed only: the data folder holds no copy.
    ASSERT_TRUE(QFile::remove(dir.file("account1.rpt")));
    ReportSettings s = settings("account1.rpt", 1);
    s.programFiles = reporttest::shippedLayouts();
    EXPECT_EQ(ReportEngine::build(s, db).title, "TAX INVOICE");

    // The practice's own copy wins.
    QFile shipped(QDir(reporttest::shippedLayouts()).filePath("account1.rpt"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    writeFile("account1.rpt", shipped.readAll().replace("title = TAX INVOICE", "title = OUR INVOICE"));
    EXPECT_EQ(ReportEngine::build(s, db).title, "OUR INVOICE");

    // A layout named in another folder is that folder's, never replaced.
    testsupport::TestDir other;
    s.reportFile = QDir::toNativeSeparators(other.file("account1.rpt"));
    EXPECT_EQ(failure(s), "Cannot find the report file " + QDir::toNativeSeparators(other.file("account1.rpt")));
}
