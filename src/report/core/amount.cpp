#include "report/core/amount.h"

#include <cmath>

namespace report {

double amountValue(const QString &text)
{
    // Reads as far as the text looks like a number, as the data entry
    // windows do: "12.50 paid" is 12.5, "abc" is 0.
    int i = 0;
    const int n = text.size();
    while (i < n && text.at(i).isSpace())
        ++i;
    const int start = i;
    if (i < n && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        ++i;
    bool digits = false;
    while (i < n && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9')) {
        ++i;
        digits = true;
    }
    if (i < n && text.at(i) == QLatin1Char('.')) {
        ++i;
        while (i < n && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9')) {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    bool ok = false;
    const double v = text.mid(start, i - start).toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

QString formatAmount(double value)
{
    if (!std::isfinite(value))
        value = 0.0;
    const double cents = std::round(std::fabs(value) * 100.0);
    // Near the top of the double range the cents overflow; such an amount
    // has no fraction left to round.
    QString digits = QString::number(std::isfinite(cents) ? cents / 100.0 : std::fabs(value), 'f', 2);
    while (digits.indexOf(QLatin1Char('.')) < 2)
        digits.prepend(QLatin1Char('0'));
    return value < 0 && cents > 0 ? QLatin1Char('-') + digits : digits;
}

} // namespace report
