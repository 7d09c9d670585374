#include "ui/core/dateinput.h"

#include "ui/core/prompter.h"

#include <QLocale>
#include <QRegularExpression>

namespace book {

namespace {

enum class FieldOrder { MonthDayYear, DayMonthYear, YearMonthDay };

// The order of day, month and year in the system's short date format when
// that format is all numbers; a format spelling the month as a name says
// nothing about typed numbers, which are then read month first.
FieldOrder shortFormatOrder()
{
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (format.contains(QLatin1String("MMM")))
        return FieldOrder::MonthDayYear;
    const qsizetype d = format.indexOf(QLatin1Char('d'));
    const qsizetype m = format.indexOf(QLatin1Char('M'));
    const qsizetype y = format.indexOf(QLatin1Char('y'));
    if (y >= 0 && (d < 0 || y < d) && (m < 0 || y < m))
        return FieldOrder::YearMonthDay;
    if (d >= 0 && m >= 0 && d < m)
        return FieldOrder::DayMonthYear;
    return FieldOrder::MonthDayYear;
}

// Year text of two or four digits; 0 when it is neither.
int yearFrom(const QString &text)
{
    if (text.size() == 2)
        return expandTwoDigitYear(text.toInt());
    if (text.size() == 4)
        return text.toInt();
    return 0;
}

std::optional<QDate> dateFrom(const QString &yearText, const QString &monthText,
                              const QString &dayText)
{
    if (monthText.size() > 2 || dayText.size() > 2)
        return std::nullopt;
    const int year = yearFrom(yearText);
    if (year <= 0)
        return std::nullopt;
    // QDate refuses 30 February and month 13 by itself.
    const QDate date(year, monthText.toInt(), dayText.toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QDate> numericDate(const QString &a, const QString &b, const QString &c)
{
    if (a.size() == 4)
        return dateFrom(a, b, c);
    const FieldOrder order = shortFormatOrder();
    if (order == FieldOrder::DayMonthYear) {
        if (auto date = dateFrom(c, b, a))
            return date;
    } else if (order == FieldOrder::YearMonthDay) {
        if (auto date = dateFrom(a, b, c))
            return date;
    }
    return dateFrom(c, a, b);
}

// The system's short date format, for settings that are not three plain
// numbers. Qt reads "yy" as 19yy; the book's own two-digit rule applies.
std::optional<QDate> localeDate(const QString &text)
{
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    QDate date = QLocale().toDate(text, format);
    if (!date.isValid())
        return std::nullopt;
    if (!format.contains(QLatin1String("yyyy")) && format.contains(QLatin1String("yy")))
        date = QDate(expandTwoDigitYear(date.year() % 100), date.month(), date.day());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

} // namespace

int expandTwoDigitYear(int twoDigits, int currentYear)
{
    const int last = lastBookYear(currentYear);
    const int year = last - ((last - twoDigits) % 100 + 100) % 100;
    return year;
}

int expandTwoDigitYear(int twoDigits)
{
    return expandTwoDigitYear(twoDigits, QDate::currentDate().year());
}

std::optional<QDate> parseDateInput(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;

    static const QRegularExpression numeric(
        QStringLiteral("^([0-9]{1,4})\\s*([/.\\-])\\s*([0-9]{1,4})\\s*\\2\\s*([0-9]{1,4})$"));
    const QRegularExpressionMatch match = numeric.match(trimmed);
    if (match.hasMatch())
        return numericDate(match.captured(1), match.captured(3), match.captured(4));
    return localeDate(trimmed);
}

QString shortDate(QDate date)
{
    return QLocale().toString(date, QLocale::ShortFormat);
}

QString weekdayName(QDate date)
{
    return QLocale().toString(date, QStringLiteral("dddd"));
}

QStringList monthNames()
{
    QStringList names;
    const QLocale locale;
    for (int month = 1; month <= 12; ++month)
        names << locale.monthName(month, QLocale::LongFormat);
    return names;
}

std::optional<QDate> askDate(ui::Prompter &prompter, const DateQuestion &q)
{
    const auto answer = prompter.input(q.prompt, q.title, q.initial);
    if (!answer || answer->trimmed().isEmpty())
        return std::nullopt;
    const auto date = parseDateInput(answer->trimmed());
    if (!date)
        prompter.message(q.wrong, q.wrongTitle);
    return date.value_or(QDate());
}

} // namespace book
