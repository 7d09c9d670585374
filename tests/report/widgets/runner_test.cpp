#include "report/core/reportfixture.h"
#include "report/widgets/reportpreview.h"
#include "report/widgets/reportprinter.h"
#include "report/widgets/reportrunner.h"

#include <QApplication>
#include <QFile>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace report;

namespace {

// The words of a PDF with their positions, through pdftotext; empty when
// the tool is not installed.
QString pdfWords(const QString &pdf)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return QString();
    QProcess p;
    p.start(tool, {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("pdftotext failed");
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The top of the highest word on the first page, in points.
double firstWordTop(const QString &bbox)
{
    static const QRegularExpression word(QStringLiteral(R"re(<word xMin="[0-9.]+" yMin="([0-9.]+)")re"));
    double top = 1e9;
    auto it = word.globalMatch(bbox);
    while (it.hasNext())
        top = std::min(top, it.next().captured(1).toDouble());
    return top;
}

class ReportRunnerTest : public reporttest::ReportFixture {
protected:
    void TearDown() override
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            w->close();
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(ReportRunnerTest, PdfOfAnInvoiceHoldsItsFields)
{
    ReportRunner runner(db);
    ReportSettings s = settings("account1.rpt", 1);
    s.marginTop = 1440;
    s.marginLeft = 173;
    const QString pdf = dir.file("invoice.pdf");
    const RunResult r = runner.runToPdf(s, pdf);
    ASSERT_TRUE(r.ok) << r.description.toStdString();
    ASSERT_TRUE(QFile::exists(pdf));

    QString text = pdfWords(pdf);
    if (text.isEmpty()) {
        // No pdftotext here: read what the pages were laid out from.
        const RenderedReport built = ReportEngine::build(s, db);
        QPrinter printer(QPrinter::HighResolution);
        text = ReportPrinter::document(built, &printer, QSizeF(5000, 7000))->toPlainText();
    }
    for (const char *w : {"TAX", "INVOICE", "JOHN", "SAMPLE", "Initial", "consultation", "75.00",
                          "45.00", "120.00", "Harbour", "Physiotherapy", "01/01/2026"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(w))) << w;
    EXPECT_FALSE(text.contains("RECEIPT"));
}

TEST_F(ReportRunnerTest, PreprintedPaperPrintsNothingAboveTheTopMargin)
{
    ReportRunner runner(db);
    ReportSettings s = settings("invoicenl.rpt", 2);
    s.marginTop = 2 * 1440;
    const QString pdf = dir.file("receipt.pdf");
    ASSERT_TRUE(runner.runToPdf(s, pdf).ok);
    const QString words = pdfWords(pdf);
    if (words.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(words.contains(">RECEIPT<"));
    EXPECT_TRUE(words.contains(">EXAMPLE<"));
    EXPECT_FALSE(words.contains("Harbour"));
    const double top = firstWordTop(words);
    EXPECT_GE(top, 144.0);  // two inches
    EXPECT_LT(top, 170.0);
}

TEST_F(ReportRunnerTest, PrinterDestinationWithoutPrinterFails)
{
    ReportRunner runner(db);
    runner.setDefaultPrinterLookup([] { return QPrinterInfo(); });
    ReportSettings s = settings("account1.rpt", 1);
    s.destination = ReportSettings::ToPrinter;
    const RunResult r = runner.run(s);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.description.startsWith("No printer is installed. ")) << r.description.toStdString();

    // The machine's own lookup, unless this machine does have a printer.
    if (QPrinterInfo::defaultPrinter().isNull()) {
        ReportRunner plain(db);
        EXPECT_TRUE(plain.run(s).description.startsWith("No printer is installed. "));
    }
}

TEST_F(ReportRunnerTest, WindowDestinationShowsThePagesInAPreview)
{
    ReportRunner runner(db);
    const RunResult r = runner.run(settings("invoice1.rpt", 2));
    ASSERT_TRUE(r.ok) << r.description.toStdString();
    ReportPreview *preview = runner.lastPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_FALSE(preview->isModal());
    EXPECT_EQ(preview->windowTitle(), "RECEIPT 2");
    ASSERT_NE(preview->pages(), nullptr);
    EXPECT_EQ(preview->pages()->pageCount(), 1);

    preview->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(runner.lastPreview(), nullptr);
}

TEST_F(ReportRunnerTest, FailuresComeBackAsDescriptions)
{
    ReportRunner runner(db);
    ReportSettings s = settings("account1.rpt", 42);
    EXPECT_EQ(runner.run(s).description, "There is no invoice number 42");
    EXPECT_EQ(runner.lastPreview(), nullptr);

    s = settings("account1.rpt", 1);
    s.destination = 2;
    EXPECT_TRUE(runner.run(s).description.startsWith("Destination 2 is not known"));

    s = settings("account1.rpt", 1);
    s.marginTop = 9 * 1440;
    s.marginBottom = 9 * 1440;
    EXPECT_EQ(runner.runToPdf(s, dir.file("x.pdf")).description,
              "The margins leave no room to print on the page");

    EXPECT_TRUE(runner.runToPdf(settings("account1.rpt", 1), dir.file("no/such/folder/x.pdf"))
                    .description.startsWith("Cannot write the file"));
}
