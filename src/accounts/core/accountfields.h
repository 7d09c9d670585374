#pragma once

#include <QString>
#include <QStringList>

// The invoice record (tbl_Accounts, edited through qry_Accounts): the
// fields named in statements (the form's table, accountLabels, binds the
// rest) and the controls of the invoice window.
namespace accounts::invoice {

namespace field {
inline const QString Invoice = QStringLiteral("Invoice");
inline const QString FileNo = QStringLiteral("FileNo");
inline const QString IssueDate = QStringLiteral("IssueDate");
inline QString date(int line) { return QStringLiteral("Date%1").arg(line + 1); }
inline QString itemNo(int line) { return QStringLiteral("ItemNo%1").arg(line + 1); }
inline QString treatment(int line) { return QStringLiteral("Treatment%1").arg(line + 1); }
inline QString amount(int line) { return QStringLiteral("Amount%1").arg(line + 1); }
inline const QString Subtotal = QStringLiteral("Subtotal");
inline const QString Discount = QStringLiteral("Discount");
inline const QString AmountPaid = QStringLiteral("AmountPaid");
inline const QString BalanceDue = QStringLiteral("BalanceDue");
inline const QString PayTo = QStringLiteral("PayTo");
inline const QString Referrer = QStringLiteral("Referrer");
inline const QString Cash = QStringLiteral("Cash");
} // namespace field

inline constexpr int Lines = 6;
// Amount boxes 0-5 are the line fees, then subtotal, discount, paid, balance.
inline constexpr int SubtotalBox = 6;
inline constexpr int DiscountBox = 7;
inline constexpr int PaidBox = 8;
inline constexpr int BalanceBox = 9;
inline constexpr int AmountBoxes = 10;

// The controls of frmAccount (their objectNames). The column boxes of the
// service lines carry their line number, 0 to 5.
namespace box {
inline const QString Invoice = QStringLiteral("lblInvoice");
inline const QString FileNo = QStringLiteral("lblFileNo");
inline const QString Name = QStringLiteral("lblName");
inline const QString Address = QStringLiteral("lblAddress");
inline const QString CityStateZip = QStringLiteral("lblCityStateZip");
inline const QString Outstanding = QStringLiteral("lbloutstanding");
inline const QString IssueDate = QStringLiteral("TxtIssueDate");
inline const QString Claim = QStringLiteral("TxtClaim");
inline const QString DOA = QStringLiteral("TxtDOA");
inline const QString Firm = QStringLiteral("TxtFirm");
inline QString date(int i) { return QStringLiteral("TxtDate%1").arg(i); }
inline QString itemNo(int i) { return QStringLiteral("txtItemNo%1").arg(i); }
inline QString description(int i) { return QStringLiteral("txtDescription%1").arg(i); }
inline QString amount(int i) { return QStringLiteral("txtAmount%1").arg(i); }
inline const QString Practitioner = QStringLiteral("txtReferrer");   // bound to PayTo
inline const QString Referrer = QStringLiteral("TxtPayTo");          // bound to Referrer
inline const QString DatePaid = QStringLiteral("TxtDatePaid");
inline const QString Cash = QStringLiteral("Check1");
inline const QString Cheque = QStringLiteral("Check2");
inline const QString Card = QStringLiteral("Check3");
inline const QString PageLock = QStringLiteral("Check4");
} // namespace box

// Invoices 1 to 3 are the samples the letterhead windows print: never deleted.
inline constexpr int LastProtectedInvoice = 3;

} // namespace accounts::invoice
