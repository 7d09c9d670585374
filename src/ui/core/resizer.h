#pragma once

#include <QRectF>
#include <QSizeF>
#include <vector>

namespace ui {

// What the layout scaler needs of a window: its inner size and its controls'
// geometry and font sizes. A control that refuses a value returns false.
class LayoutTarget {
public:
    virtual ~LayoutTarget() = default;
    virtual QSizeF innerSize() const = 0;
    virtual void setHeight(double height) = 0;
    virtual int controlCount() const = 0;
    virtual bool geometry(int index, QRectF &out) const = 0;
    virtual bool fontSize(int index, double &out) const = 0;
    virtual bool setGeometry(int index, const QRectF &r) = 0;
    virtual bool setFontSize(int index, double size) = 0;
};

// Moves and resizes every recorded control in proportion to the window's
// inner size, always relative to the recorded layout.
class Resizer {
public:
    bool resizeFont = false;
    bool keepRatio = false;

    explicit Resizer(LayoutTarget &target) : m_target(target) {}

    void windowLoaded();   // take the ratio, forget the recorded layout
    void windowResized();  // first time: rebuild; afterwards: refresh
    void rebuild();
    void refresh();

    bool recorded() const { return m_width != 0.0; }

private:
    struct Entry {
        QRectF rect;
        double fontSize = 0.0;
    };
    LayoutTarget &m_target;
    double m_ratio = 0.0;
    double m_width = 0.0;
    double m_height = 0.0;
    std::vector<Entry> m_entries;
    bool m_busy = false;
};

} // namespace ui
