#pragma once

#include "ui/core/places.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

namespace ui {

// One consultant column of seven consecutive days, handed from the book to
// the weekly view, and the place to return to when that view closes.
struct WeekHandOver {
    QDate returnDate;            // the page on display when the week was taken
    int calendarCell = 0;        // selected calendar cell at that moment
    int column = 1;              // the consultant column taken
    int row = 3;                 // the book's cursor row, restored afterwards
    QString consultant;          // the column's name (row 1)
    QStringList dayTexts;        // seven texts: rows 2..last of the column, joined by CR
    std::vector<std::vector<int>> dayColours; // per day: colours of rows 2..last (empty: unset)
    std::vector<bool> dayStored; // per day: a stored page was found

    // What the book does when it is next shown after the weekly view.
    enum class Back { None, ReturnDay, OpenCell };
    Back back = Back::None;
    QDate openDate;              // OpenCell: the page, the row, and the editor opened
    int openRow = 3;
};

// A text report handed to the program's text window: shown there when the
// desktop has no editor for the file it was written to.
struct TextReport {
    QString title;
    QString text;                // CR LF lines
    QString path;                // the file it was written to; empty when it could not be
    QString note;                // why the window shows it
};

// Program-wide values shared between windows; one instance, in memory only.
struct AppState {
    Places places;                   // the data folder and the program's own files
    bool exitFlag = false;           // set only by the exit path before the backup window
    QDate pageDate;                  // the date whose page the daily schedule shows
    WeekHandOver week;
    // Windows open that keep the book's auto-refresh paused (the schedules).
    int refreshHolds = 0;
    int currentFileNo = 0;           // 0: no patient in hand
    int currentInvoiceNo = 0;
    bool openInvoiceByNumber = false;
    bool newFilePending = false;
    QString searchLastName;          // the search menu's last-name box, which positions
                                     // the manual search
    double widthFactor = 1.0;        // screen width / a window's design width, set by the
                                     // window loading last
    // The tbl_Order field the help window shows when it is next shown: "Help", or
    // "Help2" set by the patient and invoice windows just before they show it. The
    // help window puts "Help" back once it has read it.
    QString helpField = QStringLiteral("Help");
    TextReport report;               // the text window's text
};

} // namespace ui
