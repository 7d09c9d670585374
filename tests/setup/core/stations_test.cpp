// Two stations on the settings and the weekday templates: what one station
// stores is never erased by the other's Okay or template step made over an
// older reading.
#include "book/pages/pagestore.h"
#include "book/pages/pagetext.h"
#include "setup/core/setupcontroller.h"
#include "setup/core/templatecontroller.h"
#include "setup/core/templatestore.h"
#include "store/core/changelog.h"
#include "store/core/database.h"
#include "support/station.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

using setup::Field;
using setup::SetupController;
using setup::TemplateController;
using Outcome = SetupController::OkayResult::Outcome;

namespace {

class SetupStations : public testsupport::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        for (auto *s : {&a, &b})
            ASSERT_TRUE(s->open(store).ok());
    }
    void TearDown() override
    {
        for (auto *s : {&a, &b})
            EXPECT_TRUE(s->prompter.failures().isEmpty()) << s->prompter.failures().join('\n').toStdString();
    }

    QVariant setting(const char *field) { return a.db.scalar(QStringLiteral("SELECT %1 FROM tbl_Setup").arg(field)); }
    QString monday(int row, int col)
    {
        return book::page::cellAt(book::page::decode(setting("Mon").toString()), row, col);
    }

    static std::unique_ptr<SetupController> setupAt(testsupport::Station<> &s)
    {
        auto c = std::make_unique<SetupController>(s.services);
        EXPECT_TRUE(c->load(1.0));
        return c;
    }
    static void typeName(SetupController &c, int col, const QString &name)
    {
        c.grid().setCursor(1, col);
        c.gridKeyPress(QChar(13));
        c.editorChanged(name);
        c.closeEditor();
    }

    // The template window on Monday, past its instructions.
    static std::unique_ptr<TemplateController> templatesAt(testsupport::Station<> &s)
    {
        auto c = std::make_unique<TemplateController>(s.services);
        EXPECT_TRUE(c->load(1.0));
        s.prompter.expectMessage();
        c->activate();
        return c;
    }
    static void type(TemplateController &c, int row, int col, const QString &text)
    {
        c.grid().setCursor(row, col);
        c.gridKeyPress(QChar(13));
        c.setEditorText(text);
        c.editorKeyPress(QChar(9));
    }

    testsupport::Station<> a, b;
};

TEST_P(SetupStations, EachOkayWritesOnlyWhatItsStationChanged)
{
    auto onA = setupAt(a), onB = setupAt(b);
    onA->setText(Field::Text1, "Clinic");
    typeName(*onB, 2, "Dr Bell");
    a.prompter.expectMessage().answerNo();
    ASSERT_EQ(onA->okay().outcome, Outcome::Closed);
    b.prompter.expectMessage().answerNo();
    ASSERT_EQ(onB->okay().outcome, Outcome::Closed);

    EXPECT_EQ(setting("location").toString(), "Clinic");
    EXPECT_EQ(setting("names").toString(), "Dr Avery%Dr Bell%Dr Chen%");
    EXPECT_EQ(onB->lastEdit().kind, "setup");
    for (const store::FieldChange &c : onB->lastEdit().changes)
        EXPECT_NE(c.field, "location");
}

TEST_P(SetupStations, ContestedOkayStoresNothingAndKeepsEveryTypedValue)
{
    auto onA = setupAt(a), onB = setupAt(b);
    onA->setText(Field::Text1, "Clinic");
    a.prompter.expectMessage().answerNo();
    ASSERT_EQ(onA->okay().outcome, Outcome::Closed);

    onB->setText(Field::Text1, "Center");
    onB->setText(Field::Text4, "45");
    typeName(*onB, 1, "Dr Ash");
    b.prompter.expectMessage().expectMessage();
    EXPECT_EQ(onB->okay().outcome, Outcome::Contested);
    EXPECT_EQ(b.prompter.last().title, "CmdOkay");
    EXPECT_EQ(b.prompter.last().text,
              "Another station has changed the settings since this window read them, so nothing was stored. "
              "Your values are still in their boxes:\n\n"
              "1. Service location: Center   (changed meanwhile to: Clinic)\n"
              "2. First appointment: 08:00 AM\n"
              "3. Last appointment: 05:00 PM\n"
              "4. Minutes for each appointment: 45\n"
              "5. Text lines in the timeslots: 1\n"
              "6. Number of service providers: 3\n"
              "7. Names of service providers: Dr Ash, Dr Brook, Dr Chen\n\n"
              "Press Okay again to store them in place of the other station's, or close the window to keep "
              "what is stored.");
    EXPECT_EQ(setting("location").toString(), "Clinic");
    EXPECT_EQ(setting("timeslot").toInt(), 30);
    EXPECT_EQ(setting("names").toString(), "Dr Avery%Dr Brook%Dr Chen%");
    EXPECT_EQ(onB->text(Field::Text1), "Center");
    EXPECT_EQ(onB->text(Field::Text4), "45");
    EXPECT_EQ(onB->grid().textMatrix(1, 1), "Dr Ash");
    EXPECT_TRUE(b.windows.log().isEmpty());

    // Told, the user stores the values over the other station's.
    b.prompter.expectMessage().answerNo();
    ASSERT_EQ(onB->okay().outcome, Outcome::Closed);
    EXPECT_EQ(setting("location").toString(), "Center");
    EXPECT_EQ(setting("timeslot").toInt(), 45);
    EXPECT_EQ(setting("names").toString(), "Dr Ash%Dr Brook%Dr Chen%");
}

// Station B's entry into an empty page is under way (its write transaction
// open) when A's Okay lists the empty pages; B stores it while A is about to
// remove the page. The page stays with B's entry.
TEST_P(SetupStations, APageBookedWhileOkayRemovesEmptyPagesStays)
{
    const QDate today = a.clock.today();
    const int id = book::PageStore(a.db).seek(today, store::SettingsStore(a.db).load()).id;
    auto onA = setupAt(a);
    std::thread other;
    std::promise<void> written;
    a.prompter.onNext([&](const auto &) {
        other = std::thread([&] {
            store::Database db;
            ASSERT_TRUE(store.open(db).ok());
            db.beginWrite();
            book::PageStore(db).writeCells(id, {{{3, 1}, "Smith"}});
            written.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            db.commit();
        });
        written.get_future().wait();
    });
    a.prompter.expectMessage().answerNo();
    EXPECT_EQ(onA->okay().outcome, Outcome::Closed);
    other.join();
    EXPECT_EQ(a.stored(today, 3, 1), "Smith");
}

TEST_P(SetupStations, EachTemplateStepKeepsTheOtherStationsCellsAndFlag)
{
    auto onA = templatesAt(a), onB = templatesAt(b);
    type(*onB, 4, 2, "Dr Brook away");
    onB->statusChosen(1);
    ASSERT_TRUE(onB->finishStep());
    type(*onA, 3, 1, "Lunch");
    ASSERT_TRUE(onA->finishStep());

    EXPECT_EQ(monday(3, 1), "Lunch");
    EXPECT_EQ(monday(4, 2), "Dr Brook away");
    EXPECT_TRUE(store::Database::toBool(setting("chk2")));
}

TEST_P(SetupStations, ATemplateCellChangedAtBothStationsIsRefusedAndKeptInTheGrid)
{
    auto onA = templatesAt(a), onB = templatesAt(b);
    type(*onB, 3, 1, "Meeting");
    type(*onB, 6, 3, "Dr Chen late");
    ASSERT_TRUE(onB->finishStep());

    type(*onA, 3, 1, "Lunch");
    type(*onA, 5, 2, "Dr Brook away");
    a.prompter.expectMessage();
    EXPECT_FALSE(onA->finishStep());
    EXPECT_EQ(a.prompter.last().title, "Configure Page Templates");
    EXPECT_EQ(a.prompter.last().text,
              "Another station has changed the Monday template since it was shown here:\n\n"
              "08:00 AM Dr Avery: \"Meeting\"\n\n"
              "Nothing was stored. Your entries are still in the grid, with the other station's changes in the "
              "cells you left alone; press F7 or Tue again to store your entries in their place.");
    EXPECT_EQ(monday(3, 1), "Meeting");
    EXPECT_EQ(monday(5, 2), "");
    EXPECT_EQ(onA->dayCaption(), "Monday");
    EXPECT_EQ(onA->grid().textMatrix(3, 1), "Lunch");
    EXPECT_EQ(onA->grid().textMatrix(5, 2), "Dr Brook away");
    EXPECT_EQ(onA->grid().textMatrix(6, 3), "Dr Chen late");

    ASSERT_TRUE(onA->finishStep());
    EXPECT_EQ(monday(3, 1), "Lunch");
    EXPECT_EQ(monday(5, 2), "Dr Brook away");
    EXPECT_EQ(monday(6, 3), "Dr Chen late");
    EXPECT_EQ(onA->dayCaption(), "Tuesday");
}

// A weekday template's cells are logged with their write, by cell; a step
// over another station's cell writes and logs nothing.
TEST_P(SetupStations, TemplateWritesAreLoggedByCell)
{
    a.db.setStation({"Desk A", "host-a", "ann"});
    setup::TemplateStore::Change c;
    c.dayOfWeek = 1;
    c.rows = 20;
    c.cols = 3;
    c.cells = {{{4, 1}, "LUNCH"}};
    c.read = {{{4, 1}, ""}};
    ASSERT_TRUE(setup::TemplateStore(a.db).write(c).written());
    c.cells = {{{4, 1}, "STAFF"}};   // b read the cell empty, before a's write
    EXPECT_FALSE(setup::TemplateStore(b.db).write(c).written());

    const auto log = store::ChangeLog::forRecord(a.db, "template", "Mon");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].command, "weekday template");
    EXPECT_EQ(log[0].station, "Desk A");
    ASSERT_EQ(log[0].changes.size(), 1u);
    EXPECT_EQ(log[0].changes[0].field, "4,1");
    EXPECT_EQ(log[0].changes[0].after.toString(), "LUNCH");
    EXPECT_TRUE(store::ChangeLog::forRecord(a.db, "setup", "1").empty());
}

QUILLON_BOTH_ENGINES(SetupStations);

} // namespace
