#pragma once

#include <QString>
#include <QStringList>

// The patient file record (tbl_PatientDetails): its fields and named
// indexes, and the window controls bound to them. Every other file of the
// program names them through here.
namespace accounts::patient {

namespace field {
inline const QString FileNo = QStringLiteral("FileNo");
inline const QString Title = QStringLiteral("Title");
inline const QString FirstName = QStringLiteral("PFirstName");
inline const QString MI = QStringLiteral("PMI");
inline const QString LastName = QStringLiteral("PLastName");
inline const QString Sex = QStringLiteral("Sex");
inline const QString MaidenName = QStringLiteral("MaidenName");
inline const QString DateOfBirth = QStringLiteral("DateOfBirth");
inline const QString Address = QStringLiteral("PAddress");
inline const QString City = QStringLiteral("PCity");
inline const QString State = QStringLiteral("PState");
inline const QString Zip = QStringLiteral("PZip");
inline const QString HomeNo = QStringLiteral("HomeNo");
inline const QString WorkNo = QStringLiteral("WorkNo");
inline const QString SSN = QStringLiteral("SocialSecurityNo");
inline const QString HealthFundNo = QStringLiteral("HealthFundNo");
inline const QString Occupation = QStringLiteral("Occupation");
inline const QString ContactPerson = QStringLiteral("ContactPerson");
} // namespace field

// The text fields of a file, in the order of the window.
inline QStringList textFields()
{
    using namespace field;
    return {Title,   FirstName, MI,     LastName, Sex,    MaidenName, DateOfBirth, Address, City,
            State,   Zip,       HomeNo, WorkNo,   SSN,    HealthFundNo, Occupation, ContactPerson};
}

namespace index {
inline const QString FileNo = QStringLiteral("FileNo");
inline const QString LastName = QStringLiteral("LastName");
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
