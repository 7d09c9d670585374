#pragma once

#include "accounts/core/patientforms.h"
#include "ui/core/formmodel.h"

#include <vector>

namespace accounts {

// frmAccount as a form: each bound box with its field, capitals in the
// referrer box, the Enter chain of the claim boxes and the arrow table.
ui::FormModel accountForm();
// The boxes outside the service lines with their labels, in the window's order.
const std::vector<Labelled> &accountLabels();
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
