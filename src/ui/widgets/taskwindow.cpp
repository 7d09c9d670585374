#include "ui/widgets/taskwindow.h"

#include "ui/core/widthfactor.h"
#include "ui/widgets/windowregistry.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>

namespace ui {

TaskWindow::TaskWindow(QWidget *parent)
    : QMainWindow(parent, Qt::Window), m_placer(new FramePlacer(this, [this] { return taskFrame(this); }))
{
}

double TaskWindow::widthFactor() const
{
    return widthFactorFor(this);
}

double TaskWindow::widthFactorFor(const QWidget *w)
{
    const QScreen *s = w && w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!s)
        return 1.0;
    return ui::widthFactor(s->geometry().width(), s->logicalDotsPerInchX());
}

bool TaskWindow::closingByProgram() const
{
    return WindowRegistry::closingByProgram(this);
}

void TaskWindow::setVisible(bool visible)
{
    // Placed before it shows, so that the window manager puts the frame at
    // the top edge from the start.
    if (visible)
        m_placer->beforeShow();
    QMainWindow::setVisible(visible);
}

bool TaskWindow::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate) {
        m_placer->place();
        activated();
    }
    return QMainWindow::event(e);
}

void TaskWindow::closeEvent(QCloseEvent *e)
{
    if (closingByProgram() || closeByUser())
        e->accept();
    else
        e->ignore();
}

BusyPointer::BusyPointer()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyPointer::~BusyPointer()
{
    QApplication::restoreOverrideCursor();
}

} // namespace ui
