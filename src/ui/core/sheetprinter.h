#pragma once

#include <QString>
#include <functional>

namespace ui {

class OutputSurface;

// A print job on sheets of A4: the default printer, or a PDF file. The core
// draws on the surface it is handed; what went wrong comes back as the
// text the user is to read, empty when the job went through.
class SheetPrinter {
public:
    // Like a printer's printable area, the drawing area lies this many twips
    // inside each edge of the sheet, the same on every printer, PDF and
    // preview, so they are alike to the twip.
    static constexpr double Unprintable = 360;

    virtual ~SheetPrinter() = default;
    virtual QString print(const QString &docName, bool landscape, const std::function<void(OutputSurface &)> &draw) = 0;
};

} // namespace ui
