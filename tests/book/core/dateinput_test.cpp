#include "ui/core/dateinput.h"

#include "book/core/calendar.h"

#include <QLocale>
#include <gtest/gtest.h>

using book::parseDateInput;

namespace {

// Runs a test body under another default locale and puts the old one back.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale &locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved;
};

} // namespace

TEST(DateInput, AcceptsTheUsualForms)
{
    const struct {
        const char *text;
        QDate date;
    } cases[] = {
        {"11/11/99", QDate(1999, 11, 11)},  {"1-1-00", QDate(2000, 1, 1)},
        {"02/03/01", QDate(2001, 2, 3)},    {"2/3/2001", QDate(2001, 2, 3)},
        {"12.31.1998", QDate(1998, 12, 31)}, {" 10 / 10 / 98 ", QDate(1998, 10, 10)},
        {"02/29/00", QDate(2000, 2, 29)},   {"2001-12-31", QDate(2001, 12, 31)},
    };
    for (const auto &c : cases) {
        const auto date = parseDateInput(c.text);
        ASSERT_TRUE(date.has_value()) << c.text;
        EXPECT_EQ(*date, c.date) << c.text;
    }
}

TEST(DateInput, RejectsImpossibleDatesAndText)
{
    for (const char *text : {"", "   ", "02/30/01", "13/01/01", "00/10/98", "02/29/01", "today",
                             "1/1", "1/1/1", "1/1/199", "1/2-03", "123/1/01", "1/1/01x"})
        EXPECT_FALSE(parseDateInput(text).has_value()) << text;
}

TEST(DateInput, TwoDigitYearsCoverTheCalendarRange)
{
    // The hundred years ending with the calendar's last year.
    EXPECT_EQ(book::expandTwoDigitYear(97, 2026), 1997);
    EXPECT_EQ(book::expandTwoDigitYear(57, 2026), 1957);
    EXPECT_EQ(book::expandTwoDigitYear(56, 2026), 2056);
    EXPECT_EQ(book::expandTwoDigitYear(0, 2026), 2000);
    EXPECT_EQ(book::expandTwoDigitYear(38, 2026), 2038);
    EXPECT_EQ(parseDateInput("1/1/38"), QDate(2038, 1, 1));
    EXPECT_EQ(parseDateInput("1/1/97"), QDate(1997, 1, 1));
    // Every year the year selector offers has its own two-digit spelling.
    for (const QString &entry : book::CalendarModel::yearEntries()) {
        const int year = entry.toInt();
        EXPECT_EQ(parseDateInput(QStringLiteral("6/15/%1").arg(year % 100, 2, 10, QLatin1Char('0'))),
                  QDate(year, 6, 15))
            << year;
    }
}

TEST(DateInput, DayFirstSettingsReadDayFirst)
{
    const LocaleScope scope(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(parseDateInput("01.02.03"), QDate(2003, 2, 1));
    EXPECT_EQ(parseDateInput("31.12.1998"), QDate(1998, 12, 31));
    // Impossible day first, but a valid month-first date: the prompt's own form.
    EXPECT_EQ(parseDateInput("12/31/98"), QDate(1998, 12, 31));
    EXPECT_FALSE(parseDateInput("31.13.98").has_value());
}

TEST(DateInput, CaptionsUseTheSystemFormats)
{
    EXPECT_EQ(book::shortDate(QDate(1998, 10, 10)), "10/10/98");
    EXPECT_EQ(book::weekdayName(QDate(1998, 10, 13)), "Tuesday");
    const QStringList months = book::monthNames();
    ASSERT_EQ(months.size(), 12);
    EXPECT_EQ(months.front(), "January");
    EXPECT_EQ(months.back(), "December");
}

namespace {

struct NumericOrder {
    QLocale locale;
    const char *text;
    QDate date;
};

class DateInputOrder : public ::testing::TestWithParam<NumericOrder> {};

} // namespace

// Day and month come in the order of the station's numeric short date; a
// short date spelled with a month name gives the prompts' month-first order.
TEST_P(DateInputOrder, FollowsTheNumericShortDate)
{
    const LocaleScope scope(GetParam().locale);
    EXPECT_EQ(parseDateInput(GetParam().text), GetParam().date) << GetParam().locale.name().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    DateInput, DateInputOrder,
    ::testing::Values(NumericOrder{QLocale::c(), "3/4/27", QDate(2027, 3, 4)},
                      NumericOrder{QLocale(QLocale::English, QLocale::UnitedStates), "3/4/27", QDate(2027, 3, 4)},
                      NumericOrder{QLocale(QLocale::English, QLocale::UnitedKingdom), "3/4/27", QDate(2027, 4, 3)},
                      NumericOrder{QLocale(QLocale::Japanese, QLocale::Japan), "27/3/4", QDate(2027, 3, 4)}));
