#pragma once

#include "schedules/core/clstableprint.h"
#include "ui/core/gridmodel.h"
#include "ui/core/outputsurface.h"
#include "ui/core/services.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <vector>

namespace schedules {

// The print preview of a schedule (frmPrintDaily, frmPrintWeekly): the
// sheet and its orientation, the fill-page choice, and the drawing of the
// schedule's grid on the preview picture, the printer or a PDF file, each
// time imported afresh into the table engine.
class SchedulePrint {
public:
    enum class Kind { Daily, Weekly };
    enum Orientation { Portrait = 1, Landscape = 2 };

    static constexpr double A4Short = 11907;
    static constexpr double A4Long = 16840;
    static constexpr double FitAllowance = 570;     // the fit width is the inner width less this
    static constexpr double ScrollStep = 120;

    // `grid` is the schedule window's grid; `consultant` the weekly view's;
    // `widthFactor` the one the schedule window widened its columns by.
    SchedulePrint(Kind kind, ui::GridModel &grid, ui::Services &services, QString consultant = QString(),
                  double widthFactor = 1.0);

    // Showing the window: the daily preview reads PMode and FillPage.
    void load();

    Kind kind() const { return m_kind; }
    int orientation() const { return m_orientation; }
    // cmdOrientation's caption.
    QString orientationCaption() const;
    void toggleOrientation();
    bool fillPage() const { return m_fillPage; }
    void setFillPage(bool on) { m_fillPage = on; }
    double sheetWidth() const;       // A4Width
    double sheetHeight() const;      // A4Height

    QString caption() const;
    QString dayLabel() const;        // lblDay: the weekday (daily)
    QString dateLabel() const;       // lblDate: the date (daily)
    QString techLabel() const;       // lblTech: the consultant (weekly)
    QDate date() const;
    QString title() const;           // "Daily Schedule" / "Weekly Schedule"
    QString pdfFileName() const;

    // The preview picture: sheets of this size with the printer's margins,
    // growing by one per page; it is drawn as the printout is.
    DrawResult drawPreview(ui::OutputSurface &picture);
    // The printout on a printer or PDF surface begun by the caller.
    DrawResult drawPrint(ui::OutputSurface &printer);
    // The columns' widths on paper, given the width they may fill.
    std::vector<double> paperWidths(double fitWidth) const;
    // The engine's "Draw Table" message for a failed drawing.
    void reportFailure(const DrawResult &result);

    // Closing by the user: the daily preview stores orientation and fill choice.
    void close();

    const clsTablePrint &table() const { return m_table; }
    // The last table row on each sheet but the last, as the latest drawing
    // broke them.
    const std::vector<int> &sheetEnds() const { return m_sheetEnds; }

private:
    void newPage(ui::OutputSurface &out, bool &topSet);

    Kind m_kind;
    ui::GridModel &m_grid;
    ui::Services &m_s;
    QString m_consultant;
    clsTablePrint m_table;
    double m_widthFactor;
    int m_orientation = Portrait;
    bool m_fillPage = false;
    QVariant m_readPMode, m_readFillPage;   // as read, for the guarded store
    std::vector<int> m_sheetEnds;
};

} // namespace schedules
