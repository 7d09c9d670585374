#pragma once

#include "ui/widgets/qtcolour.h"

#include <QString>

// What the book window's boxes share: their colours, and the line breaks of
// their text (the controller keeps CR LF, the boxes LF).
namespace book::boxes {

inline const QRgb Typing = ui::toQColor(ui::colours::PaleYellow).rgb();   // a box being typed in
inline const QRgb Inactive = ui::toQColor(ui::colours::Grey).rgb();
inline const QRgb Locked = ui::toQColor(ui::colours::PageLocked).rgb();

inline QString toBox(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

inline QString fromBox(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

} // namespace book::boxes
