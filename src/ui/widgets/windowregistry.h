#pragma once

#include "ui/core/services.h"
#include "ui/core/windows.h"

#include <QHash>
#include <QObject>
#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <functional>

namespace ui {

// The program's windows by name: each is created on first show, single
// instance and modeless, and destroyed on unload. Subsystems add factories
// for their windows; nobody includes another subsystem's window classes.
class WindowRegistry : public QObject, public Windows {
    Q_OBJECT
public:
    using Factory = std::function<QWidget *(Services &)>;

    explicit WindowRegistry(QObject *parent = nullptr);
    ~WindowRegistry() override;

    void setServices(Services *services) { m_services = services; }
    void add(const QString &name, Factory factory);
    bool has(const QString &name) const { return m_factories.contains(name); }

    void show(const QString &name) override;
    void hide(const QString &name) override;
    void unload(const QString &name) override;
    bool isLoaded(const QString &name) const override;
    void quit() override;

    QWidget *window(const QString &name) const;
    // The window the program is unloading itself (its close is not the user's).
    static bool closingByProgram(const QWidget *w);

signals:
    void windowShown(const QString &name);
    void quitRequested();

private:
    QHash<QString, Factory> m_factories;
    QHash<QString, QPointer<QWidget>> m_windows;
    Services *m_services = nullptr;
};

// The factory of a window that loads its data when it is made: a window
// whose load fails (the user has been told why) is not shown, and the main
// menu comes back once the registry has finished with it.
void backToMenuLater(Services &services);

template <class W>
WindowRegistry::Factory loadingWindow()
{
    return [](Services &services) -> QWidget * {
        auto *w = new W(services);
        if (w->load())
            return w;
        delete w;
        backToMenuLater(services);
        return nullptr;
    };
}

// The frame a window manager puts around `w` (title bar, borders): its own
// once it has one, else that of another framed window of the program, else
// none. Margins no frame can have (read while the window manager was still
// resizing a window) count as unknown.
QMargins frameMargins(const QWidget *w);
// Whether the window manager has framed `w`: its own frame is known.
bool isFramed(const QWidget *w);
// Whether `m` can be the frame of a window on a screen of `screen`'s size.
bool plausibleFrame(const QMargins &m, const QSize &screen);
// Gives `w` the place whose frame, title bar included, is `frame`. Before
// its own frame is known the window manager is asked to put the frame's
// corner there, so the title bar is on the screen whatever the frame turns
// out to be; the window is sized by the frame it will probably get.
void placeFrame(QWidget *w, const QRect &frame);

// The frame every task window takes on the screen of `w`: the full width of
// the screen and its height less 280 twips, at the top edge.
QRect taskFrame(const QWidget *w);
// Shows a window at taskFrame(), as every task window comes forward.
void placeTaskWindow(QWidget *w);
// The frame of a window of `size` (its inside) centred on the screen of
// `w`, and kept inside the screen.
QRect centredFrame(const QWidget *w, const QSize &size);

} // namespace ui
