#include "ui/core/resizer.h"

#include <cmath>

namespace ui {

void Resizer::windowLoaded()
{
    const QSizeF s = m_target.innerSize();
    m_ratio = s.width() > 0 ? s.height() / s.width() : 0.0;
    m_width = 0.0;
}

void Resizer::windowResized()
{
    if (m_width == 0.0)
        rebuild();
    else
        refresh();
}

void Resizer::rebuild()
{
    const QSizeF s = m_target.innerSize();
    m_width = s.width();
    m_height = s.height();
    const int n = m_target.controlCount();
    m_entries.assign(static_cast<size_t>(std::max(n, 0)), Entry{});
    for (int i = 0; i < n; ++i) {
        QRectF r;
        if (m_target.geometry(i, r))
            m_entries[i].rect = r;
        double f = 0.0;
        if (m_target.fontSize(i, f))
            m_entries[i].fontSize = f;
    }
}

void Resizer::refresh()
{
    if (m_busy)
        return;
    if (keepRatio) {
        m_busy = true;
        m_target.setHeight(m_target.innerSize().width() * m_ratio);
        m_busy = false;
    }
    const QSizeF s = m_target.innerSize();
    const double fx = s.width() / m_width;
    const double fy = s.height() / m_height;
    // A window recorded at zero size gives no usable factor: leave every
    // control where it is, as a failing step would.
    if (!std::isfinite(fx) || !std::isfinite(fy))
        return;
    const double ff = std::min(fx, fy);
    const int n = std::min<int>(static_cast<int>(m_entries.size()), m_target.controlCount());
    for (int i = 0; i < n; ++i) {
        const Entry &e = m_entries[i];
        if (resizeFont && e.fontSize > 0)
            m_target.setFontSize(i, e.fontSize * ff);
        m_target.setGeometry(i, QRectF(e.rect.left() * fx, e.rect.top() * fy, e.rect.width() * fx,
                                       e.rect.height() * fy));
    }
}

} // namespace ui
