#include "ui/core/money.h"

#include <QRegularExpression>

namespace ui {

namespace {

// Far beyond any fee; keeps the sum of many amounts inside 64 bits.
constexpr std::int64_t MaxCents = Money::MaxCents;

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c.category() == QChar::Separator_Space; }

QString trimmedBlanks(const QString &text)
{
    qsizetype from = 0, to = text.size();
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    return text.mid(from, to - from);
}

// Strips one currency sign from the front or the back, with blanks next to it.
QString withoutCurrency(const QString &text, const QLocale &locale)
{
    QStringList signs{QStringLiteral("$")};
    const QString own = locale.currencySymbol(QLocale::CurrencySymbol);
    if (!own.isEmpty() && own != signs.front())
        signs << own;
    for (const QString &sign : signs) {
        if (text.startsWith(sign))
            return trimmedBlanks(text.mid(sign.size()));
        if (text.endsWith(sign))
            return trimmedBlanks(text.chopped(sign.size()));
    }
    return text;
}

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

std::optional<Money> Money::readTyped(const QString &typed, const QLocale &locale, bool credit)
{
    QString text = trimmedBlanks(typed);
    bool negative = false;
    const QString minus = locale.negativeSign();
    const auto takeMinus = [&] {
        for (const QString &sign : {QStringLiteral("-"), minus})
            if (!sign.isEmpty() && text.startsWith(sign)) {
                negative = true;
                text = trimmedBlanks(text.mid(sign.size()));
                return;
            }
    };
    takeMinus();                        // -$50
    text = withoutCurrency(text, locale);
    if (!negative)
        takeMinus();                    // $-50
    if (negative && !credit)
        return std::nullopt;

    // The locale's decimal point; the plain point too where it is no group separator.
    const QString point = locale.decimalPoint();
    QString group = locale.groupSeparator();
    const bool spaceGroup = group.size() == 1 && group[0].category() == QChar::Separator_Space;
    const auto isGroup = [&](qsizetype i) {
        return (!group.isEmpty() && text.mid(i, group.size()) == group) ||
               (spaceGroup && text[i] == QLatin1Char(' '));
    };
    const auto isPoint = [&](qsizetype i) {
        return text.mid(i, point.size()) == point || (group != QLatin1String(".") && text[i] == QLatin1Char('.'));
    };

    std::int64_t whole = 0;
    int digits = 0, run = 0, groups = 0;
    qsizetype i = 0;
    const qsizetype n = text.size();
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            whole = whole * 10 + (c.unicode() - '0');
            if (whole > MaxCents / 100)
                return std::nullopt;
            ++digits;
            ++run;
        } else if (isPoint(i)) {
            break;
        } else if (isGroup(i)) {
            // Groups of three after a first group of one to three digits.
            if (run == 0 || (groups == 0 ? run > 3 : run != 3))
                return std::nullopt;
            ++groups;
            run = 0;
            i += (spaceGroup && c == QLatin1Char(' ')) ? 0 : group.size() - 1;
        } else {
            return std::nullopt;
        }
    }
    if (groups > 0 && run != 3)
        return std::nullopt;
    int fraction = 0, decimals = 0;
    if (i < n) {
        i += text.mid(i, point.size()) == point ? point.size() : 1;
        for (; i < n; ++i) {
            const QChar c = text[i];
            if (c < QLatin1Char('0') || c > QLatin1Char('9') || ++decimals > 2)
                return std::nullopt;
            fraction = fraction * 10 + (c.unicode() - '0');
        }
        if (decimals == 0 && digits == 0)
            return std::nullopt;
    }
    if (digits + decimals == 0)
        return std::nullopt;
    for (int d = decimals; d < 2; ++d)
        fraction *= 10;
    const std::int64_t cents = whole * 100 + fraction;
    if (cents > MaxCents)
        return std::nullopt;
    return Money(negative ? -cents : cents);
}

QString Money::typedText(const QString &text, Money m)
{
    static const QRegularExpression plain(QStringLiteral("^-?([0-9]+(\\.[0-9]{0,2})?|\\.[0-9]{1,2})$"));
    return plain.match(text).hasMatch() ? text : m.text();
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
