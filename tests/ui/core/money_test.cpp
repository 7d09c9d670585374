#include "ui/core/money.h"

#include <gtest/gtest.h>

using ui::Money;

struct Reading {
    const char *text;
    std::int64_t cents;
    const char *shown;
};

class MoneyReading : public testing::TestWithParam<Reading> {};

TEST_P(MoneyReading, ReadsTheLeadingNumberAndShowsItInTheAmountFormat)
{
    const Reading &c = GetParam();
    const Money m = Money::read(QString::fromUtf8(c.text));
    EXPECT_EQ(m.cents(), c.cents) << c.text;
    EXPECT_EQ(m.text(), QString::fromUtf8(c.shown)) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Amounts, MoneyReading,
                         testing::Values(Reading{"5", 500, "05.00"}, Reading{"0", 0, "00.00"},
                                         Reading{"1234.5", 123450, "1234.50"}, Reading{"-20", -2000, "-20.00"},
                                         Reading{"0.005", 1, "00.01"}, Reading{"0.0049", 0, "00.00"},
                                         Reading{"-0.005", -1, "-00.01"}, Reading{"-0.004", 0, "00.00"},
                                         Reading{"  50.5 dollars", 5050, "50.50"}, Reading{".75", 75, "00.75"},
                                         Reading{"12abc", 1200, "12.00"}, Reading{"abc", 0, "00.00"},
                                         Reading{"", 0, "00.00"}, Reading{"$5", 0, "00.00"},
                                         Reading{"1,234.00", 100, "01.00"},
                                         Reading{"99999999999999999999", 99'999'999'999'999, "999999999999.99"}));

TEST(Money, SumsAndBalancesAreExactInCents)
{
    // 0.1 + 0.2 is no problem in cents.
    EXPECT_EQ((Money::read("0.1") + Money::read("0.2")).text(), "00.30");
    const Money subtotal = Money::read("100") + Money::read("50.5");
    EXPECT_EQ((subtotal - Money::read("10") - Money::read("")).text(), "140.50");
    EXPECT_EQ((subtotal - Money::read("10") - Money::read("140.5")).text(), "00.00");
}

TEST(Money, OnlyAZeroInSomeSpellingSettlesABalance)
{
    for (const char *settled : {"0", "0.00", "00.00", "-00.00", " 0 ", ".0"})
        EXPECT_TRUE(ui::isSettledBalance(QString::fromLatin1(settled))) << settled;
    for (const char *open : {"", " ", "0.01", "-5", "abc", "0 due", "."})
        EXPECT_FALSE(ui::isSettledBalance(QString::fromLatin1(open))) << open;
}

TEST(Money, ATypedSumIsReadStrictlyInTheWorkstationsLocale)
{
    const QLocale us(QLocale::English, QLocale::UnitedStates), de(QLocale::German, QLocale::Germany);
    struct Case {
        const char *text;
        const QLocale &locale;
        bool credit;
        std::optional<std::int64_t> cents;
    };
    const Case cases[] = {
        {"1,000.50", us, false, 100050},   {"$50", us, false, 5000},         {" 50 $ ", us, false, 5000},
        {"1.234,5", de, false, 123450},    {"12,50 \u20ac", de, false, 1250}, {"-$20", us, true, -2000},
        {"$-20", us, true, -2000},         {".5", us, false, 50},             {"999,999,999,999.99", us, false, Money::MaxCents},
        {"-20", us, false, std::nullopt},  {"1 000", us, false, std::nullopt}, {"1e9", us, false, std::nullopt},
        {"12abc", us, false, std::nullopt}, {"1,00", us, false, std::nullopt}, {"1,0000", us, false, std::nullopt},
        {"1.2.3", us, false, std::nullopt}, {"0.125", us, false, std::nullopt}, {"", us, false, std::nullopt},
        {"$", us, false, std::nullopt},    {".", us, false, std::nullopt},    {"1000000000000", us, false, std::nullopt},
        {"+5", us, false, std::nullopt},   {"5-", us, true, std::nullopt},
    };
    for (const Case &c : cases) {
        const auto m = Money::readTyped(QString::fromUtf8(c.text), c.locale, c.credit);
        EXPECT_EQ(m ? std::optional(m->cents()) : std::nullopt, c.cents) << c.text;
    }
    // Kept as typed only where every reader of stored amounts takes it alike.
    EXPECT_EQ(Money::typedText("140.5", Money::fromCents(14050)), "140.5");
    EXPECT_EQ(Money::typedText("$1,000.50", Money::fromCents(100050)), "1000.50");
    EXPECT_EQ(Money::typedText("12,50", Money::fromCents(1250)), "12.50");
}
