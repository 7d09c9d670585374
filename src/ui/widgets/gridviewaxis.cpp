#include "ui/widgets/gridviewaxis.h"

#include <algorithm>

namespace ui {

int GridViewAxis::clampFirst(int first) const
{
    return std::min(first, std::max(m_fixed, count() - 1));
}

int GridViewAxis::lastFirstFor(int avail) const
{
    int t = count(), sum = 0;
    while (t > m_fixed) {
        const int s = size(t - 1);
        if (sum + s > avail)
            break;
        sum += s;
        --t;
    }
    return clampFirst(t);
}

std::vector<GridSpan> GridViewAxis::visible(int first, int extent) const
{
    std::vector<GridSpan> out;
    for (int i = 0; i < m_fixed && m_edges[i] < extent; ++i)
        out.push_back({i, m_edges[i], size(i)});
    int at = fixedExtent();
    for (int i = first; i < count() && at < extent; ++i) {
        out.push_back({i, at, size(i)});
        at += size(i);
    }
    return out;
}

int GridViewAxis::position(int i, int first) const
{
    return i < m_fixed ? m_edges[i] : fixedExtent() + m_edges[i] - m_edges[first];
}

int GridViewAxis::firstShowing(int i, int first, int avail) const
{
    int f = std::min(first, i);
    while (f < i && m_edges[i + 1] - m_edges[f] > avail)
        ++f;
    return f;
}

int GridViewAxis::wholeFrom(int first, int avail) const
{
    int n = 0;
    for (int i = first; i < count() && m_edges[i + 1] - m_edges[first] <= avail; ++i)
        ++n;
    return std::max(1, n);
}

int GridViewAxis::indexAt(const std::vector<GridSpan> &spans, int pos)
{
    for (const GridSpan &s : spans)
        if (pos >= s.pos && pos < s.pos + s.size)
            return s.index;
    return -1;
}

} // namespace ui
