#pragma once

#include "schedules/core/refreshhold.h"
#include "ui/core/gridmodel.h"
#include "ui/core/services.h"

#include <QDate>
#include <QString>

namespace schedules {

// The weekly schedule (frmWeekly): one consultant's column of seven days
// side by side, from the week the book handed over. Nothing here writes to
// the database.
class WeeklyController {
public:
    explicit WeeklyController(ui::Services &services);

    static constexpr int TimeColumnWidth = 1100;
    static constexpr int DayColumnWidth = 1940;

    // Builds the grid: dates and weekday names, day 1's time rows, the seven
    // day texts and their colours.
    void load(double widthFactor);
    void activate();

    ui::GridModel &grid() { return m_grid; }
    QString consultant() const;          // lblCalDay
    QString bookName() const { return m_bookName; }
    QDate firstDay() const { return m_first; }
    QDate dateOf(int col) const;         // the day of a grid column

    // Into the book at a cell: its page, that row of the consultant's
    // column, the editor open. The weekly view goes without ReturnDay.
    void jump(int row, int col);
    // Close: the book comes back on the page it was left on.
    void close();

private:
    ui::Services &m_s;
    ui::GridModel m_grid;
    QDate m_first;
    QString m_bookName;
    RefreshHold m_hold;
};

} // namespace schedules
