#include "book/widgets/changeflash.h"

#include "ui/widgets/gridview.h"

#include <QPainter>

namespace book {

namespace {
constexpr int TickMs = 80;
} // namespace

ChangeFlash::ChangeFlash(ui::GridView *grid) : QWidget(grid->viewport()), m_grid(grid)
{
    setObjectName(QStringLiteral("changeFlash"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    m_tick.setInterval(TickMs);
    // Repainted as it fades, which also follows the grid when it scrolls.
    connect(&m_tick, &QTimer::timeout, this, [this] {
        if (m_age.elapsed() >= DurationMs) {
            m_tick.stop();
            m_cells.clear();
            hide();
            return;
        }
        update();
    });
}

void ChangeFlash::flash(const CellList &cells)
{
    if (cells.empty())
        return;
    m_cells = cells;
    m_age.start();
    setGeometry(m_grid->viewport()->rect());
    show();
    raise();
    m_tick.start();
    update();
}

void ChangeFlash::paintEvent(QPaintEvent *)
{
    const qint64 age = m_age.isValid() ? m_age.elapsed() : DurationMs;
    const double left = 1.0 - std::min<double>(age, DurationMs) / DurationMs;
    if (left <= 0)
        return;
    QPainter p(this);
    QColor edge(230, 120, 0);
    edge.setAlphaF(static_cast<float>(left));
    QColor fill(255, 200, 0);
    fill.setAlphaF(static_cast<float>(0.35 * left));
    p.setPen(QPen(edge, 2));
    for (const auto &[row, col] : m_cells) {
        const QRect r = m_grid->cellRect(row, col).adjusted(1, 1, -1, -1);
        if (!r.intersects(rect()))
            continue;
        p.fillRect(r, fill);
        p.drawRect(r);
    }
}

} // namespace book
