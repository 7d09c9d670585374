#pragma once

#include "book/pages/pagestore.h"
#include "schedules/core/refreshhold.h"
#include "store/core/settings.h"
#include "ui/core/gridmodel.h"
#include "ui/core/services.h"

#include <QDate>
#include <QString>
#include <vector>

namespace schedules {

// The daily schedule summary (frmDaily): the page of the shared page date
// in a read-only grid of its own, with the summary's own column widths, for
// the user to fit to paper before printing.
class DailyController {
public:
    explicit DailyController(ui::Services &services);

    // Finds the page of the page date, creating it from the settings and the
    // weekday's template as the book does, and fills the grid.
    void load(double widthFactor);
    // The window comes to the front: the book's auto-refresh pauses.
    void activate();

    ui::GridModel &grid() { return m_grid; }
    QDate date() const { return m_date; }
    double widthFactor() const { return m_widthFactor; }
    QString bookName() const { return m_settings.bookNo; }
    QString dayCaption() const;      // lblCalDay, "dddd"
    QString dateCaption() const;     // lblCalDate, short date
    const book::PageRecord &page() const { return m_page; }

    // Print: the widths are stored; the window then opens the preview.
    void print();
    // Close by the user or the Close button: widths stored, the book's
    // refresh given back, the window unloaded.
    void close();
    // Stores the grid's widths as DWidth, over what this station read.
    void saveWidths();

    static const QString Note;       // Label1

private:
    void build();

    ui::Services &m_s;
    book::PageStore m_pages;
    store::SettingsStore m_settingsStore;
    store::Settings m_settings;
    QString m_dwidth;                // DWidth as last read or stored
    std::vector<int> m_shownWidths;  // the grid's widths as last loaded or stored
    book::PageRecord m_page;
    ui::GridModel m_grid;
    QDate m_date;
    double m_widthFactor = 1.0;
    RefreshHold m_hold;
};

} // namespace schedules
