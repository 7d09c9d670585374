#pragma once

#include "ui/core/outputsurface.h"

#include <QList>
#include <QRect>
#include <QString>

namespace testsupport {

// An output surface that draws nothing and records what it was asked to
// draw. One pixel is one twip, every text line is LineHeight high and every
// character CharWidth wide, and a
// new page either starts a fresh sheet (a printer) or adds one below (a
// preview picture).
class RecordingSurface : public ui::OutputSurface {
public:
    static constexpr double LineHeight = 200;
    static constexpr double CharWidth = 100;

    struct Text {
        QRect rect;
        QString text;
        int flags;
        int page;
    };
    struct Placed {
        double x, y;
        QString text;
        ui::Bgr colour;
        int page;
    };
    struct Fill {
        QRect rect;
        ui::Bgr colour;
    };

    RecordingSurface(double width, double height, bool growing = false)
        : m_width(width), m_sheet(height), m_height(height), m_growing(growing) {}

    ui::CellFont font() const override { return m_font; }
    void setFont(const ui::CellFont &f) override { m_font = f; ++fontChanges; }
    double scaleHeight() const override { return m_height; }
    double scaleWidth() const override { return m_width; }
    double textHeight(const QString &text) const override
    {
        return LineHeight * static_cast<double>(text.count(QLatin1Char('\n')) + 1);
    }
    double dpiX() const override { return 1440; }
    double dpiY() const override { return 1440; }
    void setDrawWidth(int w) override { drawWidth = w; }
    void line(double, double, double, double, ui::Bgr) override { ++lines; }
    void box(double, double, double, double) override { ++lines; }
    void boxPixels(const QRect &r) override { boxes << r; }
    void fillPixels(const QRect &r, ui::Bgr c) override { fills << Fill{r, c}; }
    void textPixels(const QRect &r, const QString &t, int flags, ui::Bgr) override
    {
        texts << Text{r, t, flags, pages};
    }
    double textWidth(const QString &t) const override { return CharWidth * static_cast<double>(t.size()); }
    void textAt(double x, double y, const QString &t, ui::Bgr colour) override
    {
        titles << t;
        placed << Placed{x, y, t, colour, pages};
    }
    QSizeF pictureSize(const QByteArray &p) const override { return p.isEmpty() ? QSizeF() : QSizeF(300, 300); }
    bool paintPicture(const QByteArray &, double x, double y, double w, double h) override
    {
        pictures << QRectF(x, y, w, h);
        return true;
    }
    void newPage() override
    {
        ++pages;
        if (m_growing) {
            m_top = m_height;
            m_height += m_sheet;
        }
    }
    double pageTop() const override { return m_top; }

    QList<Text> textsOf(const QString &t) const
    {
        QList<Text> out;
        for (const Text &x : texts)
            if (x.text == t)
                out << x;
        return out;
    }

    QList<Text> texts;
    QList<Fill> fills;
    QList<QRect> boxes;
    QList<QRectF> pictures;
    QStringList titles;
    QList<Placed> placed;
    int pages = 1;
    int fontChanges = 0;
    int lines = 0;
    int drawWidth = 0;

private:
    ui::CellFont m_font;
    double m_width, m_sheet, m_height;
    double m_top = 0;
    bool m_growing;
};

} // namespace testsupport
