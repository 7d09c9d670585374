#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

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
// Two-digit years: 00-49 are 2000-2049 and 50-99 are 1950-1999. The book's
// calendar covers 1997-2038, so every year it offers has exactly one
// two-digit spelling under this rule ("99" is 1999, "00" and "38" are 2000
// and 2038), and a receptionist typing a recent or coming year gets the one
// meant. The rule is fixed rather than sliding with today's date so that the
// same text always means the same day.
std::optional<QDate> parseDateInput(const QString &text);

// Year for a two-digit year 0..99 by the rule above.
int expandTwoDigitYear(int twoDigits);

// Date caption: the system's short date format.
QString shortDate(QDate date);
// Weekday caption: the full weekday name ("dddd"), e.g. "Tuesday".
QString weekdayName(QDate date);
// Month selector entries: the twelve long month names, January first.
QStringList monthNames();

} // namespace book
