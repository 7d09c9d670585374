#pragma once

#include "accounts/core/recordstore.h"

#include <QStringList>
#include <QVariantMap>
#include <optional>
#include <vector>

namespace accounts {

// The invoices (tbl_Accounts): every statement that writes one is here.
// A write carries, for each field it changes, the text this station read
// there, and is checked against the stored record inside its transaction
// (the row locked on a server). The totals are never taken from a window:
// they are worked out from the stored lines once this station's changes
// are in. Each write returns its edit.
class InvoiceStore : public RecordStore {
public:
    explicit InvoiceStore(store::Database &db);

    static inline const QString Kind = QStringLiteral("invoice");

    // A new invoice of a patient, stored at once; its number is in the edit's key.
    store::Edit add(int fileNo);

    struct Write {
        enum Outcome {
            Saved,      // written (perhaps only in part: see contested)
            Unchanged,  // nothing needed writing
            Gone,       // the invoice was deleted meanwhile: nothing written
        };
        Outcome outcome = Unchanged;
        QStringList contested;     // fields another station changed meanwhile: theirs kept
        store::Edit edit;
    };
    // Writes the fields another station has not changed since this one read
    // them, and the invoice's subtotal and balance due from what is then
    // stored (worked out even when nothing else is written). Throws DbError (nothing written) when a total would pass the
    // largest amount.
    Write write(int invoice, const std::vector<store::FieldWrite> &changes);

    // The patient's last invoice, if any.
    std::optional<int> lastOf(int fileNo);
    // Whether any of the patient's invoices has a balance other than 0.
    bool anyOutstanding(int fileNo);

private:
    // The account sums lose what the deleted invoice held.
    void removed(const store::Edit &edit) override;
};

} // namespace accounts
