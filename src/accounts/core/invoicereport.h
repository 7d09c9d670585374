#pragma once

#include "report/core/reportsettings.h"

namespace store {
class Database;
}
namespace ui {
class Places;
}

namespace accounts {

// What a print or preview of an invoice sets on the engine: the layout
// tbl_Print names for it (the receipt's once something is paid), the
// margins stored there and the practice's database. Throws store::DbError.
report::ReportSettings invoiceReportSettings(store::Database &db, const ui::Places &places, int invoice,
                                             bool receipt, int destination);

} // namespace accounts
