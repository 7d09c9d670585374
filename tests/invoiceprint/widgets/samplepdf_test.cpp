// The sample invoice of each letterhead design and of preprinted paper,
// printed through the window to a PDF and read back.
#include "invoiceprint/widgets/invoiceprintwindows.h"
#include "invoiceprint/widgets/letterheadwindow.h"
#include "invoiceprint/widgets/preprintedwindow.h"
#include "report/widgets/reportrunner.h"
#include "support/printqueue.h"
#include "support/station.h"
#include "support/teststore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace invoiceprint;
using testsupport::PdfWord;
using testsupport::PrintQueue;

namespace {

// Writes each run to a PDF file instead of a preview window or the printer.
class PdfReporter : public report::Reporter {
public:
    PdfReporter(store::Database &db, QString path) : m_runner(db), m_path(std::move(path)) {}
    report::RunResult run(const report::ReportSettings &settings) override
    {
        ++runs;
        return m_runner.runToPdf(settings, m_path);
    }
    int runs = 0;

private:
    report::ReportRunner m_runner;
    QString m_path;
};

class SamplePdf : public testsupport::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        const QDir src(QStringLiteral(QUILLON_REPORTS_DIR));
        for (const QString &name : src.entryList({QStringLiteral("*.rpt")}, QDir::Files))
            ASSERT_TRUE(QFile::copy(src.filePath(name), store.dir().file(name)));
        ASSERT_TRUE(st.open(store).ok());
    }
    void TearDown() override
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            w->close();
        QApplication::processEvents();
        EXPECT_TRUE(st.prompter.failures().isEmpty()) << st.prompter.failures().join("\n").toStdString();
    }
    QString pdf() const { return store.dir().file(QStringLiteral("sample.pdf")); }

    // The words of the PDF and the top of the highest one, in points.
    static double top(const QList<PdfWord> &words)
    {
        double t = 1e9;
        for (const PdfWord &w : words)
            t = std::min(t, w.box.top());
        return t;
    }

    testsupport::Station<> st;
};

TEST_P(SamplePdf, EachDesignPrintsItsLetterheadWhereTheMarginsPutIt)
{
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        QFile::remove(pdf());
        PdfReporter reporter(st.db, pdf());
        LetterheadWindow w(st.services, design(n), &reporter);
        ASSERT_TRUE(w.load());
        w.findChild<QLineEdit *>(QStringLiteral("TxtTop"))->setText(QString());
        QTest::keyClicks(w.findChild<QLineEdit *>(QStringLiteral("TxtTop")), QStringLiteral("0.75"));
        w.findChild<QPushButton *>(QStringLiteral("CmdPrint"))->click();
        ASSERT_EQ(reporter.runs, 1);
        ASSERT_TRUE(QFile::exists(pdf()));

        const QString clinic = w.controller().letterhead().text(box::Clinic);
        const QString text = PrintQueue::text(pdf()).simplified();
        for (const QString &word : clinic.split(' '))
            EXPECT_TRUE(text.contains(word)) << word.toStdString() << " in " << text.toStdString();
        for (const char *s : {"Dr Avery", "Physiotherapist", "JOHN", "Initial consultation", "120.00"})
            EXPECT_TRUE(text.contains(QString::fromLatin1(s))) << s;
        const double t = top(PrintQueue::words(pdf()));
        EXPECT_GE(t, 0.75 * 72 - 1);
        EXPECT_LT(t, 0.75 * 72 + 20);
    }
}

TEST_P(SamplePdf, PreprintedPaperLeavesTheHeadingClear)
{
    PdfReporter reporter(st.db, pdf());
    PreprintedWindow w(st.services, &reporter);
    ASSERT_TRUE(w.load());
    auto *top = w.findChild<QLineEdit *>(QStringLiteral("TxtTop"));
    EXPECT_EQ(top->text().toDouble(), 2.0);
    w.findChild<QPushButton *>(QStringLiteral("CmdPreview"))->click();
    ASSERT_EQ(reporter.runs, 1);
    const QString text = PrintQueue::text(pdf()).simplified();
    EXPECT_FALSE(text.contains("Harbour View Physiotherapy"));
    for (const char *s : {"JOHN", "SAMPLE", "75.00", "120.00"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(s))) << s;
    const double t = SamplePdf::top(PrintQueue::words(pdf()));
    EXPECT_GE(t, 144.0 - 1);
    EXPECT_LT(t, 164.0);
}

TEST_P(SamplePdf, KeysOfTheDesignWindow)
{
    PdfReporter reporter(st.db, pdf());
    LetterheadWindow w(st.services, design(1), &reporter);
    ASSERT_TRUE(w.load());
    w.show();
    QApplication::setActiveWindow(&w);
    auto *help = w.findChild<QLabel *>(QStringLiteral("lblHelp"));
    auto *hint = w.findChild<QLabel *>(QStringLiteral("lblF1"));
    EXPECT_TRUE(help->text().contains("click Save , then Preview"));
    QTest::keyClick(&w, Qt::Key_F2);
    EXPECT_FALSE(help->isVisible());
    EXPECT_TRUE(hint->isVisible());
    QTest::keyClick(&w, Qt::Key_F1);
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(hint->isVisible());

    auto *clinic = w.findChild<QLineEdit *>(QStringLiteral("txtClinic1"));
    auto *fax = w.findChild<QLineEdit *>(QStringLiteral("txtFax"));
    fax->setFocus();
    QTest::keyClick(fax, Qt::Key_Escape);
    EXPECT_TRUE(clinic->hasFocus());
    QTest::keyClick(clinic, Qt::Key_Return);
    EXPECT_FALSE(clinic->hasFocus());
    auto *save = w.findChild<QPushButton *>(QStringLiteral("CmdSave"));
    save->setFocus();
    QTest::keyClick(save, Qt::Key_Return);
    EXPECT_FALSE(save->hasFocus());
    EXPECT_EQ(st.db.scalar("SELECT invoice FROM tbl_Print").toString(), "\\invoicenl.rpt");   // not pressed

    // The close box asks; No leaves tbl_Print as it was.
    st.prompter.answerNo();
    EXPECT_TRUE(w.close());
    EXPECT_EQ(st.prompter.last().title, "Save Letterhead Design");
    EXPECT_EQ(st.db.scalar("SELECT invoice FROM tbl_Print").toString(), "\\invoicenl.rpt");
}

QUILLON_BOTH_ENGINES(SamplePdf);

} // namespace
