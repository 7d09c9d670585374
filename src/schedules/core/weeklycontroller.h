#pragma once

#include "schedules/core/refreshhold.h"
#include "ui/core/gridmodel.h"
#include "ui/core/services.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

namespace schedules {

// The weekly schedule (frmWeekly): one consultant's column of seven days
// side by side, from the week the book handed over. Nothing here writes to
// the database.
class WeeklyController {
public:
    explicit WeeklyController(ui::Services &services);

    static constexpr int TimeColumnWidth = 1100;
    static constexpr int DayColumnWidth = 1940;

    // Builds the grid: dates and weekday names, the time rows of the whole
    // week, and each day's cells of the consultant's column with their
    // colours, every cell at its own time.
    void load(double widthFactor);
    void activate();

    ui::GridModel &grid() { return m_grid; }
    QString consultant() const;          // lblCalDay
    QString bookName() const { return m_bookName; }
    QDate firstDay() const { return m_first; }
    QDate dateOf(int col) const;         // the day of a grid column
    double widthFactor() const { return m_widthFactor; }
    // The row of a day's own page that a row of the week stands for.
    int pageRow(int col, int row) const;

    // Into the book at a cell: its page, that row of the consultant's
    // column, the editor open. The weekly view goes without ReturnDay.
    void jump(int row, int col);
    // Close: the book comes back on the page it was left on.
    void close();

    // One day as the week shows it: its stored page, or what its page would
    // be made from (the settings and its own weekday's template).
    struct Day {
        std::vector<int> times;          // the page's time rows, minutes after midnight
        QStringList cells;               // the column from the free row to the last row
        std::vector<int> colours;        // the same cells' colours, 0 where none
        bool closed = false;
    };

private:
    void fill(int col, const Day &day);

    ui::Services &m_s;
    ui::GridModel m_grid;
    QDate m_first;
    QString m_bookName;
    double m_widthFactor = 1.0;
    std::vector<Day> m_days;
    std::vector<int> m_times;            // the week's time rows: every day's, once each
    RefreshHold m_hold;
};

} // namespace schedules
