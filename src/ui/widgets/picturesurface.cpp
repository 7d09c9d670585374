#include "ui/widgets/picturesurface.h"

#include <cmath>

namespace ui {

namespace {
int dots(double twips, double dpi)
{
    return std::max(1, static_cast<int>(std::lround(twips * dpi / 1440.0)));
}
} // namespace

PictureSurface::PictureSurface(double sheetWidthTwips, double sheetHeightTwips, double dpi)
    : m_sheetW(sheetWidthTwips), m_sheetH(sheetHeightTwips), m_dpi(dpi)
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
}

double PictureSurface::scaleHeight() const
{
    return toTwipsY(m_image.height());
}

double PictureSurface::scaleWidth() const
{
    return toTwipsX(m_image.width());
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
    m_pageTop = toTwipsY(oldHeight);
    setDrawWidth(1);
    line(0, m_pageTop, scaleWidth(), m_pageTop, SeparatorColour);
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
