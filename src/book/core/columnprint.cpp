#include "book/core/columnprint.h"

#include "book/pages/pagepos.h"
#include "ui/core/gridmodel.h"
#include "ui/core/outputsurface.h"

#include <array>
#include <utility>

namespace book {

namespace {

constexpr double TwipsPerMm = 1440.0 / 25.4;
constexpr ui::Bgr Normal = 0;   // the printer's own text colour

struct PrintColour {
    ui::Bgr cell, printed;
};
// The pale screen colours print in stronger ones.
constexpr std::array<PrintColour, 7> PrintColours{{{0x8080FF, 0x0000FF},
                                                   {0x80D0FF, 0x0080FF},
                                                   {0xFF80FF, 0xFF00FF},
                                                   {0xC0FFC0, 0x00C000},
                                                   {0xFFC0C0, 0x800000},
                                                   {0xFFFFD0, 0xC0C000},
                                                   {0xD7A6FF, 0x800080}}};

double mm(double v) { return v * TwipsPerMm; }

} // namespace

ColumnPrint::ColumnPrint(const ui::GridModel &grid, int col, QString dateCaption, QString weekdayCaption)
    : m_grid(grid), m_col(col), m_date(std::move(dateCaption)), m_weekday(std::move(weekdayCaption))
{
}

ui::Bgr ColumnPrint::printColour(ui::Bgr cellColour, ui::Bgr &previous)
{
    if (cellColour == ui::colours::PaleYellow)
        return Normal;
    if (cellColour == 0)
        return NoColourPrinted;
    for (const PrintColour &c : PrintColours)
        if (c.cell == cellColour)
            previous = c.printed;
    return previous;
}

void ColumnPrint::setFont(ui::OutputSurface &out, double size)
{
    ui::CellFont f = out.font();
    f.size = size;
    f.bold = true;
    out.setFont(f);
}

void ColumnPrint::heading(ui::OutputSurface &out)
{
    const ui::CellFont font = out.font();
    m_inHeading = true;
    setFont(out, 12);
    piece(out, LabelX,
          QStringLiteral("Appointment Schedule:   ") + m_date + QStringLiteral(",   ") + m_weekday, Normal);
    newLine(out);
    newLine(out);
    m_inHeading = false;
    out.setFont(font);
}

void ColumnPrint::newLine(ui::OutputSurface &out)
{
    const double line = out.textHeight(QString());
    out.setCurrentY(out.currentY() + line);
    // The next line must fit on the sheet; otherwise the column goes on on
    // a new one, under the heading.
    if (!m_inHeading && out.currentY() + line > out.pageTop() + out.scaleHeight()) {
        out.newPage();
        ++m_sheets;
        out.setCurrentY(out.pageTop());
        heading(out);
    }
}

void ColumnPrint::piece(ui::OutputSurface &out, double xMm, const QString &text, ui::Bgr colour)
{
    const double room = out.scaleWidth() - mm(RightMarginMm) - mm(xMm);
    QString rest = text;
    while (true) {
        if (rest.isEmpty() || out.textWidth(rest) <= room) {
            out.textAt(mm(xMm), out.currentY(), rest, colour);
            return;
        }
        // The longest head that fits, broken after a blank where there is one.
        qsizetype fit = 1;
        while (fit < rest.size() && out.textWidth(rest.left(fit + 1)) <= room)
            ++fit;
        const qsizetype blank = rest.lastIndexOf(QLatin1Char(' '), fit - 1);
        const qsizetype cut = blank > 0 && fit < rest.size() && rest[fit] != QLatin1Char(' ') ? blank + 1 : fit;
        out.textAt(mm(xMm), out.currentY(), rest.left(cut).trimmed(), colour);
        rest = rest.mid(cut);
        while (rest.startsWith(QLatin1Char(' ')))
            rest.remove(0, 1);
        newLine(out);
    }
}

void ColumnPrint::cellText(ui::OutputSurface &out, int row)
{
    const QString text = m_grid.textMatrix(row, m_col);
    const ui::Bgr cell = m_grid.cellColor(row, m_col);
    const ui::Bgr colour = printColour(cell, m_previous);
    if (text.isEmpty()) {
        if (cell != ui::colours::PaleYellow)
            piece(out, TextX, QString(BarLength, QLatin1Char('|')), colour);
        return;
    }
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            newLine(out);
        piece(out, TextX, lines[i], colour);
    }
}

int ColumnPrint::draw(ui::OutputSurface &out)
{
    m_sheets = 1;
    m_previous = Normal;
    out.setCurrentY(out.pageTop());
    setFont(out, 12);
    newLine(out);
    newLine(out);
    heading(out);

    setFont(out, 10);
    piece(out, TextX, m_grid.textMatrix(pos::NumberRow, m_col), Normal);
    newLine(out);
    newLine(out);
    piece(out, TextX, m_grid.textMatrix(pos::NameRow, m_col), Normal);
    newLine(out);
    newLine(out);
    piece(out, LabelX, QStringLiteral("Time"), Normal);
    piece(out, TextX, m_grid.textMatrix(pos::FreeRow, m_col), Normal);

    setFont(out, 9);
    const int afterTimes = m_grid.rows() - pos::TrailingFreeRows;
    for (int r = pos::FirstTimeRow; r < m_grid.rows(); ++r) {
        newLine(out);
        if (r < afterTimes)
            piece(out, LabelX, m_grid.textMatrix(r, pos::TimeCol), Normal);
        cellText(out, r);
    }
    return m_sheets;
}

} // namespace book
