#pragma once

#include "ui/widgets/frameplacer.h"

#include <QMainWindow>

namespace ui {

// The base of every task window. Each time it comes to the front it takes
// the full screen width and the screen height less 280 twips, at the top
// edge; a close by the user (or the system) goes to closeByUser(), while the
// program's own unloading closes it without asking.
class TaskWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TaskWindow(QWidget *parent = nullptr);

    // The width factor of the screen the window is on (the primary screen
    // before it is shown).
    double widthFactor() const;
    static double widthFactorFor(const QWidget *w);

    // The program is unloading the window: its close is not the user's.
    bool closingByProgram() const;

    void setVisible(bool visible) override;

protected:
    // The user's close box; false keeps the window open.
    virtual bool closeByUser() { return true; }
    // Each activation, once the window has taken its place.
    virtual void activated() {}

    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    FramePlacer *m_placer;
};

// The busy pointer for the life of a scope.
class BusyPointer {
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

} // namespace ui
