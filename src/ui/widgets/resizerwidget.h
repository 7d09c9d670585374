#pragma once

#include "ui/core/resizer.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace ui {

// The layout scaler a window carries: it records the window's direct child
// widgets when the window is first resized (that is, first shown) and from
// then on moves and resizes them in proportion to the window's inner size.
// Windows laid out with Qt layouts do not need one.
class WidgetResizer : public QObject, private LayoutTarget {
    Q_OBJECT
public:
    // Hooks `window`'s events; the resizer lives as long as the window.
    explicit WidgetResizer(QWidget *window);

    void setResizeFont(bool on) { m_resizer.resizeFont = on; }
    void setKeepRatio(bool on) { m_resizer.keepRatio = on; }
    bool resizeFont() const { return m_resizer.resizeFont; }
    bool keepRatio() const { return m_resizer.keepRatio; }

    // Records the layout anew (after the window's code has changed it).
    void rebuild();
    // Rescales every recorded control to the window's current inner size.
    void refresh();
    bool recorded() const { return m_resizer.recorded(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QSizeF innerSize() const override;
    void setHeight(double height) override;
    int controlCount() const override;
    bool geometry(int index, QRectF &out) const override;
    bool fontSize(int index, double &out) const override;
    bool setGeometry(int index, const QRectF &r) override;
    bool setFontSize(int index, double size) override;

    QWidget *control(int index) const;
    void takeControls();

    QWidget *m_window;
    Resizer m_resizer;
    // The controls as recorded: a control deleted since keeps its slot, so the
    // others keep their records.
    std::vector<QPointer<QWidget>> m_controls;
    bool m_loaded = false;
};

} // namespace ui
