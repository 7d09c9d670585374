#pragma once

#include "report/core/layout.h"

#include <QHash>
#include <QString>
#include <QVariantMap>

namespace report {

// The values a layout's placeholders are filled with, by lower-case name:
// the invoice's qry_Accounts row, the letterhead record's texts, and the
// computed fields
//   PatientName    Title, PFirstName, PMI and PLastName, blanks between
//   CityStateZip   PCity, PState and PZip
//   ReportTitle    the layout's title
//   PaymentMethod  "Cash", "Cheque", "Credit Card", as ticked, comma separated
//   CashBox, ChequeBox, CardBox   a ticked or an empty box
// Amounts are shown in the amount format; a service line's empty fee stays
// empty. Yes/no fields read "Yes" or "No".
class FieldValues {
public:
    FieldValues(const QVariantMap &invoice, const QVariantMap &letterhead, const QString &title);

    QString text(const QString &name) const;   // empty for an unknown name
    // What @if tests: a non-zero amount, a ticked yes/no, a text not blank.
    bool isSet(const QString &name) const;
    // What @each walks: a service line or practitioner with anything in it.
    bool hasLine(int n) const;
    bool hasPractitioner(int n) const;

private:
    void put(const QString &name, const QString &text, bool set);

    QHash<QString, QString> m_text;
    QHash<QString, bool> m_set;
};

// The document of a layout filled for one invoice: an HTML page whose field
// values are escaped, so no text of a record becomes markup.
QString mergeLayout(const Layout &layout, const FieldValues &values);

} // namespace report
