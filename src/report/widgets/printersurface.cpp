#include "report/widgets/printersurface.h"

#include <QPrinter>

namespace report {

PrinterSurface::PrinterSurface(QPrinter &printer) : m_printer(printer)
{
    // Margins are the caller's, to the twip.
    m_printer.setFullPage(true);
}

PrinterSurface::~PrinterSurface()
{
    end();
}

bool PrinterSurface::begin()
{
    const double dpi = m_printer.resolution();
    if (!PainterSurface::begin(&m_printer, dpi, dpi))
        return false;
    painter().translate(toPixelsX(Unprintable), toPixelsY(Unprintable));
    return true;
}

void PrinterSurface::finish()
{
    end();
}

double PrinterSurface::scaleHeight() const
{
    return toTwipsY(m_printer.paperRect(QPrinter::DevicePixel).height()) - 2 * Unprintable;
}

double PrinterSurface::scaleWidth() const
{
    return toTwipsX(m_printer.paperRect(QPrinter::DevicePixel).width()) - 2 * Unprintable;
}

void PrinterSurface::newPage()
{
    m_printer.newPage();
    ++m_pages;
}

} // namespace report
