#include "ui/core/money.h"

namespace ui {

namespace {

// Far beyond any fee; keeps the sum of many amounts inside 64 bits.
constexpr std::int64_t MaxCents = 99'999'999'999'999;

struct Reading {
    std::int64_t cents = 0;
    qsizetype end = 0;     // index after the number
    bool digits = false;   // at least one digit was read
};

Reading readNumber(const QString &text)
{
    Reading r;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    std::int64_t whole = 0;
    bool saturated = false;
    for (; i < n && text[i].isDigit() && text[i].unicode() < 128; ++i) {
        r.digits = true;
        whole = whole * 10 + (text[i].unicode() - '0');
        if (whole > MaxCents / 100) {
            whole = MaxCents / 100;
            saturated = true;
        }
    }
    int fraction = 0;      // the first two decimals, in cents
    int decimals = 0;
    bool roundUp = false;
    if (i < n && text[i] == QLatin1Char('.')) {
        for (++i; i < n && text[i].isDigit() && text[i].unicode() < 128; ++i) {
            r.digits = true;
            const int d = text[i].unicode() - '0';
            if (decimals < 2)
                fraction = fraction * 10 + d;
            else if (decimals == 2)
                roundUp = d >= 5;   // the third decimal alone decides a half
            ++decimals;
        }
    }
    for (; decimals < 2; ++decimals)
        fraction *= 10;
    std::int64_t cents = saturated ? MaxCents : whole * 100 + fraction + (roundUp ? 1 : 0);
    if (cents > MaxCents)
        cents = MaxCents;
    r.cents = negative ? -cents : cents;
    r.end = i;
    return r;
}

} // namespace

Money Money::read(const QString &text)
{
    const Reading r = readNumber(text);
    return Money(r.digits ? r.cents : 0);
}

std::optional<Money> Money::readExactly(const QString &text)
{
    const Reading r = readNumber(text);
    if (!r.digits || !text.mid(r.end).trimmed().isEmpty())
        return std::nullopt;
    return Money(r.cents);
}

QString Money::text() const
{
    const std::int64_t a = m_cents < 0 ? -m_cents : m_cents;
    QString s = QStringLiteral("%1.%2").arg(a / 100, 2, 10, QLatin1Char('0')).arg(a % 100, 2, 10, QLatin1Char('0'));
    return m_cents < 0 ? QLatin1Char('-') + s : s;
}

bool isSettledBalance(const QString &balance)
{
    const auto m = Money::readExactly(balance);
    return m && m->isZero();
}

} // namespace ui
