#pragma once

#include <QIcon>
#include <QString>

namespace book {

// The book toolbar's pictures, drawn here so the program needs no image
// files: small glyphs for the commands, digits for the row counts and
// swatches for the colours.
QIcon toolbarIcon(const QString &key);

} // namespace book
