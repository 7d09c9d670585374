#pragma once

#include <cstdint>

namespace ui {

// A colour as the database and the grids keep it: 0xBBGGRR.
using Bgr = int;

// The program's named colours, shared by the rules (cell colours stored in
// pages) and the windows that paint them.
namespace colours {
inline constexpr Bgr PaleYellow = 0xEEFFFF;    // cells, and every box being typed in
inline constexpr Bgr Grey = 0xE0E0E0;          // fixed cells, boxes not being typed in
inline constexpr Bgr Desktop = 0xC8B0A0;       // RGB 160, 176, 200: closed days
inline constexpr Bgr BlockSelection = 0xC00000;
inline constexpr Bgr GridSelection = 0x8D5F3F;
inline constexpr Bgr White = 0xFFFFFF;
inline constexpr Bgr LightCyan = 0xFFFF00;     // the calendar's selected day while it has the focus
inline constexpr Bgr LightGrey = 0xC0C0C0;     // the calendar's selected day otherwise
inline constexpr Bgr PageLocked = 0x8080FF;    // the page lock while checked
inline constexpr Bgr Yellow = 0x00FFFF;        // RGB 255, 255, 0: an option that has the focus
inline constexpr Bgr FormLocked = 0x0000FF;    // RGB 255, 0, 0: a form's page lock while checked

// The book toolbar's paints.
inline constexpr Bgr Cyan = 0xFFFFD0;
inline constexpr Bgr Red = 0x8080FF;
inline constexpr Bgr Amber = 0x80D0FF;
inline constexpr Bgr Green = 0xC0FFC0;
inline constexpr Bgr Magenta = 0xFF80FF;
inline constexpr Bgr LightBlue = 0xFFC0C0;
inline constexpr Bgr LightPurple = 0xD7A6FF;
} // namespace colours

constexpr int redOf(Bgr c) { return c & 0xFF; }
constexpr int greenOf(Bgr c) { return (c >> 8) & 0xFF; }
constexpr int blueOf(Bgr c) { return (c >> 16) & 0xFF; }
constexpr Bgr bgr(int red, int green, int blue)
{
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
// 0xBBGGRR ↔ 0xRRGGBB: the same three bytes the other way round.
constexpr std::uint32_t rgbFromBgr(Bgr c)
{
    return std::uint32_t(redOf(c)) << 16 | std::uint32_t(greenOf(c)) << 8 | std::uint32_t(blueOf(c));
}
constexpr Bgr bgrFromRgb(std::uint32_t rgb)
{
    return bgr(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
}

} // namespace ui
