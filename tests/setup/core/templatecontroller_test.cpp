#include "book/pages/blockops.h"
#include "book/pages/bookkeymap.h"
#include "book/pages/pagegrid.h"
#include "book/pages/pagestore.h"
#include "setup/core/templatecontroller.h"
#include "store/core/database.h"
#include "book/pages/pagetext.h"
#include "support/station.h"
#include "ui/core/desktop.h"
#include "ui/core/windows.h"

#include <gtest/gtest.h>

#include <QDate>
#include <memory>

using setup::TemplateController;

namespace {

const QString Instructions = QStringLiteral(
    "Please block out the time slots where the Consultants are unavailable for appointments. Remember to "
    "press TAB key after each entry!");
const QString Review = QStringLiteral("Do you wish to review your templates?");
const char *const Fields[7] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const char *const Flags[7] = {"chk2", "chk3", "chk4", "chk5", "chk6", "chk7", "chk1"};

class TemplateTest : public testsupport::EngineTest, protected testsupport::Station<> {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(open(store).ok());
        ctl = std::make_unique<TemplateController>(services);
    }

    void start()
    {
        prompter.clear();
        ASSERT_TRUE(ctl->load(1.0));
        prompter.expectMessage();
        ctl->activate();
        ASSERT_EQ(prompter.transcript().size(), 1u);
        EXPECT_EQ(prompter.last().text, Instructions);
        EXPECT_EQ(prompter.last().title, "Configure Page templates");
        prompter.clear();
    }

    // Types a whole entry into a cell and presses Tab.
    void type(int row, int col, const QString &text)
    {
        ctl->grid().setCursor(row, col);
        ctl->gridKeyPress(QChar(13));
        ctl->setEditorText(text);
        ctl->editorKeyPress(QChar(9));
    }

    QVariant setting(const char *field)
    {
        return db.scalar(QStringLiteral("SELECT %1 FROM tbl_Setup").arg(QLatin1String(field)));
    }

    static QString cell(const QString &text, int row, int col)
    {
        const auto cells = book::page::decode(text);
        const size_t r = static_cast<size_t>(row - 2);
        if (r >= cells.size() || col - 1 >= cells[r].size())
            return {};
        return cells[r][col - 1];
    }

    static QDate next(int dayOfWeek)
    {
        QDate d(2031, 3, 1);
        while (d.dayOfWeek() != dayOfWeek)
            d = d.addDays(1);
        return d;
    }

    book::PageRecord newPage(int dayOfWeek)
    {
        book::PageStore pages(db);
        return pages.seek(next(dayOfWeek), store::SettingsStore(db).load());
    }

    // Every update of the settings record fails with "record locked".
    void refuseUpdates()
    {
        if (!onServer()) {
            db.exec("CREATE TRIGGER refuse BEFORE UPDATE ON tbl_Setup BEGIN SELECT RAISE(ABORT, 'record locked'); END");
            return;
        }
        db.exec("CREATE OR REPLACE FUNCTION refuse() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'record locked'; "
                "END $$ LANGUAGE plpgsql");
        db.exec("CREATE TRIGGER refuse BEFORE UPDATE ON tbl_Setup FOR EACH ROW EXECUTE FUNCTION refuse()");
    }
    void allowUpdates() { db.exec(onServer() ? "DROP TRIGGER refuse ON tbl_Setup" : "DROP TRIGGER refuse"); }

    std::unique_ptr<TemplateController> ctl;
};

TEST_P(TemplateTest, LoadBuildsTheGridFromTheSettingsWithScaledDefaults)
{
    db.exec(QStringLiteral("UPDATE tbl_Setup SET cwidth = '2000%x%', location = 'Clinic', "
                           "RHeight = 2"));
    ASSERT_TRUE(ctl->load(1.5));
    EXPECT_DOUBLE_EQ(state.widthFactor, 1.5);
    const ui::GridModel &g = ctl->grid();
    ASSERT_EQ(g.cols(), 4);
    EXPECT_EQ(g.colWidth(0), 1320);
    EXPECT_EQ(g.colWidth(1), 2000);   // stored widths are not scaled
    EXPECT_EQ(g.colWidth(2), 3825);   // defaults are
    EXPECT_EQ(g.rows(), 3 + 19 + 2);  // 08:00 AM to 05:00 PM by 30 minutes
    EXPECT_EQ(g.textMatrix(21, 0), "05:00 PM");
    EXPECT_EQ(g.rowHeight(3), 500);
    EXPECT_EQ(ctl->statusEntries(), QStringList({" Clinic Open", " Clinic Closed"}));
    EXPECT_EQ(ctl->templateDate(), QDate(2000, 7, 3));
    EXPECT_EQ(ctl->blockoutBox(), "- - - - - - - - - - - - - - - -");
}

TEST_P(TemplateTest, FullCycleStoresSevenTemplatesAndFlags)
{
    start();
    EXPECT_EQ(ctl->dayCaption(), "Monday");
    EXPECT_EQ(ctl->grid().row(), 2);
    EXPECT_EQ(ctl->grid().col(), 1);

    const QStringList captions{"Tue", "Wed", "Thu", "Fri", "Sat", "Sun", "Finish"};
    const QStringList days{"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(ctl->dayCaption(), days[i]);
        EXPECT_EQ(ctl->finishCaption(), captions[i]);
        type(3 + i, 1 + i % 3, days[i]);
        const bool closed = i == 2 || i == 6;   // Wednesday and Sunday
        ctl->statusChosen(closed ? 1 : 0);
        EXPECT_EQ(ctl->grid().backColor(), closed ? book::DesktopColor : book::DefaultCellColor);
        if (i == 6)
            prompter.answerNo();
        ASSERT_TRUE(ctl->finishStep());
        // The flag of the weekday just stored also lands in Clinic.
        EXPECT_EQ(store::Database::toBool(setting("Clinic")), closed) << i;
    }
    ASSERT_EQ(prompter.transcript().size(), 1u);
    EXPECT_EQ(prompter.last().text, Review);
    EXPECT_EQ(prompter.last().title, "Templates Review?");
    EXPECT_EQ(windows.log(), QStringList({"show frmAppt", "unload frmConfigure"}));

    for (int i = 0; i < 7; ++i) {
        const QString text = setting(Fields[i]).toString();
        EXPECT_EQ(cell(text, 3 + i, 1 + i % 3), days[i]) << Fields[i];
        EXPECT_EQ(book::page::decode(text).size(), 22u);   // row 2, 19 time rows, 2 free rows
        EXPECT_EQ(store::Database::toBool(setting(Flags[i])), i == 2 || i == 6) << Flags[i];
    }
}

TEST_P(TemplateTest, ClosedWednesdayGivesLaterWednesdayPagesTheClosedFlag)
{
    start();
    ctl->finishStep();
    ctl->finishStep();
    ASSERT_EQ(ctl->dayCaption(), "Wednesday");
    ctl->statusChosen(1);
    EXPECT_EQ(ctl->statusIndex(), 1);
    ASSERT_TRUE(ctl->finishStep());
    EXPECT_TRUE(store::Database::toBool(setting("chk4")));
    EXPECT_TRUE(newPage(Qt::Wednesday).clinic);
    EXPECT_FALSE(newPage(Qt::Tuesday).clinic);
    // Thursday arrives with its own (open) flag.
    EXPECT_EQ(ctl->statusIndex(), 0);
    EXPECT_EQ(ctl->grid().backColor(), book::DefaultCellColor);
}

TEST_P(TemplateTest, SwitchingTheStatusDropsTheCellBeingTyped)
{
    start();
    type(4, 1, "kept");
    ctl->grid().setCursor(5, 2);
    ctl->gridKeyPress(QChar('x'));
    ASSERT_TRUE(ctl->editor().visible);
    ctl->setEditorText("lost");
    ctl->statusChosen(1);
    EXPECT_FALSE(ctl->editor().visible);
    EXPECT_EQ(ctl->grid().textMatrix(5, 2), "");
    EXPECT_EQ(ctl->grid().textMatrix(4, 1), "kept");
    ASSERT_TRUE(ctl->finishStep());
    const QString mon = setting("Mon").toString();
    EXPECT_EQ(cell(mon, 4, 1), "kept");
    EXPECT_EQ(cell(mon, 5, 2), "");
    EXPECT_TRUE(store::Database::toBool(setting("chk2")));
}

TEST_P(TemplateTest, ReviewStartsAgainAtMondayWithTheStoredMondayTemplate)
{
    start();
    type(3, 2, "Staff meeting");
    ctl->statusChosen(1);
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(ctl->finishStep());
    ASSERT_EQ(ctl->finishCaption(), "Finish");
    prompter.answerYes();
    ASSERT_TRUE(ctl->finishStep());
    EXPECT_TRUE(windows.log().isEmpty());
    EXPECT_EQ(ctl->dayCaption(), "Monday");
    EXPECT_EQ(ctl->finishCaption(), "Tue");
    EXPECT_EQ(ctl->grid().textMatrix(3, 2), "Staff meeting");
    EXPECT_EQ(ctl->workingText(), setting("Mon").toString());
    EXPECT_TRUE(ctl->closed());
    EXPECT_EQ(ctl->grid().row(), 2);
    // The second round stores Monday again.
    type(3, 2, "");
    ASSERT_TRUE(ctl->finishStep());
    EXPECT_EQ(cell(setting("Mon").toString(), 3, 2), "");
}

TEST_P(TemplateTest, BlockedOutLunchRowShowsInNewPagesOfThatWeekday)
{
    start();
    ctl->setBlockoutBox("LUNCH");
    ctl->grid().setCursor(11, 1);   // 12:00 PM
    ctl->blocks().shiftClick(11, 3);
    ctl->blocks().blockout();
    for (int c = 1; c <= 3; ++c)
        EXPECT_EQ(ctl->grid().textMatrix(11, c), "LUNCH");
    // A block command keeps the template as an edit does: a refill keeps it.
    ctl->statusChosen(0);
    EXPECT_EQ(ctl->grid().textMatrix(11, 3), "LUNCH");
    ASSERT_TRUE(ctl->finishStep());

    const book::PageRecord monday = newPage(Qt::Monday);
    for (int c = 1; c <= 3; ++c) {
        EXPECT_EQ(cell(monday.data, 11, c), "LUNCH");
        EXPECT_EQ(cell(monday.data, 10, c), "");
    }
    EXPECT_EQ(monday.blankPage, monday.data);
    EXPECT_EQ(cell(newPage(Qt::Tuesday).data, 11, 1), "");
}

TEST_P(TemplateTest, FailedStoreIsReportedAndKeepsTheWeekday)
{
    start();
    const QString before = setting("Mon").toString();
    type(3, 1, "Dr away");
    refuseUpdates();
    prompter.expectMessage();
    EXPECT_FALSE(ctl->finishStep());
    ASSERT_EQ(prompter.transcript().size(), 1u);
    EXPECT_TRUE(prompter.last().text.startsWith("The template could not be stored: ")) << prompter.last().text.toStdString();
    EXPECT_TRUE(prompter.last().text.contains("record locked"));
    EXPECT_EQ(prompter.last().title, "Configure Page Templates");
    EXPECT_EQ(ctl->dayCaption(), "Monday");
    EXPECT_EQ(ctl->finishCaption(), "Tue");
    EXPECT_EQ(ctl->grid().textMatrix(3, 1), "Dr away");
    EXPECT_EQ(setting("Mon").toString(), before);

    allowUpdates();
    ASSERT_TRUE(ctl->finishStep());
    EXPECT_EQ(ctl->dayCaption(), "Tuesday");
    EXPECT_EQ(cell(setting("Mon").toString(), 3, 1), "Dr away");
}

TEST_P(TemplateTest, CellEntryFollowsTheBooksKeys)
{
    db.exec(QStringLiteral("UPDATE tbl_Setup SET RHeight = 2"));
    start();
    const QString before = setting("Mon").toString();
    ctl->grid().setCursor(3, 1);
    ctl->gridKeyPress(QChar(9));
    EXPECT_FALSE(ctl->editor().visible);   // Tab opens nothing
    ctl->gridKeyPress(QChar('{'));
    ASSERT_TRUE(ctl->editor().visible);
    EXPECT_EQ(ctl->editor().text, "");
    EXPECT_TRUE(ctl->editorKeyPress(QChar('}')));
    ctl->setEditorText("Line one\r\nLine\ttwo");
    EXPECT_FALSE(ctl->editorKeyDown(Qt::Key_Return, 0));   // a new line with two lines a slot
    EXPECT_TRUE(ctl->editorKeyDown(Qt::Key_Return, 1));    // Shift+Enter keeps the cell
    EXPECT_FALSE(ctl->editor().visible);
    EXPECT_EQ(ctl->grid().textMatrix(3, 1), "Line one\nLine two");
    EXPECT_EQ(cell(ctl->workingText(), 3, 1), "Line one\nLine two");
    EXPECT_EQ(setting("Mon").toString(), before);   // nothing stored before the step

    ctl->gridDoubleClick();
    EXPECT_EQ(ctl->editor().text, "Line one\r\nLine two");
    // Leaving a changed entry by a click is refused as in the book.
    ctl->setEditorText("changed");
    prompter.expectMessage();
    ctl->gridMouseDown(1, 0, 6, 2);
    EXPECT_EQ(prompter.last().text, "Save last appointment entry!?");
    EXPECT_TRUE(ctl->editor().visible);
    // The step keeps what is in the editor.
    ASSERT_TRUE(ctl->finishStep());
    EXPECT_EQ(cell(setting("Mon").toString(), 3, 1), "changed");

}

TEST_P(TemplateTest, GridKeysComeFromTheKeymapAndCtrlClickMarksAsAltClick)
{
    using book::KeyAction;
    using book::KeyPlace;
    EXPECT_EQ(book::BookKeymap::typed(KeyPlace::TemplateGrid, QChar(9)), KeyAction::NextControl);
    EXPECT_EQ(book::BookKeymap::action(KeyPlace::TemplateGrid, Qt::Key_Delete, 0), KeyAction::DeleteMarked);
    start();
    std::vector<setup::TemplateFocus> focus;
    QObject::connect(ctl.get(), &TemplateController::focusRequested, [&](setup::TemplateFocus f) { focus.push_back(f); });
    ctl->grid().setCursor(3, 1);
    ctl->gridKeyPress(QChar(9));
    EXPECT_EQ(focus, std::vector{setup::TemplateFocus::Next});

    // The editor's keys as the book's editor has them: Tab keeps the entry.
    ctl->gridKeyPress(QChar('D'));
    EXPECT_TRUE(ctl->editorKey(Qt::Key_BraceLeft, 0, QChar('{')));
    ctl->setEditorText("Dr away");
    EXPECT_TRUE(ctl->editorKey(Qt::Key_Tab, 0, QChar(9)));
    EXPECT_FALSE(ctl->editor().visible);
    EXPECT_EQ(ctl->grid().textMatrix(3, 1), "Dr away");

    ctl->gridMouseUp(1, book::CtrlKey, 3, 1);
    EXPECT_TRUE(ctl->blocks().marked());
    EXPECT_TRUE(ctl->blocks().singleCell());
    ctl->grid().setCursor(5, 2);
    ctl->gridMouseUp(1, book::AltKey, 3, 1);
    EXPECT_EQ(ctl->grid().row(), 3);
    EXPECT_TRUE(ctl->gridKeyDown(Qt::Key_Delete, 0));
    EXPECT_EQ(ctl->grid().textMatrix(3, 1), "");
}

TEST_P(TemplateTest, ClosingOffersToStoreTheWeekdayInHand)
{
    start();
    // Nothing changed: no question.
    EXPECT_TRUE(ctl->closeByUser());
    EXPECT_TRUE(prompter.transcript().empty());
    EXPECT_EQ(windows.log(), QStringList({"show frmMenu", "unload frmConfigure"}));

    windows.clearLog();
    ctl = std::make_unique<TemplateController>(services);
    start();
    const QString before = setting("Tue").toString();
    ctl->finishStep();
    type(5, 1, "Tuesday edit");
    prompter.answerNo();
    EXPECT_TRUE(ctl->closeByUser());
    EXPECT_EQ(prompter.last().text, "Do you wish to store the changes to the Tuesday template?");
    EXPECT_EQ(prompter.last().title, "Configure Page Templates");
    EXPECT_EQ(setting("Tue").toString(), before);

    ctl = std::make_unique<TemplateController>(services);
    start();
    ctl->statusChosen(1);
    refuseUpdates();
    prompter.answerYes().expectMessage();
    windows.clearLog();
    EXPECT_FALSE(ctl->closeByUser());   // the window stays with its edits
    EXPECT_TRUE(windows.log().isEmpty());
    allowUpdates();
    prompter.answerYes();
    EXPECT_TRUE(ctl->closeByUser());
    EXPECT_TRUE(store::Database::toBool(setting("chk2")));
    EXPECT_TRUE(prompter.failures().isEmpty()) << prompter.failures().join('\n').toStdString();
}

QUILLON_BOTH_ENGINES(TemplateTest);

} // namespace
