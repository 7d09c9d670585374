#pragma once

#include <QColor>
#include <QString>

// What the book window's boxes share: their colours, and the line breaks of
// their text (the controller keeps CR LF, the boxes LF).
namespace book::boxes {

inline const QRgb Typing = qRgb(255, 255, 238);        // 0xEEFFFF, a box being typed in
inline const QRgb Inactive = qRgb(0xE0, 0xE0, 0xE0);   // 0xE0E0E0
inline const QRgb Locked = qRgb(255, 128, 128);        // the page lock while checked

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
