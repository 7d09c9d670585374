// The search menu, the manual search and the client file window driven by
// keys through the registry, as the front desk uses them.
#include "accounts/core/patientfields.h"
#include "accounts/widgets/accountswindows.h"
#include "accounts/widgets/searchwindow.h"
#include "app/widgets/registration.h"
#include "store/core/database.h"
#include "support/station.h"
#include "ui/widgets/windowregistry.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace win = ui::win;
namespace b = accounts::patient::box;

namespace {

class PatientWindows : public ::testing::Test, protected testsupport::Station<ui::WindowRegistry> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(open(dir).ok());
        windows.setServices(&services);
        app::registerWindows(windows);
        accounts::registerWindows(windows);
        app::registerUnavailableWindows(windows);
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
    template <class T = QWidget> T *in(const QString &window, const QString &name)
    {
        QWidget *w = windows.window(window);
        return w ? w->findChild<T *>(name) : nullptr;
    }
    std::string focused()
    {
        QCoreApplication::processEvents();
        QWidget *w = QApplication::focusWidget();
        return w ? w->objectName().toStdString() : "(none)";
    }
    void key(Qt::Key k, const QString &text = {})
    {
        QTest::keyClick(QApplication::focusWidget(), k, Qt::NoModifier);
        Q_UNUSED(text);
    }
    void typeInto(const QString &window, const QString &box, const char *text)
    {
        auto *e = in<QLineEdit>(window, box);
        ASSERT_TRUE(e) << box.toStdString();
        e->setFocus();
        QTest::keyClicks(e, text);
    }
    int files() { return db.scalar("SELECT COUNT(*) FROM tbl_PatientDetails").toInt(); }

    testsupport::TestDir dir;
};

TEST_F(PatientWindows, ANewClientFromTheMenuIsTypedInCapitalsAndSavedByKey)
{
    windows.show(win::Menu);
    QTest::keyClick(windows.window(win::Menu), Qt::Key_2);
    settle();
    QWidget *menu = windows.window(win::SearchMenu);
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->windowTitle(), "Search Menu");
    EXPECT_FALSE(in(win::SearchMenu, "txtLastName")->isEnabled());
    const int before = files();
    auto *option = in(win::SearchMenu, "Option1");
    option->setFocus();
    QTest::keyClick(option, Qt::Key_N);
    settle();
    QWidget *file = windows.window(win::PatientDetails);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->windowTitle(), "Client Details");
    EXPECT_EQ(files(), before + 1);
    const int fileNo = in<QLabel>(win::PatientDetails, b::FileNo)->text().toInt();
    EXPECT_GT(fileNo, 3);

    typeInto(win::PatientDetails, b::Title, "mr");
    key(Qt::Key_Return);
    EXPECT_EQ(focused(), "txtFirstName");
    key(Qt::Key_Down);
    EXPECT_EQ(focused(), "TxtDOB");
    typeInto(win::PatientDetails, b::Sex, "xm");
    EXPECT_EQ(in<QLineEdit>(win::PatientDetails, b::Sex)->text(), "M");
    typeInto(win::PatientDetails, b::LastName, "doe");
    EXPECT_EQ(in<QLineEdit>(win::PatientDetails, b::LastName)->text(), "DOE");
    key(Qt::Key_F4);
    EXPECT_EQ(db.scalar("SELECT PLastName FROM tbl_PatientDetails WHERE FileNo = ?", {fileNo}).toString(), "DOE");
    EXPECT_EQ(db.scalar("SELECT Title FROM tbl_PatientDetails WHERE FileNo = ?", {fileNo}).toString(), "MR");

    key(Qt::Key_F12);   // saved: no question
    settle();
    EXPECT_FALSE(windows.isLoaded(win::PatientDetails));
    EXPECT_TRUE(windows.isLoaded(win::SearchMenu));
}

TEST_F(PatientWindows, ALastNameAloneOpensTheManualSearchWhereAKeyOpensTheRowsFile)
{
    windows.show(win::SearchMenu);
    auto *existing = in(win::SearchMenu, "Option2");
    existing->setFocus();
    QCoreApplication::processEvents();
    EXPECT_TRUE(in(win::SearchMenu, "txtLastName")->isEnabled());
    typeInto(win::SearchMenu, "txtLastName", "example");
    QTest::mouseClick(in(win::SearchMenu, "cmdSearch"), Qt::LeftButton);
    settle();
    auto *search = static_cast<accounts::SearchWindow *>(windows.window(win::Search));
    ASSERT_TRUE(search);
    EXPECT_EQ(search->windowTitle(), "Manual Search");
    QTableView *grid = search->grid();
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), "FileNo.");
    const int row = grid->currentIndex().row();
    EXPECT_EQ(grid->model()->index(row, 1).data().toString(), "EXAMPLE");
    const int fileNo = grid->model()->index(row, 0).data().toInt();

    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Space);
    settle();
    EXPECT_FALSE(windows.isLoaded(win::Search));
    ASSERT_TRUE(windows.isLoaded(win::PatientDetails));
    EXPECT_EQ(in<QLabel>(win::PatientDetails, b::FileNo)->text().toInt(), fileNo);
    EXPECT_EQ(in<QLineEdit>(win::PatientDetails, b::LastName)->text(), "EXAMPLE");
}

TEST_F(PatientWindows, EnterOnTheInvoiceOptionWithoutANameWritesQuestionMarks)
{
    state.currentFileNo = 0;
    windows.show(win::PatientDetails);
    ASSERT_TRUE(QTest::qWaitForWindowActive(windows.window(win::PatientDetails)));
    auto *last = in<QLineEdit>(win::PatientDetails, b::LastName);
    last->setFocus();
    last->selectAll();
    QTest::keyClick(last, Qt::Key_Backspace);
    auto *occupation = in(win::PatientDetails, b::Occup);
    occupation->setFocus();
    QTest::keyClick(occupation, Qt::Key_Down);
    EXPECT_EQ(focused(), "optInvoice");
    QTest::keyClick(in(win::PatientDetails, b::Invoice), Qt::Key_Return);
    EXPECT_EQ(last->text(), "???");
    EXPECT_EQ(focused(), "txtLastName");
    EXPECT_FALSE(windows.isLoaded(win::Account));
}

} // namespace

namespace {

// QUILLON_SCREENSHOTS=<folder> accounts_widgets_tests --gtest_filter=*Screenshots*
TEST_F(PatientWindows, Screenshots)
{
    const QString out = qEnvironmentVariable("QUILLON_SCREENSHOTS");
    state.currentFileNo = 1;
    windows.show(win::PatientDetails);
    windows.show(win::SearchMenu);
    windows.show(win::Search);
    windows.show(win::Summary);
    settle();
    const QSize sizes[] = {{1366, 768}, {1920, 1080}};
    for (const QString &name : {win::PatientDetails, win::SearchMenu, win::Search, win::Summary}) {
        QWidget *w = windows.window(name);
        ASSERT_TRUE(w) << name.toStdString();
        for (const QSize &size : sizes) {
            w->resize(size.width(), size.height() - 19);   // less 280 twips
            QCoreApplication::processEvents();
            const QPixmap shot = w->grab();
            EXPECT_FALSE(shot.isNull());
            if (!out.isEmpty()) {
                EXPECT_TRUE(shot.save(QDir(out).filePath(
                    QString("%1-%2x%3.png").arg(name).arg(size.width()).arg(size.height()))));
            }
        }
    }
    if (out.isEmpty())
        GTEST_SKIP() << "QUILLON_SCREENSHOTS not set";
}

} // namespace
