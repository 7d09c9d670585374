#pragma once

#include <QString>

namespace report {

// Amounts are stored as text. Their value is the leading number of the text;
// an empty or non-numeric text counts as 0.
double amountValue(const QString &text);

// The amount format "####00.00": two decimals, at least two integer digits,
// no thousands separator, a leading minus for negative values. A value
// beyond the largest amount (ui::Money::MaxCents) is formatted as that limit.
QString formatAmount(double value);

} // namespace report
