#pragma once

#include <QObject>
#include <QRect>
#include <functional>

class QWidget;

namespace ui {

// Puts a window where `where` says (its frame, title bar included): before
// the window shows, so that the window manager frames it there, and once more
// as soon as it is framed, since only then is the frame's size known. The
// window calls beforeShow() from its setVisible(true).
class FramePlacer : public QObject {
public:
    FramePlacer(QWidget *window, std::function<QRect()> where);

    void beforeShow();
    void place();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    std::function<QRect()> m_where;
    bool m_framedPlaced = false;
};

} // namespace ui
