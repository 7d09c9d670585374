// The invoice window driven by keys through the registry, and its printing
// through the report engine to PDF.
#include "accounts/core/accountfields.h"
#include "accounts/widgets/accountswindows.h"
#include "accounts/widgets/accountwindow.h"
#include "accounts/widgets/summarywindow.h"
#include "app/widgets/registration.h"
#include "store/core/database.h"
#include "support/printqueue.h"
#include "support/station.h"
#include "ui/widgets/qtcolour.h"
#include "ui/widgets/windowregistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace win = ui::win;
namespace b = accounts::invoice::box;

namespace {

class AccountWindows : public ::testing::Test, protected testsupport::Station<ui::WindowRegistry> {
protected:
    void SetUp() override
    {
        const QDir src(QStringLiteral(QUILLON_REPORTS_DIR));
        for (const QString &name : src.entryList({QStringLiteral("*.rpt")}, QDir::Files))
            ASSERT_TRUE(QFile::copy(src.filePath(name), dir.file(name)));
        ASSERT_TRUE(open(dir).ok());
        windows.setServices(&services);
        app::registerWindows(windows);
        accounts::registerWindows(windows);
        app::registerUnavailableWindows(windows);
        store::WriteTransaction tx(db);
        file = db.insert("tbl_PatientDetails", {{"PLastName", "NEWMAN"}, {"PFirstName", "PAT"}, {"PMI", "Q"},
                                                {"PAddress", "9 NINTH STREET"}});
        db.insert("tbl_Accounts", {{"FileNo", file}});   // as the patient window's Invoice leaves it
        tx.commit();
    }
    void TearDown() override
    {
        EXPECT_TRUE(prompter.failures().isEmpty()) << prompter.failures().join("\n").toStdString();
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
    }
    accounts::AccountWindow *window() { return qobject_cast<accounts::AccountWindow *>(windows.window(win::Account)); }
    QLineEdit *box(const QString &name) { return window()->findChild<QLineEdit *>(name); }
    std::string focused()
    {
        QCoreApplication::processEvents();
        QWidget *w = QApplication::focusWidget();
        return w ? w->objectName().toStdString() : "(none)";
    }
    void typeInto(const QString &name, const char *text)
    {
        QLineEdit *e = box(name);
        ASSERT_TRUE(e) << name.toStdString();
        e->setFocus();
        QCoreApplication::processEvents();
        QTest::keyClicks(e, text);
    }
    void key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k, Qt::NoModifier); }
    QString pdfText(const QString &name)
    {
        const QString pdf = dir.file(name);
        const report::RunResult r = window()->runner().runToPdf(
            window()->controller().reportSettings(report::ReportSettings::ToWindow), pdf);
        EXPECT_TRUE(r.ok) << r.description.toStdString();
        return testsupport::PrintQueue::text(pdf);
    }

    testsupport::TestDir dir;
    int file = 0;
};

TEST_F(AccountWindows, AnInvoiceTypedByKeysBecomesAReceiptAndPrintsBoth)
{
    state.currentFileNo = file;
    windows.show(win::Account);
    settle();
    ASSERT_TRUE(window());
    EXPECT_EQ(window()->windowTitle(), "Invoice  +/-  Receipt");
    EXPECT_EQ(focused(), b::description(0).toStdString());
    EXPECT_EQ(window()->findChild<QLabel *>(b::Name)->text(), "PAT Q NEWMAN");
    EXPECT_FALSE(window()->findChild<QCheckBox *>(b::Cash)->isVisibleTo(window()));

    QTest::keyClicks(box(b::description(0)), "Consultation");
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), b::amount(0).toStdString());
    QTest::keyClicks(box(b::amount(0)), "100");
    key(Qt::Key_Down);
    QTest::keyClicks(box(b::amount(1)), "50.5");
    key(Qt::Key_Down);
    EXPECT_EQ(box(b::amount(6))->text(), "150.50");
    typeInto(b::amount(7), "10");
    key(Qt::Key_Down);
    EXPECT_EQ(box(b::amount(9))->text(), "140.50");

    key(Qt::Key_F9);   // no referrer: nothing saved, the referrer box takes the focus
    EXPECT_EQ(focused(), b::Referrer.toStdString());
    QTest::keyClicks(box(b::Referrer), "dr who");
    EXPECT_EQ(box(b::Referrer)->text(), "DR WHO");
    key(Qt::Key_F9);
    const int n = window()->controller().invoiceNo();
    EXPECT_EQ(db.scalar("SELECT Referrer FROM tbl_Accounts WHERE Invoice = ?", {n}).toString(), "DR WHO");

    const QString invoice = pdfText("invoice.pdf");
    for (const char *w : {"NEWMAN", "Consultation", "100.00", "50.50", "150.50", "10.00", "140.50"})
        EXPECT_TRUE(invoice.contains(QLatin1String(w))) << w << "\n" << invoice.toStdString();

    QWidget::setTabOrder(box(b::amount(8)), box(b::amount(9)));
    typeInto(b::amount(8), "140.5");
    EXPECT_TRUE(window()->findChild<QCheckBox *>(b::Cash)->isVisibleTo(window()));
    key(Qt::Key_Down);
    EXPECT_EQ(box(b::amount(9))->text(), "00.00");
    typeInto(b::DatePaid, "12/08/2026");
    key(Qt::Key_Down);
    EXPECT_EQ(focused(), b::Cash.toStdString());
    key(Qt::Key_Space);
    key(Qt::Key_F9);
    EXPECT_TRUE(db.scalar("SELECT Cash FROM tbl_Accounts WHERE Invoice = ?", {n}).toBool());

    const QString receipt = pdfText("receipt.pdf");
    for (const char *w : {"RECEIPT", "140.50", "00.00", "150.50"})
        EXPECT_TRUE(receipt.contains(QLatin1String(w))) << w << "\n" << receipt.toStdString();

    if (qEnvironmentVariableIsSet("QUILLON_SHOTS")) {
        window()->resize(1366, 768);
        settle();
        window()->grab().save(qEnvironmentVariable("QUILLON_SHOTS") + "/account.png");
    }
    key(Qt::Key_F12);
    settle();
    EXPECT_FALSE(windows.isLoaded(win::Account));
    EXPECT_TRUE(windows.isLoaded(win::SearchMenu));
}

TEST_F(AccountWindows, ThePatientsBlankFirstInvoiceGoesWhenTheWindowIsLeftUnsaved)
{
    state.currentFileNo = file;
    windows.show(win::Account);
    settle();
    ASSERT_TRUE(window());
    key(Qt::Key_F12);
    settle();
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM tbl_Accounts WHERE FileNo = ?", {file}).toInt(), 0);
}

TEST_F(AccountWindows, AnAmountBoxKeepsTheFocusUntilItHoldsASumOfMoney)
{
    state.currentFileNo = file;
    windows.show(win::Account);
    settle();
    ASSERT_TRUE(window());
    typeInto(b::amount(8), "12abc");
    prompter.expectMessage();
    key(Qt::Key_Down);
    EXPECT_EQ(focused(), b::amount(8).toStdString());
    EXPECT_TRUE(prompter.last().text.startsWith("Amount Paid: \"12abc\" is not a sum of money."));
    EXPECT_FALSE(window()->findChild<QCheckBox *>(b::Cash)->isVisibleTo(window()));
    box(b::amount(8))->clear();
    QTest::keyClicks(box(b::amount(8)), "$1000.50");
    key(Qt::Key_Down);
    EXPECT_EQ(box(b::amount(8))->text(), "1000.50");
    EXPECT_EQ(box(b::amount(9))->text(), "-1000.50");
    EXPECT_TRUE(window()->findChild<QCheckBox *>(b::Cash)->isVisibleTo(window()));
}

TEST_F(AccountWindows, SummariesListEveryInvoiceAndSpaceOpensTheRowsInvoice)
{
    state.currentFileNo = 0;   // Accounts from the search menu
    windows.show(win::Summary);
    settle();
    auto *sums = qobject_cast<accounts::SummaryWindow *>(windows.window(win::Summary));
    ASSERT_TRUE(sums);
    EXPECT_EQ(sums->windowTitle(), "Account Summary");
    QTableView *grid = sums->grid();
    EXPECT_EQ(grid->model()->columnCount(), 52);   // qry_Accounts' 50, then the patient and the billed
    EXPECT_EQ(grid->model()->headerData(5, Qt::Horizontal).toString(), "LastName");
    EXPECT_EQ(grid->currentIndex().row(), grid->model()->rowCount() - 1);   // on the last row
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Home);
    EXPECT_EQ(sums->controller().row(), 0);
    EXPECT_EQ(sums->findChild<QLabel *>("lblPractitioner")->text(), "DR AVERY");
    QTest::keyClick(grid, Qt::Key_F1);
    EXPECT_TRUE(sums->findChild<QLabel *>("lblMessage")->isVisibleTo(sums));
    if (qEnvironmentVariableIsSet("QUILLON_SHOTS")) {
        sums->resize(1366, 768);
        settle();
        sums->grab().save(qEnvironmentVariable("QUILLON_SHOTS") + "/summary.png");
    }
    const int invoice = sums->controller().list().invoiceAt(0);
    QTest::keyClick(grid, Qt::Key_Space);
    settle();
    EXPECT_FALSE(windows.isLoaded(win::Summary));
    ASSERT_TRUE(window());
    EXPECT_EQ(window()->controller().invoiceNo(), invoice);
}

// Keys and the mouse move the row every command acts on.
TEST_F(AccountWindows, SummariesActOnTheRowTheUserPicked)
{
    {
        store::WriteTransaction tx(db);
        for (const char *last : {"ADAMS", "BAKER", "CLARK"}) {
            const int f = db.insert("tbl_PatientDetails", {{"PLastName", last}});
            db.insert("tbl_Accounts", {{"FileNo", f}, {"IssueDate", "02/01/2026"}, {"PayTo", QString(last) + " MD"}});
            db.insert("tbl_Accounts", {{"FileNo", f}, {"IssueDate", "03/01/2026"}});
        }
        tx.commit();
    }
    state.currentFileNo = 0;
    windows.show(win::Summary);
    settle();
    auto *sums = qobject_cast<accounts::SummaryWindow *>(windows.window(win::Summary));
    ASSERT_TRUE(sums);
    QTableView *grid = sums->grid();
    const accounts::SummaryList &list = sums->controller().list();
    const int rows = list.rowCount();
    ASSERT_EQ(rows, 10);
    grid->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_EQ(sums->controller().row(), rows - 4);
    const int picked = list.invoiceAt(rows - 4);

    // A click picks a row; Account Summary lists that row's patient.
    const int row = 4;   // BAKER's February invoice
    const QModelIndex cell = list.index(row, grid->horizontalHeader()->logicalIndex(1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    EXPECT_EQ(sums->findChild<QLabel *>("lblPractitioner")->text(), list.valueAt(row, "PayTo"));
    const QString patient = list.valueAt(row, "FileNo");
    QTest::mouseClick(sums->findChild<QPushButton *>("cmdSummary"), Qt::LeftButton);
    EXPECT_EQ(list.rowCount(), 2);
    for (int r = 0; r < list.rowCount(); ++r)
        EXPECT_EQ(list.valueAt(r, "FileNo"), patient);

    QTest::mouseClick(sums->findChild<QPushButton *>("CmdAllAccounts"), Qt::LeftButton);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(grid, Qt::Key_Up);
    QTest::keyClick(grid, Qt::Key_Space);
    settle();
    ASSERT_TRUE(window());
    EXPECT_EQ(window()->controller().invoiceNo(), picked);
}

// At 1366 wide the number, date, patient, referrer, practitioner and the
// amounts are all in sight, amounts aligned right; the other columns follow.
TEST_F(AccountWindows, SummariesShowWhatTheFrontDeskReadsFirst)
{
    state.currentFileNo = 0;
    windows.show(win::Summary);
    settle();
    auto *sums = qobject_cast<accounts::SummaryWindow *>(windows.window(win::Summary));
    ASSERT_TRUE(sums);
    sums->resize(1366, 749);
    settle();
    QTableView *grid = sums->grid();
    QHeaderView *header = grid->horizontalHeader();
    QStringList first;
    for (int i = 0; i < 8; ++i)
        first << grid->model()->headerData(header->logicalIndex(i), Qt::Horizontal).toString();
    EXPECT_EQ(first, (QStringList{"Invoice", "IssueDate", "Patient", "Referrer", "Practitioner", "Billed",
                                  "AmountPaid", "BalanceDue"}));
    const int balance = header->logicalIndex(7);
    EXPECT_LE(header->sectionViewportPosition(balance) + header->sectionSize(balance), grid->viewport()->width());
    EXPECT_GE(header->sectionViewportPosition(header->logicalIndex(0)), 0);
    const QModelIndex paid = grid->model()->index(0, balance);
    EXPECT_TRUE(grid->model()->data(paid, Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
    EXPECT_EQ(grid->model()->data(grid->model()->index(0, header->logicalIndex(2))).toString(), "SAMPLE, JOHN A");
    EXPECT_EQ(grid->model()->data(grid->model()->index(0, header->logicalIndex(5))).toString(), "120.00");
}

} // namespace

namespace {

// The claim boxes wear the frame's colour until typed in, as the Invoice
// option of the client file window wears its own.
TEST_F(AccountWindows, TheClaimBoxesTakeTheirColourOnlyWhileTheyHaveTheFocus)
{
    state.currentFileNo = file;
    windows.show(win::Account);
    settle();
    ASSERT_TRUE(window());
    const QString pale = QStringLiteral("background: %1;").arg(ui::toQColor(ui::colours::PaleYellow).name());
    const QString frame = QStringLiteral("background: palette(window);");
    for (const QString &name : {b::Claim, b::DOA, b::Firm})
        EXPECT_EQ(box(name)->styleSheet(), frame) << name.toStdString();
    box(b::Claim)->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(box(b::Claim)->styleSheet(), pale);
    EXPECT_EQ(box(b::DOA)->styleSheet(), frame);
    box(b::DOA)->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(box(b::Claim)->styleSheet(), frame);
    EXPECT_EQ(box(b::DOA)->styleSheet(), pale);
    box(b::description(0))->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(box(b::DOA)->styleSheet(), frame);
    EXPECT_EQ(box(b::description(0))->styleSheet(), QString());
}

} // namespace
