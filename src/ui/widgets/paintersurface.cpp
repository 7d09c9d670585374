#include "ui/widgets/paintersurface.h"

#include "ui/widgets/qtcolour.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// Texts are measured on one device of 1440 dots per inch, whatever they are
// drawn on, so a screen preview and a printer lay out a table alike to the
// twip: the same line breaks, row heights and page breaks.
QPaintDevice *measuringDevice()
{
    static QImage device = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        const int perMetre = static_cast<int>(std::lround(1440 / 0.0254));
        i.setDotsPerMeterX(perMetre);
        i.setDotsPerMeterY(perMetre);
        return i;
    }();
    return &device;
}

} // namespace

QFont PainterSurface::qfont(const CellFont &f)
{
    QFont q(f.name);
    q.setPointSizeF(f.size > 0 ? f.size : 8.0);
    q.setBold(f.bold);
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    q.setStrikeOut(f.strikethrough);
    // Unhinted glyphs keep their widths in proportion at every resolution,
    // so a line measured to fit fits on the screen too.
    q.setHintingPreference(QFont::PreferNoHinting);
    return q;
}

bool PainterSurface::begin(QPaintDevice *device, double dpiX, double dpiY)
{
    m_device = device;
    m_dpiX = dpiX > 0 ? dpiX : 96;
    m_dpiY = dpiY > 0 ? dpiY : 96;
    if (!m_painter.begin(device))
        return false;
    m_painter.setRenderHint(QPainter::TextAntialiasing);
    m_qfont = QFont(qfont(m_font), device);
    m_measure = QFont(qfont(m_font), measuringDevice());
    m_painter.setFont(m_qfont);
    applyPen();
    return true;
}

void PainterSurface::end()
{
    if (m_painter.isActive())
        m_painter.end();
}

void PainterSurface::setFont(const CellFont &font)
{
    ++m_fontChanges;
    m_font = font;
    m_qfont = m_device ? QFont(qfont(font), m_device) : qfont(font);
    m_measure = QFont(qfont(font), measuringDevice());
    if (m_painter.isActive())
        m_painter.setFont(m_qfont);
}

double PainterSurface::lineHeight() const
{
    // The measuring device's dots are twips.
    return QFontMetricsF(m_measure, measuringDevice()).height();
}

double PainterSurface::textHeight(const QString &text) const
{
    const qsizetype lines = text.count(QLatin1Char('\n')) + 1;
    return lineHeight() * static_cast<double>(lines);
}

void PainterSurface::applyPen()
{
    if (!m_painter.isActive())
        return;
    // Widths are screen pixels (1/96 inch), so frames keep their weight on
    // a fine printer.
    const double w = std::max(1.0, std::round(m_drawWidth * m_dpiX / 96.0));
    QPen pen(Qt::black);
    pen.setWidthF(w);
    pen.setJoinStyle(Qt::MiterJoin);
    m_painter.setPen(pen);
    m_painter.setBrush(Qt::NoBrush);
}

void PainterSurface::setDrawWidth(int width)
{
    m_drawWidth = std::max(width, 0);
    applyPen();
}

void PainterSurface::line(double x1, double y1, double x2, double y2, Bgr colour)
{
    m_painter.save();
    QPen pen = m_painter.pen();
    pen.setColor(toQColor(colour));
    m_painter.setPen(pen);
    m_painter.drawLine(QPointF(toPixelsX(x1), toPixelsY(y1)), QPointF(toPixelsX(x2), toPixelsY(y2)));
    m_painter.restore();
}

void PainterSurface::box(double x1, double y1, double x2, double y2)
{
    m_painter.drawRect(QRectF(QPointF(toPixelsX(x1), toPixelsY(y1)), QPointF(toPixelsX(x2), toPixelsY(y2))));
}

void PainterSurface::boxPixels(const QRect &r)
{
    if (m_drawWidth == 0)
        return;
    m_painter.drawRect(QRectF(r.left(), r.top(), r.right() - r.left(), r.bottom() - r.top()));
}

void PainterSurface::fillPixels(const QRect &r, Bgr colour)
{
    m_painter.fillRect(QRectF(r.left(), r.top(), r.right() - r.left(), r.bottom() - r.top()), toQColor(colour));
}

void PainterSurface::textPixels(const QRect &r, const QString &text, int flags, Bgr background)
{
    const QRectF rect(r.left(), r.top(), r.right() - r.left(), r.bottom() - r.top());
    if (text.isEmpty() || rect.width() <= 0 || rect.height() <= 0)
        return;
    int qt = 0;
    switch (flags & 0x3) {
    case AlignCenter: qt |= Qt::AlignHCenter; break;
    case AlignRight: qt |= Qt::AlignRight; break;
    default: qt |= Qt::AlignLeft; break;
    }
    qt |= (flags & VCenter) ? Qt::AlignVCenter : Qt::AlignTop;
    m_painter.save();
    m_painter.setClipRect(rect);
    if (background >= 0) {
        m_painter.setBackgroundMode(Qt::OpaqueMode);
        m_painter.setBackground(toQColor(background));
    }
    m_painter.setPen(Qt::black);
    if (flags & SingleLine) {
        m_painter.drawText(rect, qt | Qt::TextSingleLine, text);
    } else {
        // Line by line, each as high as it was measured, so a text takes
        // the same room on every device.
        const QStringList lines =
            (flags & WordBreak) ? wrap(text, toTwipsX(rect.width())) : text.split(QLatin1Char('\n'));
        const double step = toPixelsY(lineHeight());
        double y = rect.top();
        for (const QString &line : lines) {
            m_painter.drawText(QRectF(rect.left(), y, rect.width(), step), (qt & ~Qt::AlignVCenter) | Qt::AlignTop,
                               line);
            y += step;
        }
    }
    m_painter.restore();
}

double PainterSurface::textWidth(const QString &text) const
{
    const QFontMetricsF fm(m_measure, measuringDevice());
    double widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, fm.horizontalAdvance(line));
    return widest;
}

void PainterSurface::textAt(double x, double y, const QString &text, Bgr colour)
{
    m_painter.save();
    m_painter.setPen(toQColor(colour));
    const QPointF at(toPixelsX(x), toPixelsY(y));
    m_painter.drawText(QRectF(at, QSizeF(1e6, 1e6)), Qt::AlignLeft | Qt::AlignTop, text);
    m_painter.restore();
}

QSizeF PainterSurface::pictureSize(const QByteArray &picture) const
{
    const QImage img = QImage::fromData(picture);
    if (img.isNull())
        return {};
    const double dx = img.dotsPerMeterX() > 0 ? img.dotsPerMeterX() * 0.0254 : 96.0;
    const double dy = img.dotsPerMeterY() > 0 ? img.dotsPerMeterY() * 0.0254 : 96.0;
    return QSizeF(img.width() * 1440.0 / dx, img.height() * 1440.0 / dy);
}

bool PainterSurface::paintPicture(const QByteArray &picture, double x, double y, double w, double h)
{
    const QImage img = QImage::fromData(picture);
    if (img.isNull())
        return false;
    m_painter.drawImage(QRectF(toPixelsX(x), toPixelsY(y), toPixelsX(w), toPixelsY(h)), img);
    return true;
}

} // namespace ui
