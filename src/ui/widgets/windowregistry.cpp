#include "ui/widgets/windowregistry.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>

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

QMargins ownFrame(const QWidget *w)
{
    const QRect f = w->frameGeometry(), g = w->geometry();
    if (!w->isVisible() || f.size() == g.size())
        return QMargins();
    return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(),
                    f.bottom() - g.bottom());
}

} // namespace

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
    // The client area goes inside the frame; placing it at the frame's spot
    // would push the title bar off the screen.
    w->setGeometry(frame.marginsRemoved(frameMargins(w)));
}

void placeTaskWindow(QWidget *w)
{
    const QScreen *screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect avail = screen->availableGeometry();
    const int dpiY = screen->logicalDotsPerInchY() > 0 ? int(screen->logicalDotsPerInchY()) : 96;
    const int less = 280 * dpiY / 1440;
    placeFrame(w, QRect(avail.left(), avail.top(), avail.width(), avail.height() - less));
}

} // namespace ui
