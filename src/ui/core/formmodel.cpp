#include "ui/core/formmodel.h"

#include <QVariant>

namespace ui {

namespace {

constexpr QChar Backspace = QChar(8);

QString moveKey(const QString &from, Move key)
{
    return from + QLatin1Char('\n') + QString::number(static_cast<int>(key));
}

} // namespace

FormModel::FormModel(std::vector<Control> controls)
{
    for (Control &c : controls)
        add(std::move(c));
}

void FormModel::add(Control c)
{
    m_texts.insert(c.name, QString());
    m_controls.push_back(std::move(c));
}

void FormModel::setMove(const QString &from, Move key, const QString &to)
{
    m_moves.insert(moveKey(from, key), to);
}

const FormModel::Control *FormModel::control(const QString &name) const
{
    for (const Control &c : m_controls)
        if (c.name == name)
            return &c;
    return nullptr;
}

QStringList FormModel::textControls() const
{
    QStringList out;
    for (const Control &c : m_controls)
        if (c.text)
            out << c.name;
    return out;
}

const FormModel::Control *FormModel::boundTo(const QString &field) const
{
    for (const Control &c : m_controls)
        if (!c.field.isEmpty() && c.field.compare(field, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

std::optional<QChar> FormModel::typed(const QString &name, QChar ch) const
{
    const Control *c = control(name);
    if (!c || ch == Backspace)
        return ch;
    const QChar out = c->letters == Case::Upper ? ch.toUpper() : ch;
    if (c->accepts && !c->accepts(out))
        return std::nullopt;
    return out;
}

QString FormModel::clean(const QString &name, const QString &text) const
{
    const Control *c = control(name);
    if (!c)
        return text;
    QString out;
    out.reserve(text.size());
    for (QChar ch : text)
        if (ch != Backspace)
            if (const auto kept = typed(name, ch))
                out += *kept;
    if (c->maxLength > 0 && out.size() > c->maxLength)
        out.truncate(c->maxLength);
    return out;
}

LeaveResult FormModel::leaveRule(const QString &name, const QString &text) const
{
    const Control *c = control(name);
    if (!c || !c->leave)
        return {LeaveResult::Ok, text};
    return c->leave(text);
}

std::optional<QString> FormModel::moveFrom(const QString &name, Move key) const
{
    const auto it = m_moves.constFind(moveKey(name, key));
    if (it == m_moves.constEnd())
        return std::nullopt;
    return it.value();
}

FormModel::EnterTarget FormModel::enterFrom(const QString &name) const
{
    const Control *c = control(name);
    if (c && c->enter == EnterKey::Press)
        return {EnterTarget::Press, {}};
    if (c && c->enter == EnterKey::NextIfFilled && text(name).isEmpty())
        return {EnterTarget::Stay, {}};
    if (const auto to = moveFrom(name, Move::Enter))
        return {EnterTarget::To, *to};
    if (c && c->enter == EnterKey::NextIfFilled)
        return {EnterTarget::Stay, {}};   // the last box of its chain
    return {EnterTarget::TabOrder, {}};
}

QString FormModel::setText(const QString &name, const QString &text)
{
    if (!has(name))
        return text;
    const QString kept = clean(name, text);
    m_texts.insert(name, kept);
    return kept;
}

void FormModel::assign(const QString &name, const QString &text)
{
    if (has(name))
        m_texts.insert(name, text);
}

LeaveResult FormModel::leave(const QString &name)
{
    const LeaveResult r = leaveRule(name, text(name));
    if (has(name))
        m_texts.insert(name, r.text);
    return r;
}

QString FormModel::asText(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

void FormModel::load(const QVariantMap &fieldValues)
{
    for (const Control &c : m_controls) {
        if (c.field.isEmpty())
            continue;
        QString value;
        for (auto it = fieldValues.begin(); it != fieldValues.end(); ++it)
            if (it.key().compare(c.field, Qt::CaseInsensitive) == 0) {
                value = asText(it.value());
                break;
            }
        m_texts.insert(c.name, value);
        m_loaded.insert(c.name, value);
    }
}

void FormModel::clear()
{
    for (const Control &c : m_controls) {
        m_texts.insert(c.name, QString());
        if (!c.field.isEmpty())
            m_loaded.insert(c.name, QString());
    }
}

QString FormModel::stored(const QString &name) const
{
    const Control *c = control(name);
    const QString t = text(name);
    if (c && !c->blankStoredAs.isNull() && t.isEmpty())
        return c->blankStoredAs;
    return t;
}

QStringList FormModel::changed() const
{
    QStringList out;
    for (const Control &c : m_controls)
        if (!c.field.isEmpty() && text(c.name) != m_loaded.value(c.name)
            && stored(c.name) != m_loaded.value(c.name))
            out << c.name;
    return out;
}

bool FormModel::isBlank() const
{
    for (const Control &c : m_controls)
        if (!c.field.isEmpty() && !stored(c.name).trimmed().isEmpty())
            return false;
    return true;
}

} // namespace ui
