#include "report/core/reportengine.h"
#include "reportfixture.h"
#include "support/teststore.h"

#include <QDir>
#include <QFile>

namespace {

// An invoice prints from the database in use on either engine: on a server
// station the data files still name the application folder's db.mdb.
class ReportOnEngine : public testsupport::EngineTest {};

TEST_P(ReportOnEngine, TheInvoiceComesFromTheDatabaseInUse)
{
    const QDir src(reporttest::shippedLayouts());
    const QDir app(store.appDir());
    ASSERT_TRUE(QFile::copy(src.filePath("account1.rpt"), app.filePath("account1.rpt")));
    store::Database db;
    ASSERT_TRUE(store.open(db).ok());
    const int invoice = db.scalar("SELECT MIN(Invoice) FROM tbl_Accounts").toInt();

    report::ReportSettings s;
    const QString native = QDir::toNativeSeparators(app.path());
    s.reportFile = native + QStringLiteral("\\account1.rpt");
    for (QString &d : s.dataFiles)
        d = native + QStringLiteral("\\db.mdb");
    s.selectionFormula = QStringLiteral("{tbl_Accounts.Invoice}=%1").arg(invoice);
    s.dataDir = app.path();
    const report::RenderedReport r = report::ReportEngine::build(s, db);
    EXPECT_EQ(r.invoice, invoice);
    EXPECT_TRUE(r.html.contains("TAX INVOICE"));

    // A data file elsewhere is still not the database in use.
    s.dataFiles[0] = QStringLiteral("/elsewhere/db.mdb");
    EXPECT_THROW(report::ReportEngine::build(s, db), report::ReportError);
}

QUILLON_BOTH_ENGINES(ReportOnEngine);

} // namespace
