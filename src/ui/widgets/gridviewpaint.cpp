#include "ui/widgets/gridview.h"

#include "ui/widgets/qtcolour.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

// Painting of GridView: only the cells on display are drawn.

namespace ui {

void GridView::paintEvent(QPaintEvent *e)
{
    QPainter p(viewport());
    p.fillRect(e->rect(), palette().color(QPalette::Dark));
    const GridModel *m = model();
    if (!m->visible())
        return;
    const std::vector<Span> rows = visibleRows();
    const std::vector<Span> cols = visibleCols();
    for (const Span &rs : rows) {
        for (const Span &cs : cols) {
            const QRect rect(cs.pos, rs.pos, cs.size, rs.size);
            if (!rect.isEmpty() && rect.intersects(e->rect()))
                paintCell(p, rs.index, cs.index, rect);
        }
    }
}

void GridView::paintCell(QPainter &p, int r, int c, const QRect &rect)
{
    const GridModel &m = *model();
    const bool fixed = r < m.fixedRows() || c < m.fixedCols();
    const bool multi = m.selTop() != m.selBottom() || m.selLeft() != m.selRight();
    const bool selected = !fixed && multi && r >= m.selTop() && r <= m.selBottom() && c >= m.selLeft()
        && c <= m.selRight();
    const Bgr own = m.cellColor(r, c);
    QColor fill;
    if (selected)
        fill = toQColor(m.backColorSel());
    else
        fill = toQColor(own ? own : (fixed ? m.backColorFixed() : m.backColor()));
    const QRect inner = rect.adjusted(0, 0, -1, -1);
    p.fillRect(inner, fill);

    // Grid lines on the right and bottom edge; fixed cells get a raised look.
    p.setPen(fixed ? QColor(128, 128, 128) : QColor(192, 192, 192));
    p.drawLine(rect.topRight(), rect.bottomRight());
    p.drawLine(rect.bottomLeft(), rect.bottomRight());
    if (fixed && inner.width() > 1 && inner.height() > 1) {
        p.setPen(Qt::white);
        p.drawLine(inner.topLeft(), inner.topRight());
        p.drawLine(inner.topLeft(), inner.bottomLeft());
    }

    const QColor ink = qGray(fill.rgb()) < 128 ? Qt::white : Qt::black;
    QRect textRect = inner.adjusted(3, 1, -2, 0);
    const QByteArray pic = m.cellPicture(r, c);
    if (!pic.isEmpty()) {
        const QPixmap px = picture(pic);
        if (!px.isNull()) {
            QSize size = px.size();
            if (size.width() > inner.width() - 2 || size.height() > inner.height() - 2)
                size.scale(inner.size() - QSize(2, 2), Qt::KeepAspectRatio);
            const QRect target(QPoint(inner.left() + 1, inner.top() + (inner.height() - size.height()) / 2), size);
            p.drawPixmap(target, px);
            textRect.setLeft(target.right() + 3);
        }
    }

    const QString text = m.textMatrix(r, c);
    if (!text.isEmpty()) {
        const CellFont cf = m.cellFont(r, c);
        QFont f(cf.name);
        f.setPointSizeF((cf.size > 0 ? cf.size : 8.0) * textScale());
        f.setBold(cf.bold);
        f.setItalic(cf.italic);
        f.setUnderline(cf.underline);
        f.setStrikeOut(cf.strikethrough);
        const int vertical = text.contains(QChar(10)) ? Qt::AlignTop : Qt::AlignVCenter;
        // A heading (a time, a consultant) wider than its fixed cell is drawn
        // smaller rather than cut: the desktop's font may be wider than the
        // one the column widths were made for.
        if (fixed) {
            const int wide = QFontMetrics(f).boundingRect(textRect, vertical, text).width();
            if (wide > textRect.width() && wide > 0)
                f.setPointSizeF(f.pointSizeF() * std::max(0.6, double(textRect.width()) / wide));
        }
        p.setFont(f);
        p.setPen(ink);
        int horizontal = Qt::AlignLeft;
        switch (m.cellAlign(r, c)) {
        case CellAlign::Center: horizontal = Qt::AlignHCenter; break;
        case CellAlign::Right: horizontal = Qt::AlignRight; break;
        default: break;
        }
        // Text wider than its cell keeps its beginning readable.
        if (horizontal != Qt::AlignLeft
            && p.fontMetrics().boundingRect(textRect, vertical | horizontal, text).width() > textRect.width())
            horizontal = Qt::AlignLeft;
        p.drawText(textRect, vertical | horizontal, text);
    }

    if (!fixed && r == m.row() && c == m.col() && inner.width() > 3 && inner.height() > 3) {
        QPen pen(ink, 1, hasFocus() ? Qt::SolidLine : Qt::DotLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(inner.adjusted(0, 0, -1, -1));
        if (hasFocus())
            p.drawRect(inner.adjusted(1, 1, -2, -2));
    }
}

QPixmap GridView::picture(const QByteArray &bytes)
{
    auto it = m_pictures.constFind(bytes);
    if (it != m_pictures.constEnd())
        return *it;
    QPixmap px;
    px.loadFromData(bytes);
    if (m_pictures.size() > 64)
        m_pictures.clear();
    m_pictures.insert(bytes, px);
    return px;
}

} // namespace ui
