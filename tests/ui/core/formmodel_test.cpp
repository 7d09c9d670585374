#include "ui/core/formmodel.h"

#include <gtest/gtest.h>

namespace {

ui::FormModel form()
{
    using C = ui::FormModel::Control;
    ui::FormModel m;
    m.add(C{.name = "txtCode", .field = "Code", .letters = ui::FormModel::Case::Upper,
            .accepts = ui::accepts::only("AB"), .maxLength = 3});
    m.add(C{.name = "txtId", .field = "Id", .blankStoredAs = " ",
            .enter = ui::FormModel::EnterKey::NextIfFilled});
    m.add(C{.name = "cmdGo", .enter = ui::FormModel::EnterKey::Press, .text = false});
    m.setMove("txtId", ui::Move::Enter, "cmdGo");
    return m;
}

TEST(FormModel, TypingIsFilteredCapitalisedAndCut)
{
    ui::FormModel m = form();
    EXPECT_EQ(m.typed("txtCode", 'a'), QChar('A'));
    EXPECT_FALSE(m.typed("txtCode", 'c'));
    EXPECT_EQ(m.setText("txtCode", "abcabab"), "ABA");
    EXPECT_EQ(m.textControls(), QStringList({"txtCode", "txtId"}));
}

TEST(FormModel, ChangesAreCountedAgainstTheLoadedRecordAndBlankValues)
{
    ui::FormModel m = form();
    m.load({{"code", "AB"}, {"ID", QVariant()}});
    EXPECT_EQ(m.text("txtCode"), "AB");
    EXPECT_FALSE(m.isChanged());   // a blank over a blank is no change
    EXPECT_TRUE(m.isBlank() == false);
    m.setText("txtCode", "");
    EXPECT_TRUE(m.isBlank());      // the blank value " " counts as blank
    EXPECT_EQ(m.changed(), QStringList({"txtCode"}));
    m.assign("txtId", " ");
    EXPECT_EQ(m.changed(), QStringList({"txtCode", "txtId"}));
    EXPECT_EQ(m.stored("txtId"), " ");
}

TEST(FormModel, EnterStaysInAnEmptyBoxThatMustBeFilledAndPressesButtons)
{
    ui::FormModel m = form();
    using T = ui::FormModel::EnterTarget;
    EXPECT_EQ(m.enterFrom("txtId").kind, T::Stay);
    m.setText("txtId", "7");
    EXPECT_EQ(m.enterFrom("txtId").kind, T::To);
    EXPECT_EQ(m.enterFrom("txtId").to, "cmdGo");
    EXPECT_EQ(m.enterFrom("txtCode").kind, T::TabOrder);
    EXPECT_EQ(m.enterFrom("cmdGo").kind, T::Press);
}

} // namespace
