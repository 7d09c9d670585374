#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

namespace ui {

// An amount of money in whole cents. Amounts are stored as text, as typed or
// as written by the program ("####00.00"); every sum, discount and balance
// is computed here in integers so that it comes out as a bookkeeper's would.
class Money {
public:
    // The largest sum read or formatted, either sign: 999999999999.99. A
    // stored text beyond it reads as the limit; a typed one is refused.
    static constexpr std::int64_t MaxCents = 99'999'999'999'999;

    constexpr Money() = default;
    static constexpr Money fromCents(std::int64_t cents) { return Money(cents); }

    // The leading number of a stored or typed text: blanks before it, an
    // optional sign, digits with at most one decimal point; whatever follows
    // is ignored and a text without a leading number counts as 0. More than
    // two decimals round half away from zero (0.005 is 0.01).
    static Money read(const QString &text);
    // The text read whole, blanks around it allowed; nothing when anything
    // but the number stands in it or it holds no digit.
    static std::optional<Money> readExactly(const QString &text);
    // A sum of money as a user types it into an amount box: digits with at
    // most one decimal point and two decimals, thousands separators of the
    // locale between groups of three, a currency sign ("$" or the locale's)
    // before or after the number, blanks around it, and a leading minus
    // when `credit` allows one. Nothing when the text is anything else
    // (blank included) or beyond MaxCents.
    static std::optional<Money> readTyped(const QString &text, const QLocale &locale = QLocale(),
                                          bool credit = false);
    // What an amount box keeps of a sum readTyped accepted: the text as
    // typed when every reader of stored amounts reads it alike (digits, a
    // point, a minus), else the sum in the amount format.
    static QString typedText(const QString &text, Money m);

    constexpr std::int64_t cents() const { return m_cents; }
    constexpr bool isZero() const { return m_cents == 0; }

    // "####00.00": at least two integer digits, two decimals, no thousands
    // separator, a leading minus for a negative amount (5 → 05.00,
    // 1234.5 → 1234.50, -20 → -20.00).
    QString text() const;

    friend constexpr Money operator+(Money a, Money b) { return Money(a.m_cents + b.m_cents); }
    friend constexpr Money operator-(Money a, Money b) { return Money(a.m_cents - b.m_cents); }
    constexpr Money &operator+=(Money b) { m_cents += b.m_cents; return *this; }
    constexpr Money &operator-=(Money b) { m_cents -= b.m_cents; return *this; }
    friend constexpr bool operator==(Money, Money) = default;
    friend constexpr auto operator<=>(Money, Money) = default;

private:
    constexpr explicit Money(std::int64_t cents) : m_cents(cents) {}
    std::int64_t m_cents = 0;
};

// A stored balance that says the account is settled: a number equal to zero
// in any spelling ("0", "0.00", "-00.00"). A blank or unreadable balance is
// not settled.
bool isSettledBalance(const QString &balance);

} // namespace ui
