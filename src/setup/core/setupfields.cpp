#include "setup/core/setupfields.h"

#include <array>
#include <limits>

namespace setup {

namespace {

// What a control takes when typed into.
enum class Takes { Any, Digits, AmPm };

// Each control in the order of Field: its name, the settings field it is
// bound to (the times are split over three boxes each, bound to none), what
// it takes and its longest text. Hours, minutes and AM/PM are two
// characters wide: the stored time is read back by position.
struct Control {
    const char *name;
    const char *field = "";
    Takes takes = Takes::Any;
    int width = 0;
};
constexpr std::array<Control, 13> Controls = {{
    {"Text1", "location"},
    {"txtHrO", "", Takes::Digits, 2},
    {"txtMinO", "", Takes::Digits, 2},
    {"txtAM", "", Takes::AmPm, 2},
    {"txtHrC", "", Takes::Digits, 2},
    {"txtMinC", "", Takes::Digits, 2},
    {"txtPM", "", Takes::AmPm, 2},
    {"Text4", "timeslot", Takes::Digits},
    {"txtRHT", "RHeight", Takes::Digits},
    {"Text5", "Listno", Takes::Digits},
    {"Grid1"},
    {"CmdOkay"},
    {"CmdReset"},
}};

const Control &controlOf(Field f) { return Controls[static_cast<size_t>(f)]; }

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

QString fieldName(Field f) { return QString::fromLatin1(controlOf(f).name); }

std::optional<Field> fieldByName(const QString &name)
{
    for (size_t i = 0; i < Controls.size(); ++i)
        if (name == QLatin1String(Controls[i].name))
            return static_cast<Field>(i);
    return std::nullopt;
}

std::optional<QChar> typedChar(Field f, QChar ch)
{
    return form().typed(fieldName(f), ch);
}

QString cleanText(Field f, const QString &text)
{
    return form().clean(fieldName(f), text);
}

int maxLength(Field f)
{
    const auto *c = form().control(fieldName(f));
    return c ? c->maxLength : 0;
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

// The leave rules of the text fields, as the form model applies them.
static LeaveResult leaveOf(Field f, const QString &text)
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

LeaveResult leaveRule(Field f, const QString &text)
{
    return form().leaveRule(fieldName(f), text);
}

namespace {

std::optional<Field> movedTo(Field f, ui::Move key)
{
    if (const auto to = form().moveFrom(fieldName(f), key))
        return fieldByName(*to);
    return std::nullopt;
}

ui::FormModel makeForm()
{
    ui::FormModel m;
    for (int i = 0; i < TextFieldCount; ++i) {
        const Field f = fieldAt(i);
        const Control &x = controlOf(f);
        ui::FormModel::Control c{.name = fieldName(f), .field = QString::fromLatin1(x.field)};
        if (x.takes == Takes::Digits)
            c.accepts = ui::accepts::digits;
        if (x.takes == Takes::AmPm)
            c.letters = ui::FormModel::Case::Upper;
        c.maxLength = x.width;
        c.leave = [f](const QString &text) { return leaveOf(f, text); };
        c.enter = ui::FormModel::EnterKey::NextIfFilled;
        m.add(std::move(c));
    }
    for (Field b : {Field::CmdOkay, Field::CmdReset})
        m.add({.name = fieldName(b), .enter = ui::FormModel::EnterKey::Press, .text = false});

    // Enter walks the text fields in order; Text5 leads to the names grid.
    for (int i = 0; i < TextFieldCount; ++i)
        m.setMove(fieldName(fieldAt(i)), ui::Move::Enter, fieldName(fieldAt(i + 1)));
    const std::pair<Field, Field> down[] = {
        {Field::Text1, Field::txtHrO},   {Field::txtHrO, Field::txtHrC}, {Field::txtMinO, Field::txtMinC},
        {Field::txtAM, Field::txtPM},    {Field::txtHrC, Field::Text4},  {Field::txtMinC, Field::Text4},
        {Field::txtPM, Field::Text4},    {Field::Text4, Field::txtRHT},  {Field::txtRHT, Field::Text5},
        {Field::Text5, Field::Grid1}};
    for (const auto &[from, to] : down)
        m.setMove(fieldName(from), ui::Move::Down, fieldName(to));
    const std::pair<Field, Field> up[] = {
        {Field::txtHrO, Field::Text1},   {Field::txtMinO, Field::Text1},  {Field::txtAM, Field::Text1},
        {Field::txtHrC, Field::txtHrO},  {Field::txtMinC, Field::txtMinO}, {Field::txtPM, Field::txtAM},
        {Field::Text4, Field::txtHrC},   {Field::txtRHT, Field::Text4},   {Field::Text5, Field::txtRHT},
        {Field::CmdOkay, Field::Text5},  {Field::CmdReset, Field::Text5}};
    for (const auto &[from, to] : up)
        m.setMove(fieldName(from), ui::Move::Up, fieldName(to));
    return m;
}

} // namespace

const ui::FormModel &form()
{
    static const ui::FormModel m = makeForm();
    return m;
}

std::optional<Field> nextField(Field f)
{
    if (!isTextField(f))
        return std::nullopt;
    return movedTo(f, ui::Move::Enter);
}

std::optional<Field> lineAbove(Field f)
{
    // The names grid keeps its arrow keys; the line above it is Text5.
    if (f == Field::Grid1)
        return Field::Text5;
    return movedTo(f, ui::Move::Up);
}

std::optional<Field> lineBelow(Field f)
{
    return movedTo(f, ui::Move::Down);
}

} // namespace setup
