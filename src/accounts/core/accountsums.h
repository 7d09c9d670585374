#pragma once

#include "ui/core/money.h"

#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

namespace store {
class Database;
}

namespace accounts {

// Figures derived from the invoices, so that the summaries count, date and
// total a large practice's list from a few thousand rows instead of every
// invoice: for each issue-date text and each spelling of a settled balance
// (none: the invoices still owing), how many invoices there are and what
// they bill, were paid and owe. The invoice write path keeps them in its
// own transaction. They hold for the data's generation they were made for:
// after a restore, or before they were ever made, the first reader makes
// them again from the invoices.
class AccountSums {
public:
    // One invoice's share, from its stored fields.
    struct Part {
        QVariant issueDate;   // the stored text; null when there is none
        QVariant settledAs;   // the balance's text when it is settled; null: owing
        ui::Money billed, paid, owed;
    };
    static Part partOf(const QSqlRecord &invoice);

    // The figures of one issue-date text and settled spelling.
    struct Row {
        QVariant issueDate;
        QVariant settledAs;
        qint64 invoices = 0;
        ui::Money billed, paid, owed;
    };

    // Inside the caller's write transaction, after checking the generation:
    // one invoice changed from `before` to `after` (nullopt: not there).
    // Nothing is done while the figures do not hold.
    static void change(store::Database &db, const std::optional<Part> &before, const std::optional<Part> &after);

    // The figures, made first if they do not hold for the data now;
    // nullopt when they cannot be made (the caller reads the invoices).
    // Rows with no invoice left are not returned.
    static std::optional<std::vector<Row>> read(store::Database &db);

    // Makes them again from every invoice, in a write transaction of its own.
    static void rebuild(store::Database &db);
    // After invoices were written some other way: made again when next read.
    static void forget(store::Database &db);
    // Whether they hold for the data now.
    static bool kept(store::Database &db);
};

} // namespace accounts
