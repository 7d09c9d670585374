#include "book/pages/pagetext.h"

#include <algorithm>

namespace book::page {

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
    const size_t r = static_cast<size_t>(pos::textRow(row));
    if (!pos::inData(row, col) || r >= cells.size() || pos::textCol(col) >= cells[r].size())
        return QString();
    return cells[r][pos::textCol(col)];
}

void setCellAt(Cells &cells, int row, int col, const QString &text)
{
    if (!pos::inData(row, col))
        return;
    const size_t r = static_cast<size_t>(pos::textRow(row));
    if (cells.size() <= r)
        cells.resize(r + 1);
    QStringList &cellsOfRow = cells[r];
    while (cellsOfRow.size() <= pos::textCol(col))
        cellsOfRow << QString();
    cellsOfRow[pos::textCol(col)] = text;
}

QString blank(int rows, int cols)
{
    Cells cells(static_cast<size_t>(std::max(rows, 0)));
    for (QStringList &row : cells)
        for (int c = 0; c < cols; ++c)
            row << QString();
    return encode(cells);
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

} // namespace book::page
