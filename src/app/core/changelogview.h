#pragma once

#include "store/core/changelog.h"
#include "ui/core/services.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace ui {
class OutputSurface;
class SheetPrinter;
}

namespace app {

// The change log window without its widgets: the practice's changes over a
// date range, narrowed to a station, a user or a record ("invoice 42",
// "patient 7", "page 2026-12-08", or a kind alone), newest first, and their
// print on sheets (the default printer or a PDF file).
class ChangeLogView {
public:
    struct Row {
        QString when, station, user, command, record, changes;
    };

    explicit ChangeLogView(ui::Services &services);

    store::LogFilter &filter() { return m_filter; }
    // The record box's text: a kind, or a kind and a key.
    void setRecord(const QString &record);
    // Reads the log again; tells the user when it cannot be read. Returns
    // whether it was read.
    bool refresh();
    const std::vector<Row> &rows() const { return m_rows; }
    QStringList stations() const { return m_stations; }
    QStringList users() const { return m_users; }

    // Prints the rows; the failure as the user is to read it, empty when
    // the job went through.
    QString print(ui::SheetPrinter &printer) const;

    static Row rowOf(const store::LogEntry &entry);
    QString title() const;

private:
    void draw(ui::OutputSurface &surface) const;

    ui::Services &m_s;
    store::LogFilter m_filter;
    std::vector<Row> m_rows;
    QStringList m_stations;
    QStringList m_users;
};

} // namespace app
