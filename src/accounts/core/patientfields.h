#pragma once

#include <QString>

// The patient file record (tbl_PatientDetails): the fields named in
// statements, its named indexes, and the window's controls.
namespace accounts::patient {

// The fields the store's statements name; the others stand only in the
// form's table of boxes (patientLabels).
namespace field {
inline const QString FileNo = QStringLiteral("FileNo");
inline const QString LastName = QStringLiteral("PLastName");
} // namespace field

namespace index {
inline const QString FileNo = QStringLiteral("FileNo");
inline const QString SSN = QStringLiteral("SSN");
inline const QString NameDOB = QStringLiteral("NameDOB");
inline const QString NameAddress = QStringLiteral("NameAddress");
} // namespace index

// The controls of frmPatientDetails (their objectNames).
namespace box {
inline const QString FileNo = QStringLiteral("lblFileNo");
inline const QString Title = QStringLiteral("txtTitle");
inline const QString FirstName = QStringLiteral("txtFirstName");
inline const QString MI = QStringLiteral("txtMI");
inline const QString LastName = QStringLiteral("txtLastName");
inline const QString Sex = QStringLiteral("txtSex");
inline const QString MaidenName = QStringLiteral("txtMaidenName");
inline const QString DOB = QStringLiteral("TxtDOB");
inline const QString Address = QStringLiteral("txtAddress");
inline const QString City = QStringLiteral("txtCity");
inline const QString State = QStringLiteral("txtState");
inline const QString Zip = QStringLiteral("txtZip");
inline const QString HomeNo = QStringLiteral("txtHomeNo");
inline const QString WorkNo = QStringLiteral("txtWorkNo");
inline const QString SSN = QStringLiteral("txtSSN");
inline const QString HFN = QStringLiteral("txtHFN");
inline const QString Occup = QStringLiteral("txtOccup");
inline const QString Contact = QStringLiteral("txtContact");
inline const QString Invoice = QStringLiteral("optInvoice");
inline const QString PageLock = QStringLiteral("Check4");
} // namespace box

// Files 1 to 3 are the practice's sample files: never deleted.
inline constexpr int LastProtectedFile = 3;

} // namespace accounts::patient
