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

} // namespace accounts
