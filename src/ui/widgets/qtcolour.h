#pragma once

#include "ui/core/colours.h"

#include <QColor>

namespace ui {

// The one conversion between the stored 0xBBGGRR colours and QColor.
inline QColor toQColor(Bgr c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

inline Bgr toBgr(const QColor &c)
{
    return bgr(c.red(), c.green(), c.blue());
}

} // namespace ui
