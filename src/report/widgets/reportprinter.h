#pragma once

#include "report/core/reportengine.h"

#include <QRectF>
#include <memory>

class QPaintDevice;
class QPrinter;
class QTextDocument;

namespace report {

// Lays a rendered report out on a printer's pages with Qt's rich-text engine.
class ReportPrinter {
public:
    // Paper and document name of the report; the whole sheet is the device,
    // margins are applied when painting.
    static void setUp(const RenderedReport &report, QPrinter &printer);

    // Paints every page and returns how many; throws ReportError when the
    // printer cannot be started or the margins leave no room.
    static int paint(const RenderedReport &report, QPrinter &printer);

    // The area printed on, in the printer's device pixels.
    static QRectF bodyRect(const RenderedReport &report, QPrinter &printer);

    // The document laid out for a device, pages of the given size.
    static std::unique_ptr<QTextDocument> document(const RenderedReport &report, QPaintDevice *device,
                                                   const QSizeF &pageSize);
};

} // namespace report
