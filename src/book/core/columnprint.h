#pragma once

#include "ui/core/colours.h"

#include <QString>

namespace ui {
class GridModel;
class OutputSurface;
}

namespace book {

// The print of one consultant column of a day page on an A4 sheet: the
// heading with the date, the column's number and name, then each time row
// with its label and its text in the print colour of its cell. A text too
// long for its line wraps at the right margin, and a column that runs past
// the bottom of the sheet goes on on the next under the heading again.
class ColumnPrint {
public:
    // Places across the sheet, in millimetres.
    static constexpr double LabelX = 24;
    static constexpr double TextX = 44;
    static constexpr double RightMarginMm = 12;
    static constexpr int BarLength = 16;   // the mark of an empty coloured cell
    // A cell without a colour of its own (0, left by Cut): grey, as the
    // daily schedule prints it and the book shows it.
    static constexpr ui::Bgr NoColourPrinted = 0x808080;

    ColumnPrint(const ui::GridModel &grid, int col, QString dateCaption, QString weekdayCaption);

    // Draws on a surface begun by the caller; the number of sheets used.
    int draw(ui::OutputSurface &out);

    // The printed colour of a cell's colour. A colour the table does not
    // know prints as the last known one did, black before any; the default
    // cell colour prints black and no colour (0) grey.
    static ui::Bgr printColour(ui::Bgr cellColour, ui::Bgr &previous);

private:
    void heading(ui::OutputSurface &out);
    void newLine(ui::OutputSurface &out);
    void piece(ui::OutputSurface &out, double xMm, const QString &text, ui::Bgr colour);
    void cellText(ui::OutputSurface &out, int row);
    void setFont(ui::OutputSurface &out, double size);

    const ui::GridModel &m_grid;
    int m_col;
    QString m_date, m_weekday;
    ui::Bgr m_previous = 0;
    int m_sheets = 1;
    bool m_inHeading = false;   // a heading starts no sheet of its own
};

} // namespace book
