#pragma once

#include "ui/widgets/paintersurface.h"

#include <QImage>

namespace ui {

// The picture of an on-screen print preview: white sheets of one size, one
// below the other at screen resolution. A new page makes the picture one
// sheet taller and draws a grey line where the new sheet begins. With an
// unprintable border the drawing area of each sheet lies that far inside its
// edges, as on a printer's sheet.
class PictureSurface : public PainterSurface {
public:
    PictureSurface(double sheetWidthTwips, double sheetHeightTwips, double dpi = 96, double unprintable = 0);
    ~PictureSurface() override;

    double scaleHeight() const override;
    double scaleWidth() const override;
    void newPage() override;
    double pageTop() const override { return m_pageTop; }

    int sheets() const { return m_sheets; }
    // The picture as drawn so far (painting is finished for the copy).
    QImage image();

    static constexpr Bgr SeparatorColour = 0x808080;

private:
    void start();

    QImage m_image;
    double m_sheetW, m_sheetH, m_dpi, m_border;
    double m_pageTop = 0;
    int m_sheets = 1;
};

} // namespace ui
