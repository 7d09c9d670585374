#pragma once

namespace ui {

// The screen width the windows' layouts were designed for, in twips (1024
// pixels at 96 dpi).
inline constexpr double DesignWidthTwips = 15360.0;

// The screen's width over the design width: the factor by which the grids'
// columns are widened.
inline double widthFactor(int screenWidthPixels, double dpi)
{
    return screenWidthPixels * 1440.0 / (dpi > 0 ? dpi : 96.0) / DesignWidthTwips;
}

} // namespace ui
