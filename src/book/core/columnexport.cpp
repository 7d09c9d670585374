#include "book/core/columnexport.h"

#include "book/pages/pagepos.h"
#include "ui/core/gridmodel.h"

#include <algorithm>

namespace book {

namespace {

const QString Crlf = QStringLiteral("\r\n");
const QString Indent(10, QLatin1Char(' '));

QString indented(QString cell)
{
    return cell.replace(QLatin1Char('\n'), Crlf + Indent);
}

} // namespace

QString columnExportText(const ui::GridModel &grid, int col, const QString &dateCaption,
                         const QString &weekdayCaption)
{
    QString out = QStringLiteral("Appointment Schedule:  ") + dateCaption + QStringLiteral("  ") + weekdayCaption
                  + Crlf + Crlf;
    out += grid.textMatrix(pos::NumberRow, col) + QString(9, QLatin1Char(' ')) + grid.textMatrix(pos::NameRow, col)
           + Crlf + Crlf;
    out += Indent + grid.textMatrix(pos::FreeRow, col);
    const int afterTimes = grid.rows() - pos::TrailingFreeRows;
    for (int r = pos::FirstTimeRow; r < afterTimes; ++r)
        out += Crlf + grid.textMatrix(r, pos::TimeCol) + QStringLiteral("  ") + indented(grid.textMatrix(r, col)) + Crlf;
    // The free rows after the times hold notes; a line break in them would
    // otherwise be a bare LF among CR LF lines.
    for (int r = std::max(afterTimes, int(pos::FirstTimeRow)); r < grid.rows(); ++r)
        out += Indent + indented(grid.textMatrix(r, col)) + Crlf;
    return out;
}

} // namespace book
