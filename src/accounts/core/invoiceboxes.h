#pragma once

#include "ui/core/formmodel.h"
#include "ui/core/money.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

namespace accounts {

// What the invoice window's boxes hold, read as the window reads them: the
// sum in each amount box, the totals the lines add up to, whether a payment
// makes the invoice a receipt, and whether the boxes hold anything at all.
class InvoiceBoxes {
public:
    explicit InvoiceBoxes(const ui::FormModel &model) : m_model(model) {}

    // The sum an amount box holds: a stored text as every reader of stored
    // amounts takes it (old records hold all sorts), a typed one only when
    // it is a sum of money. Nothing for a typed text that is not.
    std::optional<ui::Money> amount(const QString &box) const;

    // The subtotal and balance the amount boxes add up to; nothing while a
    // box holds no sum or a total would not fit its box.
    struct Totals {
        ui::Money subtotal, balance;
    };
    std::optional<Totals> totals() const;

    // A payment on show makes the invoice a receipt; a payment typed that is
    // no sum leaves it as the stored invoice has it.
    bool receipt() const;

    static bool isCheck(const QString &box);
    bool checked(const QString &box) const;
    // Nothing typed or ticked (totals of zero are no content).
    bool blank() const;
    // Nothing stored: `stored` gives a field's value as read.
    bool storedBlank(const std::function<QVariant(const QString &field)> &stored) const;

private:
    const ui::FormModel &m_model;
};

} // namespace accounts
