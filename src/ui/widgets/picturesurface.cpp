#include "ui/widgets/picturesurface.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {
int dots(double twips, double dpi)
{
    return std::max(1, static_cast<int>(std::lround(twips * dpi / 1440.0)));
}
} // namespace

PictureSurface::PictureSurface(double sheetWidthTwips, double sheetHeightTwips, double dpi, double unprintable)
    : m_sheetW(sheetWidthTwips), m_sheetH(sheetHeightTwips), m_dpi(dpi), m_border(std::max(unprintable, 0.0))
{
    m_image = QImage(dots(m_sheetW, m_dpi), dots(m_sheetH, m_dpi), QImage::Format_RGB32);
    m_image.fill(Qt::white);
    start();
}

PictureSurface::~PictureSurface()
{
    end();
}

void PictureSurface::start()
{
    const int perMetre = static_cast<int>(std::lround(m_dpi / 0.0254));
    m_image.setDotsPerMeterX(perMetre);
    m_image.setDotsPerMeterY(perMetre);
    begin(&m_image, m_dpi, m_dpi);
    painter().translate(toPixelsX(m_border), toPixelsY(m_border));
}

// In whole sheets, not in the picture's dots, so that every sheet holds to
// the twip what a printer's does.
double PictureSurface::scaleHeight() const
{
    return m_sheets * m_sheetH - 2 * m_border;
}

double PictureSurface::scaleWidth() const
{
    return m_sheetW - 2 * m_border;
}

void PictureSurface::newPage()
{
    const CellFont f = font();
    end();
    const int oldHeight = m_image.height();
    QImage taller(m_image.width(), oldHeight + dots(m_sheetH, m_dpi), QImage::Format_RGB32);
    taller.fill(Qt::white);
    {
        QPainter p(&taller);
        p.drawImage(0, 0, m_image);
    }
    m_image = taller;
    ++m_sheets;
    start();
    setFont(f);
    m_pageTop = (m_sheets - 1) * m_sheetH;
    setDrawWidth(1);
    const double edge = toTwipsY(oldHeight) - m_border;
    line(-m_border, edge, m_sheetW - m_border, edge, SeparatorColour);
}

QImage PictureSurface::image()
{
    const CellFont f = font();
    end();
    const QImage copy = m_image.copy();
    start();
    setFont(f);
    return copy;
}

} // namespace ui
