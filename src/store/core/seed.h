#pragma once

#include <QString>

namespace store {

class Database;

// The first records of a new db.mdb: the settings with weekday templates
// that fit them, the help and readme texts, the print record, the sample
// letterhead designs (the practice's own design last), and three sample
// patient files with one invoice each.
void seedFirstRecords(Database &db);

namespace seed {
QString helpText();
QString help2Text();
QString readmeText();
inline const QString DefaultBlockout = QStringLiteral("- - - - - - - - - - - - - - - -");
} // namespace seed

} // namespace store
