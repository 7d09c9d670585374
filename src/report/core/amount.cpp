#include "report/core/amount.h"

#include "ui/core/money.h"

#include <algorithm>
#include <cmath>

namespace report {

// Both go through the program's one money type, so a report shows an
// amount exactly as the invoice window computed and stored it.
double amountValue(const QString &text)
{
    return double(ui::Money::read(text).cents()) / 100.0;
}

QString formatAmount(double value)
{
    if (!std::isfinite(value))
        value = 0.0;
    // The limit every amount is read with: what is formatted reads back.
    constexpr double Limit = double(ui::Money::MaxCents);
    const double cents = std::clamp(std::round(value * 100.0), -Limit, Limit);
    return ui::Money::fromCents(static_cast<std::int64_t>(cents)).text();
}

} // namespace report
