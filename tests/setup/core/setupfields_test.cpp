#include "setup/core/setupfields.h"

#include <gtest/gtest.h>

using setup::Field;
using setup::LeaveResult;
using setup::leaveRule;

namespace {

void expectLeave(Field f, const QString &typed, LeaveResult::Outcome outcome, const QString &kept)
{
    const LeaveResult r = leaveRule(f, typed);
    EXPECT_EQ(r.outcome, outcome) << setup::fieldName(f).toStdString() << " '" << typed.toStdString()
                                  << "'";
    EXPECT_EQ(r.text, kept) << setup::fieldName(f).toStdString() << " '" << typed.toStdString() << "'";
}

} // namespace

TEST(SetupFieldRules, HoursArePaddedAndMustBeOnTheTwelveHourClock)
{
    for (Field f : {Field::txtHrO, Field::txtHrC}) {
        expectLeave(f, "8", LeaveResult::Ok, "08");
        expectLeave(f, "12", LeaveResult::Ok, "12");
        expectLeave(f, "13", LeaveResult::Stay, "13");
        // No hour 0 on a 12-hour clock: the stored time would not read back.
        expectLeave(f, "0", LeaveResult::Stay, "00");
        expectLeave(f, "", LeaveResult::Stay, "00");
    }
}

TEST(SetupFieldRules, MinutesArePaddedAndStopAtFiftyNine)
{
    for (Field f : {Field::txtMinO, Field::txtMinC}) {
        expectLeave(f, "5", LeaveResult::Ok, "05");
        expectLeave(f, "", LeaveResult::Ok, "00");
        expectLeave(f, "59", LeaveResult::Ok, "59");
        expectLeave(f, "60", LeaveResult::Stay, "60");
    }
}

TEST(SetupFieldRules, AmPmIsCorrectedToTheFieldsOwnDefault)
{
    expectLeave(Field::txtAM, "pm", LeaveResult::Ok, "PM");
    expectLeave(Field::txtAM, "XY", LeaveResult::Ok, "AM");
    expectLeave(Field::txtAM, "", LeaveResult::Ok, "AM");
    expectLeave(Field::txtPM, "am", LeaveResult::Ok, "AM");
    expectLeave(Field::txtPM, "P", LeaveResult::Ok, "PM");
}

TEST(SetupFieldRules, SlotLengthRangeSendsTheFocusBack)
{
    expectLeave(Field::Text4, "9", LeaveResult::Stay, "9");
    expectLeave(Field::Text4, "10", LeaveResult::Ok, "10");
    expectLeave(Field::Text4, "240", LeaveResult::Ok, "240");
    expectLeave(Field::Text4, "241", LeaveResult::Stay, "241");
    expectLeave(Field::Text4, "", LeaveResult::Stay, "");
}

TEST(SetupFieldRules, LinesAndProvidersAreClamped)
{
    expectLeave(Field::txtRHT, "0", LeaveResult::Ok, "1");
    expectLeave(Field::txtRHT, "4", LeaveResult::Ok, "4");
    expectLeave(Field::txtRHT, "9", LeaveResult::Ok, "6");
    expectLeave(Field::Text5, "0", LeaveResult::Ok, "1");
    expectLeave(Field::Text5, "", LeaveResult::Ok, "1");
    expectLeave(Field::Text5, "25", LeaveResult::Ok, "20");
    // A long run of digits is large, not a wrapped-around small number.
    expectLeave(Field::Text5, "99999999999999", LeaveResult::Ok, "20");
}

TEST(SetupFieldRules, TypingFilters)
{
    EXPECT_EQ(setup::typedChar(Field::txtHrO, '7'), QChar('7'));
    EXPECT_FALSE(setup::typedChar(Field::txtHrO, 'a'));
    EXPECT_FALSE(setup::typedChar(Field::Text5, '-'));
    EXPECT_EQ(setup::typedChar(Field::Text4, QChar(8)), QChar(8));
    EXPECT_EQ(setup::typedChar(Field::txtPM, 'p'), QChar('P'));
    EXPECT_EQ(setup::typedChar(Field::Text1, 'c'), QChar('c'));
    EXPECT_EQ(setup::cleanText(Field::txtMinC, "1a5 "), QStringLiteral("15"));
    EXPECT_EQ(setup::cleanText(Field::txtAM, "am"), QStringLiteral("AM"));
}

TEST(SetupFieldRules, EnterAndArrowMovement)
{
    EXPECT_EQ(setup::nextField(Field::Text1), Field::txtHrO);
    EXPECT_EQ(setup::nextField(Field::txtPM), Field::Text4);
    EXPECT_EQ(setup::nextField(Field::Text5), Field::Grid1);
    EXPECT_EQ(setup::lineBelow(Field::txtHrO), Field::txtHrC);
    EXPECT_EQ(setup::lineBelow(Field::txtAM), Field::txtPM);
    EXPECT_EQ(setup::lineBelow(Field::Text4), Field::txtRHT);
    EXPECT_EQ(setup::lineAbove(Field::Text5), Field::txtRHT);
    EXPECT_EQ(setup::lineAbove(Field::Text4), Field::txtHrC);
    EXPECT_EQ(setup::lineAbove(Field::CmdOkay), Field::Text5);
    EXPECT_EQ(setup::lineAbove(Field::CmdReset), Field::Text5);
    EXPECT_FALSE(setup::lineAbove(Field::Text1));
}
