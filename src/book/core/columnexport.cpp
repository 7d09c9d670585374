#include "book/core/columnexport.h"

#include "book/core/pagesession.h"
#include "book/pages/pagepos.h"
#include "ui/core/gridmodel.h"
#include "ui/core/textdelivery.h"

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

void exportColumn(ui::Services &services, const PageSession &session)
{
    const ui::GridModel &grid = session.grid();
    const int col = std::max(int(pos::FirstCol), grid.col());
    if (session.page().id == 0 || col >= grid.cols())
        return;
    const QString text = columnExportText(grid, col, session.dateCaption(), session.dayCaption());
    ui::deliverText(services,
                    QStringLiteral("Appointment Schedule %1 column %2")
                        .arg(session.page().date.toString(Qt::ISODate))
                        .arg(col),
                    text);
}

} // namespace book
