#include "ui/widgets/resizerwidget.h"

#include <QEvent>
#include <cmath>

namespace ui {

WidgetResizer::WidgetResizer(QWidget *window)
    : QObject(window), m_window(window), m_resizer(*this)
{
    window->installEventFilter(this);
}

void WidgetResizer::takeControls()
{
    m_controls.clear();
    for (QObject *o : m_window->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (w && !w->isWindow())
            m_controls.emplace_back(w);
    }
}

void WidgetResizer::rebuild()
{
    takeControls();
    m_resizer.rebuild();
}

void WidgetResizer::refresh()
{
    m_resizer.refresh();
}

bool WidgetResizer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    const QEvent::Type t = event->type();
    if (t != QEvent::Resize && t != QEvent::Show)
        return false;
    // A hidden window is resized only when it is shown: the first of these
    // events is the window's load, after its own code has set the layout.
    if (!m_loaded) {
        m_loaded = true;
        m_resizer.windowLoaded();
    }
    if (t == QEvent::Resize || !m_resizer.recorded()) {
        if (!m_resizer.recorded())
            rebuild();
        else
            refresh();
    }
    return false;
}

QSizeF WidgetResizer::innerSize() const
{
    return QSizeF(m_window->size());
}

void WidgetResizer::setHeight(double height)
{
    if (!std::isfinite(height) || height < 0)
        return;
    m_window->resize(m_window->width(), int(std::lround(height)));
}

int WidgetResizer::controlCount() const
{
    return int(m_controls.size());
}

QWidget *WidgetResizer::control(int index) const
{
    if (index < 0 || index >= int(m_controls.size()))
        return nullptr;
    return m_controls[size_t(index)].data();
}

bool WidgetResizer::geometry(int index, QRectF &out) const
{
    QWidget *w = control(index);
    if (!w)
        return false;
    out = QRectF(w->geometry());
    return true;
}

bool WidgetResizer::fontSize(int index, double &out) const
{
    QWidget *w = control(index);
    if (!w || w->font().pointSizeF() <= 0)
        return false;
    out = w->font().pointSizeF();
    return true;
}

bool WidgetResizer::setGeometry(int index, const QRectF &r)
{
    QWidget *w = control(index);
    if (!w || !std::isfinite(r.left()) || !std::isfinite(r.top()) || !std::isfinite(r.width()) ||
        !std::isfinite(r.height()))
        return false;
    // Round the edges, not the sizes, so neighbouring controls stay flush.
    const int left = int(std::lround(r.left()));
    const int top = int(std::lround(r.top()));
    const int right = int(std::lround(r.left() + r.width()));
    const int bottom = int(std::lround(r.top() + r.height()));
    w->setGeometry(left, top, std::max(0, right - left), std::max(0, bottom - top));
    return true;
}

bool WidgetResizer::setFontSize(int index, double size)
{
    QWidget *w = control(index);
    if (!w || !std::isfinite(size) || size <= 0)
        return false;
    QFont f = w->font();
    f.setPointSizeF(size);
    w->setFont(f);
    return true;
}

} // namespace ui
