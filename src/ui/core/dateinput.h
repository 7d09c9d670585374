#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace ui {
class Prompter;
}

namespace book {

// Reads a date typed into a date prompt ("Search Date" and the like).
//
// Accepted: three numbers separated by "/", "-" or "." (the same separator
// twice, blanks around it allowed): day and month of one or two digits, the
// year of two or four digits, as in 11/11/99, 1-1-00, 12.31.2001. The order
// of day and month is that of the system's short date format (month first
// for US settings, day first for UK or German ones; month first when that
// format names the month in words, as the C locale's does); where that order gives
// no valid date the month-first form mm/dd/yy is tried, so the form the
// prompt shows always works. A four-digit first number is read as year,
// month, day (2001-12-31). Anything else is tried against the system's short
// date format itself. Impossible dates (02/30/01, 13/01/01) and text are
// rejected with nullopt.
//
// Two-digit years name the year ending in those digits within the hundred
// years that end with the last year the book's calendar offers (this year +
// 30). In 2026 that is 1957-2056: "99" is 1999, "00" 2000, "56" 2056. Every
// year the calendar offers thus has exactly one two-digit spelling, and the
// window moves on with the calendar, so a book kept for decades never runs
// into years that cannot be typed short.
std::optional<QDate> parseDateInput(const QString &text);

// A date asked for in an input box (`initial` in the box). A text that is
// no date is told with `wrong` under `wrongTitle`.
struct DateQuestion {
    QString prompt;
    QString title;
    QString initial;
    QString wrong;
    QString wrongTitle;
};
// The date typed: nullopt when the user cancels or leaves the box blank, an
// invalid date (once the user is told) when the text is no date.
std::optional<QDate> askDate(ui::Prompter &prompter, const DateQuestion &q);

// The last year the calendar offers, seen in `currentYear`.
constexpr int lastBookYear(int currentYear) { return currentYear + 30; }

// Year for a two-digit year 0..99 by the rule above.
int expandTwoDigitYear(int twoDigits, int currentYear);
int expandTwoDigitYear(int twoDigits);

// Date caption: the system's short date format.
QString shortDate(QDate date);
// Weekday caption: the full weekday name ("dddd"), e.g. "Tuesday".
QString weekdayName(QDate date);
// Month selector entries: the twelve long month names, January first.
QStringList monthNames();

} // namespace book
