#pragma once

#include <QString>

namespace ui {

struct Services;

// Hands a text report (an exported column, an appointments history) to the
// user: written to a file of its own in the Reports folder of the
// data folder and opened in the desktop's text editor; when no editor
// starts, or the file cannot be written, the program's text window shows it.
// The clipboard is never touched, so a copied block stays ready for Paste.
// `name` says what it is ("Appointments History"); the file is named after it
// and the time. Returns the file written, or an empty text.
QString deliverText(Services &services, const QString &name, const QString &text);

} // namespace ui
