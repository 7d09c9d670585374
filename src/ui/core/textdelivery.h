#pragma once

#include <QString>

namespace ui {

struct Services;

// The one way a report or an export leaves the program as text: it is handed
// to the program's text window, which shows it for reading, changing, saving
// or printing elsewhere. The clipboard is never touched, so a block the user
// copied stays there to be pasted.
void deliverText(Services &services, const QString &title, const QString &text);

} // namespace ui
