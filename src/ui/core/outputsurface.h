#pragma once

#include "ui/core/colours.h"
#include "ui/core/gridmodel.h"

#include <QByteArray>
#include <QRect>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace ui {

// Where a table is drawn: a printer page, a PDF page or the picture of an
// on-screen preview. Lengths are twips (1440 per inch) unless they say
// pixels; a pixel is a dot of the device behind the surface, so frames and
// cell rectangles snap to what the device can show.
class OutputSurface {
public:
    // Text flags, as the table engine combines them.
    enum TextFlag {
        AlignLeft = 0x0,
        AlignCenter = 0x1,
        AlignRight = 0x2,
        VCenter = 0x4,
        WordBreak = 0x10,
        SingleLine = 0x20,
        NoPrefix = 0x800,
    };

    virtual ~OutputSurface() = default;

    virtual CellFont font() const = 0;
    virtual void setFont(const CellFont &font) = 0;

    // Usable height of the drawing area: the page, or the whole picture.
    virtual double scaleHeight() const = 0;
    virtual double scaleWidth() const = 0;
    double currentY() const { return m_currentY; }
    void setCurrentY(double y) { m_currentY = y; }
    // Height of a text in the current font: one line per explicit line
    // break, no word wrap; an empty text is one line high.
    virtual double textHeight(const QString &text) const = 0;

    // Device dots per inch, and the twips <-> pixels conversions over it.
    virtual double dpiX() const = 0;
    virtual double dpiY() const = 0;
    double toPixelsX(double twips) const { return twips * dpiX() / 1440.0; }
    double toPixelsY(double twips) const { return twips * dpiY() / 1440.0; }
    double toTwipsX(double pixels) const { return pixels * 1440.0 / dpiX(); }
    double toTwipsY(double pixels) const { return pixels * 1440.0 / dpiY(); }

    // Pen width of frames and lines, in screen pixels (1/96 inch): a one
    // pixel frame stays visible on a 1200 dpi printer.
    virtual void setDrawWidth(int width) = 0;
    // A line, and a rectangle's outline, in the foreground colour.
    virtual void line(double x1, double y1, double x2, double y2, Bgr colour = 0) = 0;   // twips
    virtual void box(double x1, double y1, double x2, double y2) = 0;                    // twips
    virtual void boxPixels(const QRect &r) = 0;
    virtual void fillPixels(const QRect &r, Bgr colour) = 0;
    // Text into a rectangle with the flags; the rectangle is filled with the
    // background first (opaque text background) and the text clipped to it.
    virtual void textPixels(const QRect &r, const QString &text, int flags, Bgr background) = 0;
    // Width of a text's longest line in the current font.
    virtual double textWidth(const QString &text) const = 0;
    // The lines a text takes in a width, in the current font: its own line
    // breaks, then breaks after a blank or a hyphen, and inside a word only
    // where the word alone is wider than the width. Measured with textWidth,
    // so every surface that measures alike breaks alike.
    QStringList wrap(const QString &text, double width) const;
    // Height of a text wrapped within a width.
    double wrappedHeight(const QString &text, double width) const;
    // Text with its top-left corner at a point, in a colour, no background.
    virtual void textAt(double x, double y, const QString &text, Bgr colour = 0) = 0;   // twips

    // A picture's own size in twips; empty when it cannot be read.
    virtual QSizeF pictureSize(const QByteArray &picture) const = 0;
    // Draws a picture scaled into the rectangle; false when it cannot be read.
    virtual bool paintPicture(const QByteArray &picture, double x, double y, double w, double h) = 0;

    // Starts the next page: a fresh sheet on a printer, one more sheet at the
    // bottom of a preview picture. pageTop() is then where that page starts.
    virtual void newPage() = 0;
    virtual double pageTop() const = 0;

private:
    double m_currentY = 0;
};

} // namespace ui
