#include "schedules/core/clstableprint.h"

#include <algorithm>
#include <cmath>

// The table engine's layout and drawing: row heights measured on the
// surface, rows fitted to pages, and each page drawn.

namespace schedules {

using ui::OutputSurface;

namespace {
constexpr double HeaderRowFloor = 275;   // surface units; the header rows' fixed minimum
// 0x835: single line wins over the word break.
constexpr int DataFirstColumnFlags = OutputSurface::AlignCenter | OutputSurface::VCenter | OutputSurface::WordBreak |
                                     OutputSurface::SingleLine | OutputSurface::NoPrefix;
// The other columns' texts arrive already broken into lines.
constexpr int DataFlags = OutputSurface::AlignLeft | OutputSurface::NoPrefix;

int px(double v)
{
    return static_cast<int>(std::lround(v));
}
} // namespace

void clsTablePrint::putFont(OutputSurface &out, const FontRef &font, FontRef &current) const
{
    // Cells without a font of their own are drawn in the surface's font.
    if (!font || font == current)
        return;
    out.setFont(*font);
    current = font;
}

clsTablePrint::Heights clsTablePrint::measure(OutputSurface &out, FontRef &current) const
{
    if (!m_usable)
        throw TableError::subscript();
    Heights h;
    h.rows.assign(static_cast<size_t>(m_rows), rowHeightMin - 2 * cellYOffset);
    h.lines.assign(static_cast<size_t>(m_rows), std::vector<QString>(static_cast<size_t>(m_cols)));
    h.header = HeaderRowFloor;
    h.footer = footerRowHeightMin - 2 * cellYOffset;
    for (int c = 0; c < m_cols; ++c) {
        const size_t ci = static_cast<size_t>(c);
        const double textWidth = m_colWidth[ci] - 2 * cellXOffset;
        for (int r = 0; r < m_rows; ++r) {
            const size_t ri = static_cast<size_t>(r);
            const Cell &cell = m_cells[ri][ci];
            putFont(out, cell.font, current);
            double &height = h.rows[ri];
            if (c == 0) {
                // The time column draws one line, centred.
                h.lines[ri][ci] = cell.text;
                height = std::max(height, out.textHeight(cell.text));
            } else {
                const QStringList lines = out.wrap(cell.text, textWidth);
                h.lines[ri][ci] = lines.join(QLatin1Char('\n'));
                height = std::max(height, out.textHeight(QString()) * static_cast<double>(lines.size()));
            }
            if (resizeCellsToPicHeight && !cell.picture.isEmpty())
                height = std::max(height, out.pictureSize(cell.picture).height());
        }
        for (int r = 0; r < m_headerRows; ++r) {
            const HeaderCell &cell = m_header[static_cast<size_t>(r)][ci];
            putFont(out, cell.font, current);
            h.header = std::max(h.header, out.textHeight(cell.text));
        }
        if (m_hasFooter) {
            putFont(out, footerFont(c), current);
            h.footer = std::max(h.footer, out.textHeight(footerText(c)));
        }
    }
    for (double &row : h.rows)
        row += 2 * cellYOffset;
    h.header += 2 * cellYOffset;
    if (h.footer > 0)
        h.footer += 2 * cellYOffset;
    return h;
}

double clsTablePrint::Heights::rowsHeight(int first, int last) const
{
    double sum = 0;
    for (int r = std::max(first, 0); r <= last && r < static_cast<int>(rows.size()); ++r)
        sum += rows[static_cast<size_t>(r)];
    return sum;
}

clsTablePrint::Heights clsTablePrint::heights(OutputSurface &out) const
{
    FontRef current;
    return measure(out, current);
}

int clsTablePrint::rowsThatFit(const Heights &h, int first, double room) const
{
    int n = 0;
    double used = 0;
    for (int r = first; r < m_rows; ++r) {
        used += h.rows[static_cast<size_t>(r)];
        if (used > room)
            break;
        ++n;
    }
    return n;
}

double clsTablePrint::calcNumRowsPerPage(OutputSurface &out, bool withHeader) const
{
    return calcNumRowsPerPage(out, withHeader, m_hasFooter);
}

double clsTablePrint::calcNumRowsPerPage(OutputSurface &out, bool withHeader, bool withFooter) const
{
    FontRef current;
    const Heights h = measure(out, current);
    double avail = out.scaleHeight() - marginTop - marginBottom;
    if (withHeader)
        avail -= m_headerRows * h.header;
    if (withFooter)
        avail -= h.footer;
    return rowsThatFit(h, 0, avail);
}

// ---------------------------------------------------------------- drawing

DrawResult clsTablePrint::drawTable(OutputSurface &out, int rowToStart, int startPage)
{
    try {
        const ui::CellFont saved = out.font();
        FontRef current = std::make_shared<const ui::CellFont>(saved);
        const Heights h = measure(out, current);

        int page = startPage;
        int last = std::max(rowToStart, 0) - 1;
        bool fresh = false;           // a page the handler has just started
        for (;;) {
            double avail = out.scaleHeight() - out.currentY() - marginBottom;
            const bool withHeader = printHeaderOnEveryPage || page == 1;
            const int first = last + 1;
            const double next = first < m_rows ? h.rows[static_cast<size_t>(first)] : 0;
            // A page started for the rows left always takes one of them, even
            // when it cannot hold it: otherwise a row taller than a page would
            // ask for new pages for ever.
            if (avail >= next || fresh) {
                if (withHeader)
                    avail -= m_headerRows * h.header;
                int fit = rowsThatFit(h, first, avail);
                if (fresh && fit < 1)
                    fit = 1;
                const int end = std::min(last + fit, m_rows - 1);
                double y = out.currentY();
                drawPage(out, first, end, withHeader, y, current, h);
                out.setCurrentY(y);
                last = end;
            }
            if (last >= m_rows - 1)
                break;
            bool topSet = false, cancel = false;
            if (m_newPage)
                m_newPage(out, topSet, cancel, last);
            if (cancel)
                break;
            if (!topSet)
                out.setCurrentY(marginTop);
            ++page;
            fresh = true;
        }
        out.setFont(saved);
        return {};
    } catch (const TableError &e) {
        return DrawResult{false, e.number(), e.description()};
    } catch (const std::exception &e) {
        return DrawResult{false, 5, QString::fromUtf8(e.what())};
    }
}

void clsTablePrint::drawPage(OutputSurface &out, int first, int end, bool withHeader, double &y,
                             FontRef &current, const Heights &h)
{
    const int leftEdge = px(out.toPixelsX(marginLeft));
    const int inset = px(out.toPixelsX(cellXOffset));
    std::vector<int> colPx(static_cast<size_t>(m_cols));
    double tableRight = marginLeft;
    for (int c = 0; c < m_cols; ++c) {
        colPx[static_cast<size_t>(c)] = px(out.toPixelsX(m_colWidth[static_cast<size_t>(c)]));
        tableRight += m_colWidth[static_cast<size_t>(c)];
    }

    if (withHeader) {
        out.setDrawWidth(headerLineThickness);
        const double pageTop = y;
        std::vector<int> pending(static_cast<size_t>(m_cols), -1);   // first header row of a vertical run
        for (int hr = 0; hr < m_headerRows; ++hr) {
            bool merged = false, previousClosedMerged = false;
            int left = leftEdge + inset, right = leftEdge - inset;
            for (int c = 0; c < m_cols; ++c) {
                const size_t ci = static_cast<size_t>(c);
                right += colPx[ci];   // kept one inset inside the cell
                const QString text = headerText(hr, c);
                bool endsRun = true;
                if (m_mergeHeaderCol[ci] && hr < m_headerRows - 1) {
                    endsRun = headerText(hr + 1, c) != text;
                    if (!endsRun && pending[ci] < 0)
                        pending[ci] = hr;
                } else if (!m_mergeHeaderCol[ci]) {
                    pending[ci] = -1;
                }
                putFont(out, headerFont(hr, c), current);

                bool draw = true;
                if (m_mergeHeaderRow[static_cast<size_t>(hr)] && c < m_cols - 1 && headerText(hr, c + 1) == text) {
                    merged = true;
                    draw = false;
                } else if (previousClosedMerged) {
                    merged = false;
                }
                if (draw && endsRun) {
                    const int start = pending[ci] >= 0 ? pending[ci] : hr;
                    int top = px(out.toPixelsY(pageTop + start * h.header));
                    const int bottom = top + px(out.toPixelsY((hr - start + 1) * h.header));
                    out.boxPixels(QRect(QPoint(left - inset, top), QPoint(right + inset, bottom)));
                    ++top;
                    const QRect r(QPoint(left, top), QPoint(right, bottom));
                    out.fillPixels(r, ui::colours::Grey);
                    const int align = merged && centerMergedHeader ? 1 : m_colAlign[ci];
                    out.textPixels(r, text, align | OutputSurface::NoPrefix, ui::colours::Grey);
                    pending[ci] = -1;
                }
                previousClosedMerged = draw && merged;
                if (draw)
                    left = right + 2 * inset;
            }
        }
        y += m_headerRows * h.header;
    }

    // Data block: column by column, each down the page's rows. Each row's
    // edges are rounded from its place in twips, so rounding never adds up
    // down the page.
    out.setDrawWidth(lineThickness);
    const int rowsHere = std::max(end - first + 1, 0);
    std::vector<int> edge(static_cast<size_t>(rowsHere) + 1);
    {
        double at = y;
        for (int i = 0; i <= rowsHere; ++i) {
            edge[static_cast<size_t>(i)] = px(out.toPixelsY(at));
            if (i < rowsHere)
                at += h.rows[static_cast<size_t>(first + i)];
        }
    }
    std::vector<int> runStart(static_cast<size_t>(rowsHere), -1);   // left of a pending horizontal run
    int lastBottom = edge[0];
    double cellLeftTwips = marginLeft;
    int right = 0;
    for (int c = 0; c < m_cols; ++c) {
        const size_t ci = static_cast<size_t>(c);
        const int left = c == 0 ? leftEdge + inset : right + 2 * inset;
        right = left + colPx[ci] - 2 * inset;
        int top = edge[0];
        for (int r = first; r <= end; ++r) {
            const size_t ri = static_cast<size_t>(r);
            const Cell &cell = m_cells[ri][ci];
            putFont(out, cell.font, current);
            const int bottom = edge[static_cast<size_t>(r - first + 1)];
            // Vertical runs end at the page's last row: they never cross a break.
            if (m_mergeCol[ci] && r != end && m_cells[ri + 1][ci].text == cell.text)
                continue;
            int &pending = runStart[static_cast<size_t>(r - first)];
            bool draw = true;
            if (m_mergeRow[ri] && c < m_cols - 1) {
                if (m_cells[ri][ci + 1].text == cell.text) {
                    if (pending < 0)
                        pending = left;
                    draw = false;
                }
            } else if (!m_mergeRow[ri]) {
                pending = -1;
            }
            if (draw) {
                const int cellLeft = pending >= 0 ? pending : left;
                pending = -1;
                out.boxPixels(QRect(QPoint(cellLeft - inset, top), QPoint(right + inset, bottom)));
                const QRect rect(QPoint(cellLeft, top + 1), QPoint(right, bottom));
                out.fillPixels(rect, cell.colour);
                if (!cell.picture.isEmpty())
                    drawPicture(out, cell.picture, c, cellLeftTwips, rect, top, bottom);
                // Texts of the other columns come broken into the lines
                // they were measured in.
                out.textPixels(rect, h.lines[ri][ci], c == 0 ? DataFirstColumnFlags : DataFlags, cell.colour);
                lastBottom = bottom;
            }
            top = bottom;
        }
        cellLeftTwips += m_colWidth[ci];
    }
    y += h.rowsHeight(first, end);

    if (end == m_rows - 1 && m_hasFooter) {
        out.setDrawWidth(footerLineThickness);
        out.box(marginLeft, y, tableRight, y + h.footer);
        const int top = lastBottom + 1;
        const int bottom = top + px(out.toPixelsY(h.footer));
        int colLeft = leftEdge;
        double xTwips = marginLeft;
        for (int c = 0; c < m_cols; ++c) {
            const size_t ci = static_cast<size_t>(c);
            putFont(out, footerFont(c), current);
            const QRect r(QPoint(colLeft + inset, top), QPoint(colLeft + colPx[ci] - inset, bottom));
            // No fill: the footer is text between lines, on the page itself.
            out.textPixels(r, footerText(c), m_colAlign[ci] | OutputSurface::NoPrefix, -1);
            if (c > 0)
                out.line(xTwips, y, xTwips, y + h.footer);
            colLeft += colPx[ci];
            xTwips += m_colWidth[ci];
        }
        y += h.footer;
    }
}

void clsTablePrint::drawPicture(OutputSurface &out, const QByteArray &picture, int col, double cellLeft,
                                const QRect &textRect, int top, int bottom)
{
    const size_t ci = static_cast<size_t>(col);
    QSizeF size = out.pictureSize(picture);
    if (size.isEmpty())
        return;   // unreadable: the cell is drawn without it
    double w = std::min(size.width(), m_colWidth[ci] - 2 * cellXOffset);
    double hgt = size.height();
    const double cellHeight = out.toTwipsY(bottom - top);
    double offset = (cellHeight - hgt) / 2;
    if (offset < 0) {
        hgt = cellHeight;
        offset = 0;
    }
    double x = out.toTwipsX(textRect.left());
    if (m_colAlign[ci] == 2)
        x = cellLeft + m_colWidth[ci] - cellXOffset - w;
    else if (m_colAlign[ci] == 1)
        x = cellLeft + (m_colWidth[ci] - w) / 2;
    out.paintPicture(picture, x, out.toTwipsY(top) + offset, w, hgt);
}

} // namespace schedules
