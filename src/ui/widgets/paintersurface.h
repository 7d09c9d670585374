#pragma once

#include "ui/core/outputsurface.h"

#include <QFont>
#include <QPainter>

class QPaintDevice;

namespace ui {

// The output surface over a QPainter on any paint device; its pixels are the
// device's dots. Printer, PDF and preview picture differ only in their
// sheets: how big they are and what a new page is.
class PainterSurface : public OutputSurface {
public:
    CellFont font() const override { return m_font; }
    void setFont(const CellFont &font) override;
    double textHeight(const QString &text) const override;
    double dpiX() const override { return m_dpiX; }
    double dpiY() const override { return m_dpiY; }
    void setDrawWidth(int width) override;
    void line(double x1, double y1, double x2, double y2, Bgr colour = 0) override;
    void box(double x1, double y1, double x2, double y2) override;
    void boxPixels(const QRect &r) override;
    void fillPixels(const QRect &r, Bgr colour) override;
    void textPixels(const QRect &r, const QString &text, int flags, Bgr background) override;
    double textWidth(const QString &text) const override;
    void textAt(double x, double y, const QString &text, Bgr colour = 0) override;
    QSizeF pictureSize(const QByteArray &picture) const override;
    bool paintPicture(const QByteArray &picture, double x, double y, double w, double h) override;

    static QFont qfont(const CellFont &font);
    // The number of font changes made so far (the engine keeps them few).
    int fontChanges() const { return m_fontChanges; }

protected:
    // Starts painting on the device; false when it cannot be painted on.
    bool begin(QPaintDevice *device, double dpiX, double dpiY);
    void end();
    QPainter &painter() { return m_painter; }
    QPaintDevice *device() const { return m_device; }

private:
    void applyPen();

    double lineHeight() const;   // twips of one line of the current font

    QPainter m_painter;
    QPaintDevice *m_device = nullptr;
    double m_dpiX = 96, m_dpiY = 96;
    CellFont m_font;
    QFont m_qfont;
    QFont m_measure;             // the current font on the measuring device
    int m_drawWidth = 1;
    int m_fontChanges = 0;
};

} // namespace ui
