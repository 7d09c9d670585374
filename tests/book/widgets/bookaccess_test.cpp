#include "book/pages/pagestore.h"
#include "book/widgets/bookwindow.h"
#include "book/widgets/calendarview.h"
#include "store/core/database.h"
#include "support/station.h"
#include "ui/widgets/accessibletable.h"
#include "ui/widgets/gridview.h"

#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QDate kTuesday(2030, 6, 4);

class BookAccessTest : public ::testing::Test, protected testsupport::Station<> {
protected:
    void SetUp() override
    {
        state.places.setData(dir.path());
        const auto r = db.open(dir.file(QStringLiteral("db.mdb")));
        ASSERT_TRUE(r.ok()) << r.detail.toStdString();
        window = std::make_unique<book::BookWindow>(services);
        ASSERT_TRUE(window->load(kTuesday));
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override
    {
        ui::setReaderListener({});
        window.reset();
        EXPECT_TRUE(prompter.failures().isEmpty()) << prompter.failures().join('\n').toStdString();
    }

    testsupport::TestDir dir;
    std::unique_ptr<book::BookWindow> window;
};

} // namespace

TEST_F(BookAccessTest, DaysReadTheirDateBookingsAndClosingAndTheSelectedDayIsAnnounced)
{
    // A booking on the shown day, which is also marked closed.
    window->controller().session().grid().setCursor(4, 2);
    QTest::keyClicks(window->gridView(), QStringLiteral("S"));
    QTest::keyClicks(window->cellEditor(), QStringLiteral("mith"));
    QTest::keyClick(window->cellEditor(), Qt::Key_Tab);
    book::PageStore pages(db);
    pages.writeClinic(pages.find(kTuesday).id, true);

    book::CalendarView *view = window->calendarView();
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(view);
    ASSERT_TRUE(table && table->tableInterface());
    EXPECT_EQ(table->text(QAccessible::Name), "Calendar");
    QAccessibleTableInterface *t = table->tableInterface();
    EXPECT_EQ(t->rowCount(), 7);
    EXPECT_EQ(t->cellAt(0, 0)->text(QAccessible::Name), "Sunday");
    EXPECT_EQ(t->cellAt(0, 0)->role(), QAccessible::ColumnHeader);

    const int sel = window->controller().navigation().calendar().selected();
    QAccessibleInterface *day = t->cellAt(1 + sel / 7, sel % 7);
    EXPECT_EQ(day->text(QAccessible::Name), "Tuesday 4 June 2030");
    EXPECT_EQ(day->text(QAccessible::Description), "has bookings, closed");
    EXPECT_EQ(day->tableCellInterface()->columnHeaderCells().value(0)->text(QAccessible::Name), "Tuesday");
    QAccessibleInterface *next = t->cellAt(1 + (sel + 1) / 7, (sel + 1) % 7);
    EXPECT_EQ(next->text(QAccessible::Description), "");

    // The keys move the selected day; each move is read out.
    QStringList heard;
    ui::setReaderListener([&](QAccessibleEvent &e) {
        if (e.type() == QAccessible::Focus && e.child() >= 0)
            heard << e.accessibleInterface()->text(QAccessible::Name);
    });
    view->setFocus();
    QCoreApplication::processEvents();
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(heard, QStringList({"Tuesday 4 June 2030", "Wednesday 5 June 2030"}));
    EXPECT_EQ(table->focusChild(), next);
    if (qEnvironmentVariableIsSet("QUILLON_SHOTS"))
        view->grab().save(qEnvironmentVariable("QUILLON_SHOTS") + "/calendar-focus.png");
}

TEST_F(BookAccessTest, TheAnswerPanelsQuestionIsReadWithItsButtonsAndAlertedOnce)
{
    window->controller().session().grid().setCursor(5, 2);
    QTest::keyClicks(window->gridView(), QStringLiteral("S"));
    QTest::keyClicks(window->cellEditor(), QStringLiteral("mith"));
    QTest::keyClick(window->cellEditor(), Qt::Key_Tab);
    window->controller().session().grid().setCursor(3, 1);
    int alerts = 0;
    ui::setReaderListener([&](QAccessibleEvent &e) { alerts += e.type() == QAccessible::Alert; });

    prompter.answerInput(QStringLiteral("smith"));
    QTest::keyClick(window->gridView(), Qt::Key_F5);
    auto *yes = window->findChild<QWidget *>(QStringLiteral("cmdYes"));
    ASSERT_TRUE(yes && yes->hasFocus());
    QAccessibleInterface *button = QAccessible::queryAccessibleInterface(yes);
    EXPECT_EQ(button->text(QAccessible::Name), "Yes");
    EXPECT_EQ(button->text(QAccessible::Description), "Search successful. Continue search?");
    EXPECT_EQ(alerts, 1);

    QTest::keyClick(yes, Qt::Key_Return);
    EXPECT_EQ(button->text(QAccessible::Description), "Search complete. Do another search?");
    EXPECT_EQ(alerts, 2);
}
