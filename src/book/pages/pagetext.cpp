#include "store/core/pagetext.h"

#include <QRegularExpression>
#include <algorithm>

namespace store::page {

QString encode(const Cells &cells)
{
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(cells.size()));
    for (const QStringList &row : cells)
        rows << row.join(CellSep);
    return rows.join(RowSep);
}

Cells decode(const QString &text)
{
    Cells out;
    if (text.isEmpty())
        return out;
    const QStringList rows = text.split(RowSep);
    out.reserve(static_cast<size_t>(rows.size()));
    for (const QString &row : rows)
        out.push_back(row.split(CellSep));
    return out;
}

QString cellAt(const Cells &cells, int row, int col)
{
    const size_t r = static_cast<size_t>(row - 2);
    if (row < 2 || col < 1 || r >= cells.size() || col - 1 >= cells[r].size())
        return QString();
    return cells[r][col - 1];
}

QString blank(int rows, int cols)
{
    Cells cells(static_cast<size_t>(std::max(rows, 0)));
    for (QStringList &row : cells)
        for (int c = 0; c < cols; ++c)
            row << QString();
    return encode(cells);
}

QString formatTime(int minutesOfDay)
{
    const int m = ((minutesOfDay % 1440) + 1440) % 1440;
    const int h = m / 60;
    const int h12 = h % 12 == 0 ? 12 : h % 12;
    return QStringLiteral("%1:%2 %3")
        .arg(h12, 2, 10, QLatin1Char('0'))
        .arg(m % 60, 2, 10, QLatin1Char('0'))
        .arg(h < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

QString formatTime(const QTime &time)
{
    return formatTime(time.hour() * 60 + time.minute());
}

std::optional<int> parseTime(const QString &text)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*(\\d{1,2})\\s*(?:[:.]\\s*(\\d{1,2}))?\\s*([AaPp])?\\.?\\s*[Mm]?\\.?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    int h = m.captured(1).toInt();
    const int min = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
    const QString ap = m.captured(3).toUpper();
    if (min > 59)
        return std::nullopt;
    if (!ap.isEmpty()) {
        if (h < 1 || h > 12)
            return std::nullopt;
        h = h % 12 + (ap == QLatin1String("P") ? 12 : 0);
    } else if (h > 23) {
        return std::nullopt;
    }
    return h * 60 + min;
}

std::vector<int> timeRows(int openMinutes, int closeMinutes, int slotMinutes)
{
    // A slot of nothing would never reach the closing time.
    const int slot = std::clamp(slotMinutes, 1, 1440);
    std::vector<int> rows{openMinutes};
    int t = openMinutes;
    while (t <= closeMinutes) {
        const int next = t + slot;
        rows.push_back(next);
        if (next + 1 > closeMinutes)
            break;
        t = next;
    }
    return rows;
}

int defaultColumnWidth(int gridColumns)
{
    switch (gridColumns) {
    case 2: return 7800;
    case 3: return 3850;
    case 4: return 2550;
    default: return 1940;
    }
}

QStringList splitList(const QString &list)
{
    QStringList items = list.split(QLatin1Char('%'));
    if (!items.isEmpty() && items.last().isEmpty())
        items.removeLast();
    return items;
}

QString joinList(const QStringList &items)
{
    QString out;
    for (const QString &s : items)
        out += s + QLatin1Char('%');
    return out;
}

QString cleanCell(const QString &text)
{
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QString(LineBreak));
    s.replace(RowSep, LineBreak);
    s.replace(CellSep, QLatin1Char(' '));
    s.removeIf([](QChar ch) { return ch != LineBreak && (ch.unicode() < 32 || ch.unicode() == 127); });
    return s;
}

} // namespace store::page
