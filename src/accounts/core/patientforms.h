#pragma once

#include "ui/core/formmodel.h"

#include <QString>
#include <vector>

namespace accounts {

// frmPatientDetails as a form: each box with its label, its field and its
// rules (capitals throughout, M or F only in txtSex, a blank social
// security number stored as one space) and the window's arrow table.
ui::FormModel patientForm();
struct Labelled {
    QString box;
    QString label;
};
// The boxes of the patient window with their labels, in the window's order.
const std::vector<Labelled> &patientLabels();

// The criteria boxes of frmSearchMenu (capitals throughout, not bound) and
// their arrow table.
ui::FormModel searchMenuForm();
const std::vector<Labelled> &searchLabels();

namespace search {
inline const QString FileNo = QStringLiteral("txtFileNo");
inline const QString FirstName = QStringLiteral("txtFirstName");
inline const QString MI = QStringLiteral("txtMI");
inline const QString LastName = QStringLiteral("txtLastName");
inline const QString DOB = QStringLiteral("TxtDOB");
inline const QString Address = QStringLiteral("txtAddress");
inline const QString SSN = QStringLiteral("txtSSN");
inline const QString NewClient = QStringLiteral("Option1");
inline const QString ExistingClient = QStringLiteral("Option2");
inline const QString Search = QStringLiteral("cmdSearch");
inline const QString Files = QStringLiteral("cmdFiles");
inline const QString Cancel = QStringLiteral("cmdCancel");
inline const QString Exit = QStringLiteral("CmdExit");
inline const QString Accounts = QStringLiteral("CmdAccounts");
} // namespace search

} // namespace accounts
