#include "accounts/core/invoiceboxes.h"

#include "accounts/core/accountfields.h"
#include "accounts/core/accountforms.h"
#include "store/core/database.h"

#include <QLocale>

namespace accounts {

namespace b = invoice::box;

std::optional<ui::Money> InvoiceBoxes::amount(const QString &box) const
{
    const QString text = m_model.text(box);
    if (text == m_model.loaded(box) || text.trimmed().isEmpty() || !takesAmount(box))
        return ui::Money::read(text);
    return ui::Money::readTyped(text, QLocale(), takesCredit(box));
}

std::optional<InvoiceBoxes::Totals> InvoiceBoxes::totals() const
{
    ui::Money subtotal;
    for (int i = 0; i < invoice::Lines; ++i) {
        const auto fee = amount(b::amount(i));
        if (!fee)
            return std::nullopt;
        subtotal += *fee;
    }
    const auto discount = amount(b::amount(invoice::DiscountBox));
    const auto paid = amount(b::amount(invoice::PaidBox));
    if (!discount || !paid)
        return std::nullopt;
    const ui::Money balance = subtotal - *discount - *paid;
    const auto fits = [](ui::Money m) { return m.cents() <= ui::Money::MaxCents && m.cents() >= -ui::Money::MaxCents; };
    if (!fits(subtotal) || !fits(balance))
        return std::nullopt;
    return Totals{subtotal, balance};
}

bool InvoiceBoxes::receipt() const
{
    const QString box = b::amount(invoice::PaidBox);
    const auto typed = amount(box);
    const QString paid = typed ? m_model.text(box) : m_model.loaded(box);
    return !paid.isEmpty() && !(typed ? *typed : ui::Money::read(paid)).isZero();
}

bool InvoiceBoxes::isCheck(const QString &box)
{
    return box == b::Cash || box == b::Cheque || box == b::Card;
}

bool InvoiceBoxes::checked(const QString &box) const
{
    return store::Database::toBool(m_model.text(box));
}

bool InvoiceBoxes::blank() const
{
    for (const auto &c : m_model.controls()) {
        if (c.field.isEmpty())
            continue;
        if (isCheck(c.name) ? checked(c.name) : !m_model.text(c.name).isEmpty()) {
            // The computed totals of an empty invoice are zero, not content.
            const bool computed = c.name == b::amount(invoice::SubtotalBox) || c.name == b::amount(invoice::BalanceBox);
            if (!(computed && ui::Money::read(m_model.text(c.name)).isZero()))
                return false;
        }
    }
    return true;
}

bool InvoiceBoxes::storedBlank(const std::function<QVariant(const QString &field)> &stored) const
{
    for (const auto &c : m_model.controls()) {
        if (c.field.isEmpty())
            continue;
        const QVariant v = stored(c.field);
        if (isCheck(c.name) ? store::Database::toBool(v) : !v.toString().trimmed().isEmpty())
            return false;
    }
    return true;
}

} // namespace accounts
