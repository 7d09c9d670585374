#include "book/pages/pagegrid.h"
#include "book/pages/pagestore.h"
#include "setup/core/setupcontroller.h"
#include "store/core/database.h"
#include "store/core/schema.h"
#include "support/station.h"
#include "ui/core/windows.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QSqlRecord>
#include <memory>

using setup::Field;
using setup::SetupController;
using Outcome = SetupController::OkayResult::Outcome;

namespace {

const QString Notice = QStringLiteral(
    "Please note: Changed time settings will apply only to new 'empty' pages. Existing pages with "
    "appointment data saved will retain original time settings.");
const QString Question =
    QStringLiteral("Do you wish to configure page templates for each day of the week?");

class SetupTest : public ::testing::Test, protected testsupport::Station<> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(open(dir).ok());
        ctl = std::make_unique<SetupController>(services);
        ASSERT_TRUE(ctl->load(1.0));
    }

    QVariant setting(const char *field)
    {
        return db.scalar(QStringLiteral("SELECT \"%1\" FROM \"tbl_Setup\"").arg(field));
    }

    void typeName(int col, const QString &name)
    {
        ctl->grid().setCursor(1, col);
        ASSERT_TRUE(ctl->gridKeyPress(QChar(13)).open);
        ctl->editorChanged(name);
        ctl->closeEditor();
    }

    void setTime(const char *hr, const char *min, const char *ap, const char *hrC, const char *minC,
                 const char *pm)
    {
        ctl->setText(Field::txtHrO, hr);
        ctl->setText(Field::txtMinO, min);
        ctl->setText(Field::txtAM, ap);
        ctl->setText(Field::txtHrC, hrC);
        ctl->setText(Field::txtMinC, minC);
        ctl->setText(Field::txtPM, pm);
    }

    int addPage(const QDate &date, const QString &data, const QString &memo = {},
                const QString &colours = QStringLiteral("0"))
    {
        db.insert(store::tables::Color, {{"caldate", date}, {"CColor", colours}, {"Spare", "0"}});
        return db.insert(store::tables::Appt,
                         {{"CalDate", date}, {"Data", data}, {"BlankPage", Blank}, {"Memo", memo},
                          {"open", "07:00 AM"}, {"Close", "11:00 AM"}, {"timeslot", 15},
                          {"Listno", 2}, {"names", "Old1%Old2%"}, {"location", "Office"},
                          {"CColor", "0"}, {"Spare", "0"}});
    }

    std::optional<QSqlRecord> page(int id)
    {
        return db.selectOne(QStringLiteral("SELECT * FROM \"tbl_Appt\" WHERE \"ID\" = ?"), {id});
    }

    int colourRecords(const QDate &date)
    {
        return db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"tbl_Color\" WHERE \"caldate\" = ?"),
                         {date})
            .toInt();
    }

    const QString Blank = QStringLiteral("\t\r\t\r\t");
    testsupport::TestDir dir;
    std::unique_ptr<SetupController> ctl;
};

TEST_F(SetupTest, LoadSplitsTheStoredTimesAndBuildsTheNamesGrid)
{
    EXPECT_EQ(ctl->text(Field::Text1), "Office");
    EXPECT_EQ(ctl->text(Field::txtHrO) + ctl->text(Field::txtMinO) + ctl->text(Field::txtAM),
              "0800AM");
    EXPECT_EQ(ctl->text(Field::txtHrC) + ctl->text(Field::txtMinC) + ctl->text(Field::txtPM),
              "0500PM");
    EXPECT_EQ(ctl->text(Field::Text4), "30");
    EXPECT_EQ(ctl->text(Field::Text5), "3");

    const ui::GridModel &g = ctl->grid();
    ASSERT_EQ(g.cols(), 4);
    EXPECT_EQ(g.colWidth(0), 880);
    for (int c = 1; c <= 3; ++c) {
        EXPECT_EQ(g.colWidth(c), 2550);
        EXPECT_EQ(g.textMatrix(0, c), QString::number(c));
        EXPECT_EQ(g.cellAlign(0, c), ui::CellAlign::Center);
    }
    EXPECT_EQ(g.textMatrix(1, 2), "Dr Brook");
    EXPECT_EQ(g.font().name, "Arial");
    EXPECT_TRUE(g.font().bold);
    EXPECT_EQ(g.row(), 1);
    EXPECT_EQ(g.col(), 1);
}

TEST_F(SetupTest, WidthFactorScalesDefaultsButNotStoredWidths)
{
    db.exec(QStringLiteral("UPDATE \"tbl_Setup\" SET \"cwidth\" = '2000%x%'"));
    state.widthFactor = 1.0;
    ASSERT_TRUE(ctl->load(1.5));
    EXPECT_DOUBLE_EQ(state.widthFactor, 1.5);
    EXPECT_EQ(ctl->grid().colWidth(0), 1320);
    EXPECT_EQ(ctl->grid().colWidth(1), 2000);
    EXPECT_EQ(ctl->grid().colWidth(2), 3825);   // a bad entry keeps the default
    EXPECT_EQ(ctl->grid().colWidth(3), 3825);
}

TEST_F(SetupTest, BookColumnsLookTheSameBeforeAndAfterASave)
{
    // A 1920-pixel screen, three consultants with the default widths.
    const double factor = 1920.0 / 1024.0;
    const auto bookWidths = [&](const QString &cwidth) {
        ui::GridModel g;
        book::setupColumns(g, 4, {}, cwidth, factor);
        return QList<int>{g.colWidth(0), g.colWidth(1), g.colWidth(2), g.colWidth(3)};
    };
    const QList<int> before = bookWidths(setting("cwidth").toString());
    ASSERT_TRUE(ctl->load(factor));
    prompter.expectMessage().answerNo();
    ASSERT_EQ(ctl->okay().outcome, Outcome::Closed);
    EXPECT_EQ(bookWidths(setting("cwidth").toString()), before);
}

TEST_F(SetupTest, StoredTimeInAnotherFormIsSplitByPosition)
{
    db.exec(QStringLiteral("UPDATE \"tbl_Setup\" SET \"open\" = '7:30 am'"));
    ASSERT_TRUE(ctl->load(1.0));
    EXPECT_EQ(ctl->text(Field::txtHrO), "07");
    EXPECT_EQ(ctl->text(Field::txtMinO), "30");
    EXPECT_EQ(ctl->text(Field::txtAM), "AM");
}

TEST_F(SetupTest, EnterInEmptyFieldStays)
{
    ctl->setText(Field::Text4, "");
    EXPECT_FALSE(ctl->enterPressed(Field::Text4));
    // Typing keeps digits only and at most two of them in a time field.
    EXPECT_EQ(ctl->setText(Field::txtMinC, "4x55"), "45");
    EXPECT_EQ(ctl->enterPressed(Field::Text1), Field::txtHrO);
    EXPECT_EQ(ctl->enterPressed(Field::Text5), Field::Grid1);
}

TEST_F(SetupTest, LeavingText5RebuildsTheGridFromStoredNames)
{
    typeName(1, "Typed");
    ctl->setText(Field::Text5, "25");
    ctl->leave(Field::Text5);
    EXPECT_EQ(ctl->text(Field::Text5), "20");
    EXPECT_EQ(ctl->providers(), 20);
    EXPECT_EQ(ctl->grid().cols(), 21);
    EXPECT_EQ(ctl->grid().textMatrix(1, 1), "Dr Avery");
    EXPECT_EQ(ctl->grid().colWidth(20), 1940);
    EXPECT_EQ(ctl->grid().textMatrix(0, 20), "20");

    ctl->setText(Field::Text5, "0");
    ctl->leave(Field::Text5);
    EXPECT_EQ(ctl->text(Field::Text5), "1");
    EXPECT_EQ(ctl->grid().cols(), 2);
    EXPECT_EQ(ctl->grid().colWidth(1), 7800);
}

TEST_F(SetupTest, GridEditorOpensWithCellTextAndWritesEveryChange)
{
    ctl->grid().setCursor(1, 2);
    const auto tab = ctl->gridKeyPress(QChar(9));
    EXPECT_FALSE(tab.open);
    EXPECT_FALSE(ctl->editorOpen());

    const auto o = ctl->gridKeyPress(QChar('x'));
    ASSERT_TRUE(o.open);
    EXPECT_EQ(o.pass, QChar('x'));
    EXPECT_EQ(ctl->editorText(), "Dr Brook");
    EXPECT_EQ(ctl->editCol(), 2);
    EXPECT_EQ(ctl->gridKeyPress(QChar(13)).pass, QChar());   // Enter is dropped

    ctl->editorChanged("Dr B");
    EXPECT_EQ(ctl->grid().textMatrix(1, 2), "Dr B");
    // A "%" would split the stored list of names.
    EXPECT_FALSE(ctl->editorChar('%'));
    EXPECT_EQ(ctl->editorChanged("50% Smith"), "50 Smith");
    EXPECT_EQ(ctl->grid().textMatrix(1, 2), "50 Smith");
    ctl->closeEditor();
    EXPECT_FALSE(ctl->editorOpen());
}

TEST_F(SetupTest, ResetFillsResetValuesAndStoresNothing)
{
    ctl->setText(Field::Text1, "Clinic");
    setTime("09", "15", "PM", "11", "45", "PM");
    ctl->setText(Field::Text4, "45");
    ctl->setText(Field::Text5, "7");
    ctl->setText(Field::txtRHT, "3");
    typeName(1, "Typed");
    EXPECT_EQ(ctl->reset(), Field::Text1);
    EXPECT_EQ(ctl->text(Field::Text1), "Office");
    EXPECT_EQ(ctl->text(Field::txtHrO) + ctl->text(Field::txtMinO) + ctl->text(Field::txtAM),
              "0800AM");
    EXPECT_EQ(ctl->text(Field::txtHrC) + ctl->text(Field::txtMinC) + ctl->text(Field::txtPM),
              "0500PM");
    EXPECT_EQ(ctl->text(Field::Text4), "30");
    EXPECT_EQ(ctl->text(Field::txtRHT), "3");   // not among the reset values
    EXPECT_EQ(ctl->text(Field::Text5), "3");
    EXPECT_EQ(ctl->grid().textMatrix(1, 1), "Dr Avery");
    EXPECT_TRUE(prompter.transcript().empty());
    EXPECT_EQ(setting("location").toString(), "Office");
}

TEST_F(SetupTest, ClosingEarlierThanOpeningIsRefusedButNamesStayStored)
{
    setTime("09", "00", "AM", "08", "00", "AM");
    ctl->setText(Field::Text1, "Clinic");
    typeName(1, "Ann");
    ctl->grid().setColWidth(2, 3000);
    prompter.expectMessage().expectMessage();

    const auto r = ctl->okay();
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_EQ(r.focus, Field::txtHrC);
    ASSERT_EQ(prompter.transcript().size(), 2u);
    EXPECT_EQ(prompter.transcript()[0].text, Notice);
    EXPECT_EQ(prompter.transcript()[0].title, "Changing Time Settings");
    EXPECT_EQ(prompter.last().text, "Closing time earlier than Opening time!");
    EXPECT_EQ(prompter.last().title, "Time Setting Error");
    EXPECT_EQ(setting("names").toString(), "Ann%Dr Brook%Dr Chen%");
    EXPECT_EQ(setting("cwidth").toString(), "2550%3000%2550%");
    EXPECT_EQ(setting("open").toString(), "08:00 AM");
    EXPECT_EQ(setting("location").toString(), "Office");
    EXPECT_TRUE(windows.log().isEmpty());
    EXPECT_TRUE(prompter.failures().isEmpty());

    // From now on these are the stored names a rebuild reads.
    ctl->leave(Field::Text5);
    EXPECT_EQ(ctl->grid().textMatrix(1, 1), "Ann");
    EXPECT_EQ(ctl->grid().colWidth(2), 3000);
}

TEST_F(SetupTest, OkayStoresEverythingAndOffersTemplates)
{
    ctl->setText(Field::Text1, "Clinic");
    setTime("07", "30", "AM", "06", "15", "PM");
    ctl->setText(Field::Text4, "20");
    ctl->setText(Field::txtRHT, "2");
    typeName(1, "A");
    typeName(2, "B");
    typeName(3, "C");
    windows.setLoaded(ui::win::Appt);
    prompter.expectMessage().answerYes();

    const auto r = ctl->okay();
    EXPECT_EQ(r.outcome, Outcome::Closed);
    EXPECT_EQ(setting("names").toString(), "A%B%C%");
    EXPECT_EQ(setting("cwidth").toString(), "2550%2550%2550%");
    EXPECT_EQ(setting("location").toString(), "Clinic");
    EXPECT_EQ(setting("open").toString(), "07:30 AM");
    EXPECT_EQ(setting("Close").toString(), "06:15 PM");
    EXPECT_EQ(setting("timeslot").toInt(), 20);
    EXPECT_EQ(setting("RHeight").toInt(), 2);
    EXPECT_EQ(setting("Listno").toInt(), 3);
    EXPECT_EQ(prompter.last().text, Question);
    EXPECT_EQ(prompter.last().title, "Configure Page Template");
    EXPECT_EQ(prompter.last().kind, ui::ScriptedPrompter::Kind::Question);
    EXPECT_EQ(windows.log(),
              QStringList({"unload frmAppt", "show frmConfigure", "unload frmSetup"}));
    EXPECT_TRUE(prompter.allAnswered());
}

TEST_F(SetupTest, AnsweringNoOpensTheBook)
{
    prompter.expectMessage().answerNo();
    EXPECT_EQ(ctl->okay().outcome, Outcome::Closed);
    EXPECT_EQ(windows.log(), QStringList({"show frmAppt", "unload frmSetup"}));
}

TEST_F(SetupTest, ProvidersChangedWithoutLeavingText5AreTakenOnOkay)
{
    ctl->setText(Field::Text5, "4");
    prompter.expectMessage().answerNo();
    ctl->okay();
    EXPECT_EQ(setting("Listno").toInt(), 4);
    EXPECT_EQ(setting("names").toString(), "Dr Avery%Dr Brook%Dr Chen%%");
    EXPECT_EQ(setting("cwidth").toString(), "1940%1940%1940%1940%");
}

TEST_F(SetupTest, OkayWithARefusedFieldStoresNothing)
{
    ctl->setText(Field::Text4, "5");
    const auto r = ctl->okay();
    EXPECT_EQ(r.outcome, Outcome::Invalid);
    EXPECT_EQ(r.focus, Field::Text4);
    EXPECT_TRUE(prompter.transcript().empty());
    EXPECT_EQ(setting("timeslot").toInt(), 30);
}

TEST_F(SetupTest, OkayRemovesEmptyPagesAndRecolumnsTodayOnward)
{
    const QDate today = clock.today();
    const int emptyFuture = addPage(today.addDays(3), Blank);
    const int emptyPast = addPage(today.addDays(-3), Blank);
    const int booked = addPage(today.addDays(1), "\tSmith\r\t\r\t");
    const int memoOnly = addPage(today.addDays(2), Blank, "Staff meeting");
    const int painted = addPage(today.addDays(4), Blank, {}, "0 255 0 0");
    const int bookedToday = addPage(today, "Jones\t\r\t\r\t");
    const int bookedPast = addPage(today.addDays(-1), "Brown\t\r\t\r\t");
    db.exec(QStringLiteral("UPDATE \"tbl_Appt\" SET \"Data\" = NULL, \"BlankPage\" = NULL, "
                           "\"Memo\" = NULL WHERE \"ID\" = ?"),
            {emptyPast});
    typeName(1, "A");
    ctl->setText(Field::Text5, "2");
    ctl->leave(Field::Text5);   // back to the stored names
    typeName(2, "Z");
    prompter.expectMessage().answerNo();

    ASSERT_EQ(ctl->okay().outcome, Outcome::Closed);
    EXPECT_FALSE(page(emptyFuture));
    EXPECT_FALSE(page(emptyPast));   // missing values count as empty text
    EXPECT_EQ(colourRecords(today.addDays(3)), 0);
    for (int id : {booked, memoOnly, painted, bookedToday}) {
        const auto p = page(id);
        ASSERT_TRUE(p) << id;
        EXPECT_EQ(p->value("Listno").toInt(), 2) << id;
        EXPECT_EQ(p->value("names").toString(), "Dr Avery%Z%") << id;
        EXPECT_EQ(p->value("open").toString(), "07:00 AM") << id;
        EXPECT_EQ(p->value("Close").toString(), "11:00 AM") << id;
        EXPECT_EQ(p->value("timeslot").toInt(), 15) << id;
    }
    EXPECT_EQ(page(booked)->value("Data").toString(), "\tSmith\r\t\r\t");
    EXPECT_EQ(colourRecords(today.addDays(4)), 1);
    const auto past = page(bookedPast);
    ASSERT_TRUE(past);
    EXPECT_EQ(past->value("Listno").toInt(), 2);
    EXPECT_EQ(past->value("names").toString(), "Old1%Old2%");
}

TEST_F(SetupTest, PaintedCellsOnlyCountWhenNotDefault)
{
    EXPECT_FALSE(book::hasPaintedCells("0"));
    EXPECT_FALSE(book::hasPaintedCells(""));
    EXPECT_FALSE(book::hasPaintedCells("0 15663103 0"));
    EXPECT_TRUE(book::hasPaintedCells("0 255"));
}

TEST_F(SetupTest, DatabaseFailureIsShownAndTheWindowStays)
{
    db.close();
    prompter.expectMessage().expectMessage();
    const auto r = ctl->okay();
    EXPECT_EQ(r.outcome, Outcome::Failed);
    EXPECT_EQ(prompter.last().title, "CmdOkay");
    EXPECT_TRUE(prompter.last().text.contains(QStringLiteral(" - The database is not open.")))
        << prompter.last().text.toStdString();
    EXPECT_TRUE(windows.log().isEmpty());
}

} // namespace
