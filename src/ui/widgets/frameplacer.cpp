#include "ui/widgets/frameplacer.h"

#include "ui/widgets/windowregistry.h"

#include <QEvent>
#include <QWidget>

namespace ui {

FramePlacer::FramePlacer(QWidget *window, std::function<QRect()> where)
    : QObject(window), m_window(window), m_where(std::move(where))
{
    window->installEventFilter(this);
}

void FramePlacer::beforeShow()
{
    if (m_window->isVisible())
        return;
    m_framedPlaced = false;
    place();
}

void FramePlacer::place()
{
    placeFrame(m_window, m_where());
}

bool FramePlacer::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type t = event->type();
    if (watched == m_window && !m_framedPlaced && (t == QEvent::Show || t == QEvent::Move || t == QEvent::Resize) &&
        m_window->isVisible() && isFramed(m_window)) {
        m_framedPlaced = true;
        place();
    }
    return false;
}

} // namespace ui
