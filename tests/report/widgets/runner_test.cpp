#include "report/core/reportfixture.h"
#include "report/widgets/reportpreview.h"
#include "report/widgets/reportprinter.h"
#include "report/widgets/reportrunner.h"
#include "support/doubles/scriptedprompter.h"
#include "support/printqueue.h"

#include <QApplication>
#include <QFile>
#include <QAction>
#include <QComboBox>
#include <QPrintPreviewWidget>
#include <gtest/gtest.h>

using namespace report;
using testsupport::PrintQueue;

namespace {

class ReportRunnerTest : public reporttest::ReportFixture {
protected:
    void TearDown() override
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            w->close();
        QApplication::processEvents();
    }

    // Prints on the default printer and returns the PDF that came out of
    // the queue, or why none did. The user is told where it went.
    PrintQueue::Printout print(ReportSettings s)
    {
        s.destination = ReportSettings::ToPrinter;
        ui::ScriptedPrompter prompter;
        ReportRunner runner(db, nullptr, &prompter);
        const PrintQueue::Printout out = PrintQueue::print([&] {
            prompter.expectMessage();
            const RunResult r = runner.run(s);
            EXPECT_TRUE(r.ok) << r.description.toStdString();
            return r.ok;
        });
        EXPECT_EQ(prompter.last().title, "Print");
        EXPECT_EQ(prompter.last().text, "Sent to " + QPrinterInfo::defaultPrinterName() + " (1 sheet).");
        return out;
    }
};

} // namespace

TEST_F(ReportRunnerTest, PrintedInvoiceHoldsItsFields)
{
    QUILLON_REQUIRE_PRINT_QUEUE();
    ReportSettings s = settings("account1.rpt", 1);
    s.marginTop = 1440;
    s.marginLeft = 173;
    const PrintQueue::Printout out = print(s);
    ASSERT_TRUE(out.failure.isEmpty()) << out.failure.toStdString();

    const QString text = PrintQueue::text(out.pdf);
    for (const char *w : {"TAX", "INVOICE", "JOHN", "SAMPLE", "Initial", "consultation", "75.00",
                          "45.00", "120.00", "Harbour", "Physiotherapy", "01/01/2026"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(w))) << w;
    EXPECT_FALSE(text.contains("RECEIPT"));
}

TEST_F(ReportRunnerTest, PreprintedPaperPrintsNothingAboveTheTopMargin)
{
    QUILLON_REQUIRE_PRINT_QUEUE();
    ReportSettings s = settings("invoicenl.rpt", 2);
    s.marginTop = 2 * 1440;
    const PrintQueue::Printout out = print(s);
    ASSERT_TRUE(out.failure.isEmpty()) << out.failure.toStdString();

    const QList<testsupport::PdfWord> words = PrintQueue::words(out.pdf);
    ASSERT_FALSE(words.isEmpty());
    double top = 1e9;
    QStringList texts;
    for (const auto &w : words) {
        EXPECT_EQ(w.page, 0) << w.text.toStdString();
        top = std::min(top, w.box.top());
        texts << w.text;
    }
    EXPECT_TRUE(texts.contains("RECEIPT"));
    EXPECT_TRUE(texts.contains("EXAMPLE"));
    EXPECT_FALSE(texts.contains("Harbour"));
    EXPECT_GE(top, 144.0);  // two inches
    EXPECT_LT(top, 170.0);
}

TEST_F(ReportRunnerTest, PrinterDestinationWithoutPrinterFails)
{
    ReportSettings s = settings("account1.rpt", 1);
    s.destination = ReportSettings::ToPrinter;
    if (PrintQueue::withoutPrinters()) {
        ASSERT_TRUE(QPrinterInfo::availablePrinters().isEmpty());
        ReportRunner runner(db);
        const RunResult r = runner.run(s);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.description, "No printer is installed. Add a printer to this computer, "
                                 "or choose a default printer, and print again");
        EXPECT_EQ(runner.lastPreview(), nullptr);
        return;
    }
    const PrintQueue::Child child = PrintQueue::runWithoutPrinters();
    EXPECT_TRUE(child.passed) << child.output.toStdString();
    EXPECT_TRUE(child.filesLeft.isEmpty()) << child.filesLeft.join(' ').toStdString();
}

TEST_F(ReportRunnerTest, QueueThatRefusesTheJobIsAFailure)
{
    QUILLON_REQUIRE_PRINT_QUEUE();
    const QPrinterInfo closed = QPrinterInfo::printerInfo(PrintQueue::closedQueue());
    ASSERT_FALSE(closed.isNull()) << "no closed queue in this run";
    ReportRunner runner(db);
    runner.setDefaultPrinterLookup([&] { return closed; });
    ReportSettings s = settings("account1.rpt", 1);
    s.destination = ReportSettings::ToPrinter;
    const RunResult r = runner.run(s);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.description.startsWith(QStringLiteral("The printer %1 did not take the job: ")
                                             .arg(closed.printerName())))
        << r.description.toStdString();
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

// The invoice's preview prints on the printer chosen in it, says what became
// of the job, and saves the pages as a PDF.
TEST_F(ReportRunnerTest, ThePreviewPrintsOnTheChosenPrinterAndSavesAPdf)
{
    QUILLON_REQUIRE_PRINT_QUEUE();
    ui::ScriptedPrompter prompter;
    ReportRunner runner(db, nullptr, &prompter);
    ASSERT_TRUE(runner.run(settings("invoice1.rpt", 2)).ok);
    ReportPreview *preview = runner.lastPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->printer(), QPrinterInfo::defaultPrinterName());
    int prints = 0;   // Qt's own Print, which said nothing after, gives way to this one
    for (QAction *a : preview->findChildren<QAction *>())
        prints += a->isVisible() && a->text().remove('&') == "Print";
    EXPECT_EQ(prints, 1);

    preview->choosePrinter(PrintQueue::closedQueue());
    prompter.expectMessage();
    preview->findChild<QAction *>("actPrint")->trigger();
    EXPECT_EQ(prompter.last().title, "Print");
    EXPECT_TRUE(prompter.last().text.startsWith("The printer " + PrintQueue::closedQueue() +
                                                " did not take the invoice. Check that it is switched on"))
        << prompter.last().text.toStdString();

    const QString saved = dir.file("receipt.pdf");
    prompter.answerChoice(saved).expectMessage();
    preview->findChild<QAction *>("actPdf")->trigger();
    const QString suggested = prompter.transcript().end()[-2].defaultText;
    EXPECT_TRUE(suggested.endsWith("/RECEIPT 2.pdf")) << suggested.toStdString();
    EXPECT_EQ(prompter.last().title, "Save as PDF");
    EXPECT_TRUE(prompter.last().text.startsWith("The invoice has been saved as "));
    EXPECT_TRUE(PrintQueue::text(saved).contains("RECEIPT"));
}
