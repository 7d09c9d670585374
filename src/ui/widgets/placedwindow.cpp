#include "ui/widgets/placedwindow.h"

#include "ui/widgets/frameplacer.h"

namespace ui {

PlacedWindow::PlacedWindow(QWidget *parent)
    : QWidget(parent, Qt::Window), m_placer(new FramePlacer(this, [this] { return frame(); }))
{
}

void PlacedWindow::setVisible(bool visible)
{
    if (visible)
        m_placer->beforeShow();
    QWidget::setVisible(visible);
}

void PlacedWindow::placeAgain()
{
    m_placer->place();
}

} // namespace ui
