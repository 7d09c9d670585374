#include "book/core/bookkeys.h"

#include "bookfixture.h"
#include "book/core/sidepanel.h"
#include "ui/core/keys.h"

#include <gtest/gtest.h>

namespace {

using book::BookKeymap;
using book::KeyAction;
using book::KeyPlace;
using book::KeyPress;

TEST(BookKeymapTest, EachPlacesKeysNameTheirActionAndOthersFallThrough)
{
    struct Case {
        KeyPlace place;
        int key;
        int shift;
        KeyAction action;
    };
    const int shift = ui::ShiftBit, alt = ui::AltBit;
    const Case cases[] = {
        {KeyPlace::Grid, Qt::Key_Delete, 0, KeyAction::DeleteMarked},
        {KeyPlace::Grid, Qt::Key_Enter, 0, KeyAction::OpenEditor},
        {KeyPlace::Grid, Qt::Key_Backspace, 0, KeyAction::None},
        {KeyPlace::Editor, Qt::Key_Return, shift, KeyAction::EditorEnter},
        {KeyPlace::Editor, Qt::Key_Escape, 0, KeyAction::CancelEntry},
        {KeyPlace::Editor, Qt::Key_Tab, shift, KeyAction::SaveEntry},
        {KeyPlace::Editor, Qt::Key_Delete, 0, KeyAction::None},
        {KeyPlace::Calendar, Qt::Key_PageUp, 0, KeyAction::MoveDay},
        {KeyPlace::Calendar, Qt::Key_Space, 0, KeyAction::OpenDay},
        {KeyPlace::Calendar, Qt::Key_Tab, shift, KeyAction::OpenDay},
        {KeyPlace::Calendar, Qt::Key_Home, 0, KeyAction::None},
        {KeyPlace::StatusBox, Qt::Key_End, 0, KeyAction::StepStatus},
        {KeyPlace::StatusBox, Qt::Key_Down, alt, KeyAction::None},   // opens the list
        {KeyPlace::StatusBox, Qt::Key_Enter, 0, KeyAction::ConfirmStatus},
        {KeyPlace::MonthBox, Qt::Key_Down, alt, KeyAction::BrowseDate},
        {KeyPlace::YearBox, Qt::Key_Return, 0, KeyAction::ConfirmDate},
        {KeyPlace::PageLock, Qt::Key_Return, 0, KeyAction::ApplyLock},
        {KeyPlace::PageLock, Qt::Key_Space, 0, KeyAction::None},
        {KeyPlace::FixedMemo, Qt::Key_Tab, shift, KeyAction::StoreMemo},
        {KeyPlace::DailyMemo, Qt::Key_Return, 0, KeyAction::None},   // a new line
        {KeyPlace::BookName, Qt::Key_Tab, 0, KeyAction::StoreBookName},
        {KeyPlace::WeeklyChoice, Qt::Key_Return, 0, KeyAction::ChoosePrint},
        {KeyPlace::ColumnChoice, Qt::Key_Escape, 0, KeyAction::ClosePrint},
        {KeyPlace::PrintEntry, Qt::Key_Up, 0, KeyAction::MoveFromPrintEntry},
        {KeyPlace::PrintEntry, Qt::Key_Tab, shift, KeyAction::None},   // back along the focus chain
        {KeyPlace::PrintEntry, Qt::Key_Escape, 0, KeyAction::ClosePrint},
        {KeyPlace::DeletedList, Qt::Key_Enter, 0, KeyAction::PutBack},
        {KeyPlace::DeletedList, Qt::Key_Escape, 0, KeyAction::None},
    };
    for (const Case &c : cases)
        EXPECT_EQ(BookKeymap::action(c.place, c.key, c.shift), c.action)
            << "place " << int(c.place) << " key " << std::hex << c.key;

    EXPECT_EQ(BookKeymap::typed(KeyPlace::Grid, QChar(9)), KeyAction::LeaveGrid);
    EXPECT_EQ(BookKeymap::typed(KeyPlace::Grid, QLatin1Char('s')), KeyAction::OpenEditorTyped);
    EXPECT_EQ(BookKeymap::typed(KeyPlace::Grid, QChar(27)), KeyAction::None);
    EXPECT_EQ(BookKeymap::typed(KeyPlace::Calendar, QLatin1Char('s')), KeyAction::None);
    // A key the table does not name falls back on its character only when it types one.
    EXPECT_EQ(book::keyAction(KeyPlace::PrintEntry, {.key = Qt::Key_X, .typed = QLatin1Char('x')}),
              KeyAction::TypedInPrintEntry);
    EXPECT_EQ(book::keyAction(KeyPlace::PrintEntry, {.key = Qt::Key_Tab, .shift = shift, .typed = QChar(9)}),
              KeyAction::None);
}

using BookKeysTest = booktest::BookTest;

TEST_P(BookKeysTest, StatusKeysMoveTheChoiceAndOnlyEnterStoresIt)
{
    book::BookController &b = *st.book;
    const auto step = [&b](int key, int index) {
        const KeyPress k{.key = key, .index = index, .count = 2};
        return runBookKey(b, KeyPlace::StatusBox, book::keyAction(KeyPlace::StatusBox, k), k).index;
    };
    EXPECT_EQ(step(Qt::Key_Down, 1), 1);
    EXPECT_EQ(step(Qt::Key_Up, 0), 0);
    EXPECT_EQ(step(Qt::Key_End, 0), 1);
    EXPECT_EQ(step(Qt::Key_PageUp, 1), 0);
    EXPECT_EQ(b.panel().statusIndex(), 0);

    const KeyPress enter{.key = Qt::Key_Return, .index = 1, .count = 2};
    st.prompter.expectMessage();   // the other stations are asked to log out
    EXPECT_TRUE(runBookKey(b, KeyPlace::StatusBox, KeyAction::ConfirmStatus, enter).used);
    EXPECT_EQ(b.panel().statusIndex(), 1);

    // A book name box that is not open for typing passes Tab on, and keeps Enter.
    const KeyPress tab{.key = Qt::Key_Tab, .text = QStringLiteral("Main"), .readOnly = true};
    EXPECT_FALSE(runBookKey(b, KeyPlace::BookName, KeyAction::StoreBookName, tab).used);
    KeyPress ret = tab;
    ret.key = Qt::Key_Return;
    EXPECT_TRUE(runBookKey(b, KeyPlace::BookName, KeyAction::StoreBookName, ret).used);
    EXPECT_TRUE(st.prompter.failures().isEmpty()) << st.prompter.failures().join("\n").toStdString();
    EXPECT_TRUE(st.prompter.allAnswered());
}

QUILLON_BOTH_ENGINES(BookKeysTest);

} // namespace
