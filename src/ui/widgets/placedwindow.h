#pragma once

#include <QRect>
#include <QWidget>

namespace ui {

class FramePlacer;

// A window of its own (not a task window) whose frame goes where frame()
// says each time it shows.
class PlacedWindow : public QWidget {
    Q_OBJECT
public:
    void setVisible(bool visible) override;

protected:
    explicit PlacedWindow(QWidget *parent);

    // Where the frame goes, title bar included.
    virtual QRect frame() const = 0;
    // Puts it there again now (the window is already showing).
    void placeAgain();

private:
    FramePlacer *m_placer;
};

} // namespace ui
