#pragma once

#include "accounts/core/patientforms.h"
#include "ui/core/formmodel.h"

#include <vector>

namespace accounts {

// A bound box of the invoice outside the service lines: its control, label
// and field, and what it takes.
struct InvoiceBox {
    enum Takes { Text, Capitals, Sum, Total, Check };   // Total: worked out, never typed
    QString box;
    QString label;
    QString field;
    Takes takes = Text;
};
// Those boxes in the window's order (the service lines come after the claim
// boxes): the form and every label of the window are made from it.
const std::vector<InvoiceBox> &accountLabels();
// frmAccount as a form: each bound box with its field, capitals in the
// referrer box, the Enter chain of the claim boxes and the arrow table.
ui::FormModel accountForm();
// The caption the user sees for a box, ending in a colon: its label, or for
// a box of the service lines its column's heading and line ("Fees ($), line 3:").
QString invoiceLabel(const QString &box);

// The amount boxes the user types a sum into: the six fees, the discount
// and the amount paid (the subtotal and balance are worked out).
bool takesAmount(const QString &box);
// A fee may be a credit (a minus); a discount or a payment may not.
bool takesCredit(const QString &box);
// What an amount box accepts, for the message that refuses a typed text.
QString amountRuleText(const QString &box);

} // namespace accounts
