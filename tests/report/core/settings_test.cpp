#include "report/core/amount.h"
#include "report/core/reportsettings.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace report;

namespace {

QString rejection(const QString &formula)
{
    try {
        parseSelectionFormula(formula);
    } catch (const ReportError &e) {
        return e.description;
    }
    return QString();
}

} // namespace

TEST(SelectionFormula, ReadsTheInvoiceNumberOfTheOneForm)
{
    EXPECT_EQ(parseSelectionFormula("{tbl_Accounts.Invoice}=1"), 1);
    EXPECT_EQ(parseSelectionFormula("{tbl_Accounts.Invoice} = 42"), 42);
    EXPECT_EQ(parseSelectionFormula("  {tbl_Accounts.Invoice}=  7  "), 7);
    EXPECT_EQ(parseSelectionFormula("{TBL_ACCOUNTS.invoice}=0032"), 32);
    EXPECT_EQ(parseSelectionFormula("{tbl_Accounts.Invoice}=2147483647"), 2147483647);
}

TEST(SelectionFormula, RejectsEverythingElseWithAClearDescription)
{
    const char *bad[] = {
        "{tbl_Accounts.Invoice}=1 OR 1=1",
        "{tbl_Accounts.Invoice}=1; DELETE FROM tbl_Accounts",
        "{tbl_Accounts.Invoice}=1 --",
        "{tbl_Accounts.Invoice}='1'",
        "{tbl_Accounts.Invoice}=1.5",
        "{tbl_Accounts.Invoice}=",
        "{tbl_Accounts.Invoice}>1",
        "{tbl_Accounts.FileNo}=1",
        "{tbl_PatientDetails.Invoice}=1",
        "tbl_Accounts.Invoice=1",
        "{tbl_Accounts.Invoice}=2147483648",
        "{tbl_Accounts.Invoice}=\u0661",  // a digit of another script
        "garbage",
        "",
    };
    for (const char *f : bad) {
        const QString why = rejection(QString::fromUtf8(f));
        EXPECT_TRUE(why.startsWith("The selection formula \"" + QString::fromUtf8(f) + "\" is not valid"))
            << f << " -> " << why.toStdString();
    }
    EXPECT_TRUE(rejection("{tbl_Accounts.Invoice}=99999999999").endsWith("out of range"));
}

TEST(ResolvePath, TakesEitherSeparatorAndResolvesRelativeNames)
{
    EXPECT_EQ(resolvePath("/opt/app\\invoice1.rpt", "/elsewhere"), "/opt/app/invoice1.rpt");
    EXPECT_EQ(resolvePath("/opt/app/sub/../db.mdb", QString()), "/opt/app/db.mdb");
    EXPECT_EQ(resolvePath("reports\\account1.rpt", "C:\\unused"), QDir::cleanPath(QDir("C:/unused").absoluteFilePath("reports/account1.rpt")));
    EXPECT_EQ(resolvePath("invoice1.rpt", "/opt/app"), "/opt/app/invoice1.rpt");
    EXPECT_TRUE(resolvePath("  ", "/opt/app").isEmpty());
}

TEST(Amounts, ReadTheLeadingNumberAndPrintInTheAmountFormat)
{
    EXPECT_EQ(amountValue("12.50 paid"), 12.5);
    EXPECT_EQ(amountValue("  -20"), -20.0);
    EXPECT_EQ(amountValue(".5"), 0.5);
    EXPECT_EQ(amountValue("abc"), 0.0);
    EXPECT_EQ(amountValue(""), 0.0);
    EXPECT_EQ(amountValue("-"), 0.0);

    EXPECT_EQ(formatAmount(5), "05.00");
    EXPECT_EQ(formatAmount(0), "00.00");
    EXPECT_EQ(formatAmount(1234.5), "1234.50");
    EXPECT_EQ(formatAmount(-20), "-20.00");
    EXPECT_EQ(formatAmount(140.499), "140.50");
    EXPECT_EQ(formatAmount(-0.001), "00.00");
    EXPECT_EQ(formatAmount(1234567.891), "1234567.89");
}
