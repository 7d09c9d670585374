#pragma once

#include "store/core/changelog.h"

#include <QString>
#include <vector>

namespace ui {
struct Services;
}

namespace accounts {

// The "History" of a client file or an invoice: every recorded change of
// the record, newest first, field by field, as the text window shows it.
QString historyReport(const QString &title, const std::vector<store::LogEntry> &entries);
// Reads the record's history and hands it to the user (a message when the
// log cannot be read).
void showHistory(ui::Services &services, const QString &kind, int key, const QString &title);

} // namespace accounts
