#include "setup/core/setupfields.h"

#include <array>
#include <limits>

namespace setup {

namespace {

constexpr std::array<const char *, 13> Names = {
    "Text1", "txtHrO", "txtMinO", "txtAM", "txtHrC", "txtMinC", "txtPM",
    "Text4", "txtRHT", "Text5", "Grid1", "CmdOkay", "CmdReset",
};

constexpr QChar Backspace = QChar(8);

bool digitsOnly(Field f)
{
    switch (f) {
    case Field::txtHrO:
    case Field::txtHrC:
    case Field::txtMinO:
    case Field::txtMinC:
    case Field::Text4:
    case Field::txtRHT:
    case Field::Text5:
        return true;
    default:
        return false;
    }
}

bool isAmPm(Field f) { return f == Field::txtAM || f == Field::txtPM; }

// Two digits: a single digit gets a "0" in front. The stored time is read
// back by character position, so an empty field becomes "00", not "0".
QString twoDigits(const QString &text)
{
    QString s = text;
    while (s.size() < 2)
        s.prepend(QLatin1Char('0'));
    return s;
}

LeaveResult stay(const QString &text) { return {LeaveResult::Stay, text}; }
LeaveResult ok(const QString &text) { return {LeaveResult::Ok, text}; }

LeaveResult clamped(const QString &text, int low, int high)
{
    const int v = digitsValue(text);
    if (v < low)
        return ok(QString::number(low));
    if (v > high)
        return ok(QString::number(high));
    return ok(text);
}

} // namespace

QString fieldName(Field f) { return QString::fromLatin1(Names[static_cast<size_t>(f)]); }

std::optional<Field> fieldByName(const QString &name)
{
    for (size_t i = 0; i < Names.size(); ++i)
        if (name == QLatin1String(Names[i]))
            return static_cast<Field>(i);
    return std::nullopt;
}

std::optional<QChar> typedChar(Field f, QChar ch)
{
    if (ch == Backspace)
        return ch;
    if (digitsOnly(f))
        return ch >= QLatin1Char('0') && ch <= QLatin1Char('9') ? std::optional<QChar>(ch)
                                                                : std::nullopt;
    if (isAmPm(f))
        return ch.toUpper();
    return ch;
}

QString cleanText(Field f, const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar ch : text)
        if (ch != Backspace)
            if (const auto c = typedChar(f, ch))
                out += *c;
    return out;
}

int maxLength(Field f)
{
    switch (f) {
    case Field::txtHrO:
    case Field::txtHrC:
    case Field::txtMinO:
    case Field::txtMinC:
    case Field::txtAM:
    case Field::txtPM:
        return 2;
    default:
        return 0;
    }
}

int digitsValue(const QString &text)
{
    constexpr int Cap = std::numeric_limits<int>::max() / 10 - 10;
    int v = 0;
    for (QChar ch : text) {
        if (!ch.isDigit())
            continue;
        v = v * 10 + ch.digitValue();
        if (v > Cap)
            return Cap;
    }
    return v;
}

LeaveResult leaveRule(Field f, const QString &text)
{
    switch (f) {
    case Field::txtHrO:
    case Field::txtHrC: {
        const QString s = twoDigits(text);
        // Hour 0 is no hour of the 12-hour clock: such a time would not
        // read back, so it is refused like 13.
        const int v = digitsValue(s);
        return s.size() > 2 || v < 1 || v > 12 ? stay(s) : ok(s);
    }
    case Field::txtMinO:
    case Field::txtMinC: {
        const QString s = twoDigits(text);
        // 60 would make an unreadable time ("08:60 AM").
        return s.size() > 2 || digitsValue(s) > 59 ? stay(s) : ok(s);
    }
    case Field::txtAM:
    case Field::txtPM: {
        const QString s = text.toUpper();
        if (s == QLatin1String("AM") || s == QLatin1String("PM"))
            return ok(s);
        return ok(f == Field::txtAM ? QStringLiteral("AM") : QStringLiteral("PM"));
    }
    case Field::Text4: {
        const int v = digitsValue(text);
        return v < 10 || v > 240 ? stay(text) : ok(text);
    }
    case Field::txtRHT:
        return clamped(text, 1, 6);
    case Field::Text5:
        return clamped(text, 1, 20);
    default:
        return ok(text);
    }
}

std::optional<Field> nextField(Field f)
{
    if (!isTextField(f))
        return std::nullopt;
    return fieldAt(fieldIndex(f) + 1);   // Text5 leads to the names grid
}

std::optional<Field> lineAbove(Field f)
{
    switch (f) {
    case Field::txtHrO:
    case Field::txtMinO:
    case Field::txtAM: return Field::Text1;
    case Field::txtHrC: return Field::txtHrO;
    case Field::txtMinC: return Field::txtMinO;
    case Field::txtPM: return Field::txtAM;
    case Field::Text4: return Field::txtHrC;
    case Field::txtRHT: return Field::Text4;
    case Field::Text5: return Field::txtRHT;
    case Field::Grid1:
    case Field::CmdOkay:
    case Field::CmdReset: return Field::Text5;
    default: return std::nullopt;
    }
}

std::optional<Field> lineBelow(Field f)
{
    switch (f) {
    case Field::Text1: return Field::txtHrO;
    case Field::txtHrO: return Field::txtHrC;
    case Field::txtMinO: return Field::txtMinC;
    case Field::txtAM: return Field::txtPM;
    case Field::txtHrC:
    case Field::txtMinC:
    case Field::txtPM: return Field::Text4;
    case Field::Text4: return Field::txtRHT;
    case Field::txtRHT: return Field::Text5;
    case Field::Text5: return Field::Grid1;
    default: return std::nullopt;
    }
}

} // namespace setup
