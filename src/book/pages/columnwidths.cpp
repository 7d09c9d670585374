#include "book/pages/columnwidths.h"

#include "book/pages/pagepos.h"

#include <QStringList>
#include <cmath>
#include <limits>

namespace book::widths {

int defaultColumnWidth(int gridColumns)
{
    switch (gridColumns) {
    case 2: return 7800;
    case 3: return 3850;
    case 4: return 2550;
    default: return 1940;
    }
}

std::vector<int> columnWidths(int gridColumns, const QString &cwidth, double widthFactor)
{
    std::vector<int> out(static_cast<size_t>(std::max(gridColumns, 1)));
    out[pos::TimeCol] = static_cast<int>(std::lround(TimeColumnWidth * widthFactor));
    const int def = static_cast<int>(std::lround(defaultColumnWidth(gridColumns) * widthFactor));
    const QStringList stored = cwidth.split(QLatin1Char('%'));
    for (int c = pos::FirstCol; c < gridColumns; ++c) {
        int w = def;
        if (pos::textCol(c) < stored.size()) {
            bool ok = false;
            const double v = stored[pos::textCol(c)].trimmed().toDouble(&ok);
            // One that rounds to no twips or past any int would hide the
            // column: such an entry leaves it at its default.
            if (ok && v >= 0.5 && v <= std::numeric_limits<int>::max())
                w = static_cast<int>(std::lround(v));
        }
        out[static_cast<size_t>(c)] = w;
    }
    return out;
}

QString storedForm(const std::vector<int> &consultantWidths)
{
    QString out;
    for (int w : consultantWidths)
        out += QString::number(w) + QLatin1Char('%');
    return out;
}

} // namespace book::widths
