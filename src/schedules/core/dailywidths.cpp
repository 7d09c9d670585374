#include "schedules/core/dailywidths.h"

#include "book/pages/columnwidths.h"

#include <QStringList>
#include <cmath>

namespace schedules {

std::vector<int> dailyWidths(int columns, const QString &dwidth, double widthFactor)
{
    std::vector<int> out = book::widths::columnWidths(columns, QString(), widthFactor);
    const QStringList stored = dwidth.split(QLatin1Char('%'));
    for (int c = 0; c < columns && c < stored.size(); ++c) {
        bool ok = false;
        const double v = stored[c].trimmed().toDouble(&ok);
        if (ok && v >= 0 && v <= 32767)
            out[static_cast<size_t>(c)] = static_cast<int>(std::lround(v * widthFactor));
    }
    return out;
}

QString dwidthText(const ui::GridModel &grid, double widthFactor)
{
    const double f = widthFactor > 0 ? widthFactor : 1.0;
    QString out;
    for (int c = 0; c < grid.cols(); ++c)
        out += QString::number(std::lround(grid.colWidth(c) / f)) + QLatin1Char('%');
    return out;
}

} // namespace schedules
