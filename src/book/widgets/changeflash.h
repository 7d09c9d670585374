#pragma once

#include "book/pages/pagestore.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

namespace ui {
class GridView;
}

namespace book {

// Draws a fading frame around the cells another station just changed, over
// the grid, so that the receptionist notices them. It takes no mouse input
// and never changes what the grid shows.
class ChangeFlash : public QWidget {
public:
    static constexpr int DurationMs = 2000;

    explicit ChangeFlash(ui::GridView *grid);
    void flash(const CellList &cells);

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    ui::GridView *m_grid;
    CellList m_cells;
    QElapsedTimer m_age;
    QTimer m_tick;
};

} // namespace book
