#include "book/core/columnexport.h"
#include "book/pages/pagepos.h"
#include "ui/core/gridmodel.h"

#include <gtest/gtest.h>

TEST(ColumnExport, BuildsTheColumnTextWithIndentedContinuationLines)
{
    ui::GridModel grid;
    grid.setRows(book::pos::gridRows(2));
    grid.setCols(3);
    grid.setTextMatrix(0, 2, "2");
    grid.setTextMatrix(1, 2, "Dr Avery");
    grid.setTextMatrix(2, 2, "on call");
    grid.setTextMatrix(3, 0, "08:00 AM");
    grid.setTextMatrix(4, 0, "08:30 AM");
    grid.setTextMatrix(3, 2, "Smith\nnew patient");
    grid.setTextMatrix(3, 1, "not this column");
    grid.setTextMatrix(5, 2, "lunch");
    grid.setTextMatrix(6, 2, "late\nclose");

    const QString expected = "Appointment Schedule:  08/12/2026  Tuesday\r\n\r\n"
                             "2         Dr Avery\r\n\r\n"
                             "          on call"
                             "\r\n08:00 AM  Smith\r\n          new patient\r\n"
                             "\r\n08:30 AM  \r\n"
                             "          lunch\r\n"
                             "          late\r\n          close\r\n";
    EXPECT_EQ(book::columnExportText(grid, 2, "08/12/2026", "Tuesday"), expected);
}
