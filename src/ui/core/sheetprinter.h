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
    virtual ~SheetPrinter() = default;
    virtual QString print(const QString &docName, bool landscape, const std::function<void(OutputSurface &)> &draw) = 0;
};

} // namespace ui
