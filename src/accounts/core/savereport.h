#pragma once

#include <QString>
#include <vector>

namespace accounts {

// One box the user typed into, as a refused or partly refused save reports it.
struct TypedEntry {
    QString label;       // the caption beside the box, with its colon
    QString typed;
    bool contested = false;
    QString storedNow;   // contested: what the other station stored
};

// The message of a save that met another station's changes of the same
// record ("file", "invoice"): every typed value by its label, those not
// saved marked with what is stored instead.
QString conflictMessage(const QString &record, const std::vector<TypedEntry> &entries);

} // namespace accounts
