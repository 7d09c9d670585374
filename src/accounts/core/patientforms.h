#pragma once

#include "ui/core/formmodel.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace accounts {

// A box of a form: its control, the label beside it, and for a bound box
// its field and what the form takes there.
struct Labelled {
    QString box;
    QString label;
    QString field{};
    QString accepts{};         // the only characters it takes; empty: any
    QString blankStoredAs{};   // what a blank box is stored as; empty: blank
    int listColumn = -1;       // its column in the manual search's list
};

// The boxes of the client file in the window's order, which is the
// record's: every list of the file's boxes and fields is made from it.
const std::vector<Labelled> &patientLabels();
// The text fields of a file, in the window's order.
QStringList patientFields();
// frmPatientDetails as a form: each box with its label, its field and its
// rules (capitals throughout, M or F only in txtSex, a blank social
// security number stored as one space) and the window's arrow table.
ui::FormModel patientForm();

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
