#pragma once

#include <vector>

namespace ui {

// A line of the grid view on display: its index, where it starts, its size (pixels).
struct GridSpan {
    int index;
    int pos;
    int size;
};

// One axis of the grid view, its rows down or its columns across, in
// pixels: where each line starts and how many lines never scroll. Rows and
// columns scroll alike, so one piece of arithmetic serves both.
class GridViewAxis {
public:
    // Line i spans edges[i] .. edges[i + 1]; the first `fixed` lines stay put.
    GridViewAxis(const std::vector<int> &edges, int fixed) : m_edges(edges), m_fixed(fixed) {}

    int count() const { return int(m_edges.size()) - 1; }
    int size(int i) const { return m_edges[i + 1] - m_edges[i]; }
    int fixedExtent() const { return m_edges[m_fixed]; }
    // The first scrolled line that keeps `first` within the lines there are.
    int clampFirst(int first) const;
    // The smallest first scrolled line from which every remaining line fits in `avail`.
    int lastFirstFor(int avail) const;
    // The lines on display within `extent` pixels, `first` the first scrolled one.
    std::vector<GridSpan> visible(int first, int extent) const;
    // Where line i starts on display, `first` the first scrolled one.
    int position(int i, int first) const;
    // The first scrolled line, from `first` on, that shows line i wholly in `avail`.
    int firstShowing(int i, int first, int avail) const;
    // The scrolled lines wholly in `avail` from `first` on (at least one).
    int wholeFrom(int first, int avail) const;
    // The line at a position on display; -1 for none.
    static int indexAt(const std::vector<GridSpan> &spans, int pos);

private:
    const std::vector<int> &m_edges;
    int m_fixed;
};

} // namespace ui
