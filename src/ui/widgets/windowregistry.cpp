#include "ui/widgets/windowregistry.h"

#include "ui/widgets/accessiblenames.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QWindow>

namespace ui {

namespace {
const char *const ProgramCloseProperty = "quillonClosingByProgram";
}

WindowRegistry::WindowRegistry(QObject *parent) : QObject(parent) {}

WindowRegistry::~WindowRegistry()
{
    for (auto &w : m_windows)
        if (w) {
            w->setProperty(ProgramCloseProperty, true);
            delete w.data();
        }
}

void WindowRegistry::add(const QString &name, Factory factory)
{
    m_factories.insert(name, std::move(factory));
}

void WindowRegistry::show(const QString &name)
{
    QPointer<QWidget> &w = m_windows[name];
    if (!w) {
        const auto f = m_factories.constFind(name);
        if (f == m_factories.constEnd() || !m_services) {
            m_windows.remove(name);
            qWarning("No window registered as %s", qPrintable(name));
            return;
        }
        w = (*f)(*m_services);
        if (!w) {
            m_windows.remove(name);
            return;
        }
        w->setObjectName(name);
        w->setAttribute(Qt::WA_DeleteOnClose, true);
        nameControls(w);
        connect(w.data(), &QObject::destroyed, this, [this, name] {
            auto it = m_windows.find(name);
            if (it != m_windows.end() && !it.value())
                m_windows.erase(it);
        });
    }
    if (w->isMinimized())
        w->showNormal();
    else
        w->show();
    w->raise();
    w->activateWindow();
    emit windowShown(name);
}

void WindowRegistry::hide(const QString &name)
{
    if (QWidget *w = window(name))
        w->hide();
}

void WindowRegistry::unload(const QString &name)
{
    auto it = m_windows.find(name);
    if (it == m_windows.end())
        return;
    QPointer<QWidget> w = it.value();
    m_windows.erase(it);
    if (!w)
        return;
    w->setProperty(ProgramCloseProperty, true);
    w->hide();
    // The window may be running the very handler that unloads it.
    w->deleteLater();
}

bool WindowRegistry::isLoaded(const QString &name) const
{
    const auto it = m_windows.constFind(name);
    return it != m_windows.constEnd() && it.value();
}

void WindowRegistry::quit()
{
    for (auto it = m_windows.begin(); it != m_windows.end(); ++it)
        if (it.value()) {
            it.value()->setProperty(ProgramCloseProperty, true);
            it.value()->hide();
            it.value()->deleteLater();
        }
    m_windows.clear();
    emit quitRequested();
}

QWidget *WindowRegistry::window(const QString &name) const
{
    const auto it = m_windows.constFind(name);
    return it == m_windows.constEnd() ? nullptr : it.value().data();
}

bool WindowRegistry::closingByProgram(const QWidget *w)
{
    return w && w->property(ProgramCloseProperty).toBool();
}

void backToMenuLater(Services &services)
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&services] { services.windows.show(win::Menu); },
        Qt::QueuedConnection);
}

namespace {

const QScreen *screenOf(const QWidget *w)
{
    return w->screen() ? w->screen() : QGuiApplication::primaryScreen();
}

QMargins ownFrame(const QWidget *w)
{
    const QRect f = w->frameGeometry(), g = w->geometry();
    if (!w->isVisible() || f.size() == g.size())
        return QMargins();
    const QMargins m(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
    const QScreen *s = screenOf(w);
    return !s || plausibleFrame(m, s->geometry().size()) ? m : QMargins();
}

} // namespace

bool plausibleFrame(const QMargins &m, const QSize &screen)
{
    return m.left() >= 0 && m.top() >= 0 && m.right() >= 0 && m.bottom() >= 0 &&
           m.left() + m.right() < screen.width() / 4 && m.top() + m.bottom() < screen.height() / 4;
}

bool isFramed(const QWidget *w)
{
    return !ownFrame(w).isNull();
}

QMargins frameMargins(const QWidget *w)
{
    const QMargins own = ownFrame(w);
    if (!own.isNull() || (w->windowFlags() & Qt::FramelessWindowHint))
        return own;
    // Until the window manager has framed this window, another framed window
    // of the program tells the size of the title bar and borders.
    for (const QWidget *other : QApplication::topLevelWidgets()) {
        if (other == w || (other->windowFlags() & Qt::FramelessWindowHint))
            continue;
        const QMargins m = ownFrame(other);
        if (!m.isNull())
            return m;
    }
    return QMargins();
}

void placeFrame(QWidget *w, const QRect &frame)
{
    const QMargins m = frameMargins(w);
    const QRect inside = frame.marginsRemoved(m);
    if (isFramed(w) || (w->windowFlags() & Qt::FramelessWindowHint)) {
        w->setGeometry(inside);
        return;
    }
    // Not framed yet. Placing the inside at its guessed spot would leave
    // the title bar above the screen whenever the guess is wrong (or there
    // is none): the window manager puts the inside where it is asked to and
    // the frame around it. So the spot asked for is the frame's.
    w->resize(inside.size());
    if (!w->testAttribute(Qt::WA_WState_Created))
        w->move(frame.topLeft());   // a window not made yet keeps it as its frame's
    else if (QWindow *h = w->windowHandle())
        h->setFramePosition(frame.topLeft());
}

QRect taskFrame(const QWidget *w)
{
    const QScreen *screen = screenOf(w);
    if (!screen)
        return w->frameGeometry();
    const QRect avail = screen->availableGeometry();
    const int dpiY = screen->logicalDotsPerInchY() > 0 ? int(screen->logicalDotsPerInchY()) : 96;
    const int less = 280 * dpiY / 1440;
    return QRect(avail.left(), avail.top(), avail.width(), avail.height() - less);
}

void placeTaskWindow(QWidget *w)
{
    placeFrame(w, taskFrame(w));
}

QRect centredFrame(const QWidget *w, const QSize &size)
{
    const QScreen *screen = screenOf(w);
    if (!screen)
        return QRect(QPoint(0, 0), size);
    const QRect avail = screen->availableGeometry();
    const QMargins m = frameMargins(w);
    const QSize frame(std::min(size.width() + m.left() + m.right(), avail.width()),
                      std::min(size.height() + m.top() + m.bottom(), avail.height()));
    return QRect(avail.left() + (avail.width() - frame.width()) / 2,
                 avail.top() + (avail.height() - frame.height()) / 2, frame.width(), frame.height());
}

} // namespace ui
