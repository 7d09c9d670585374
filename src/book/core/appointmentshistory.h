#pragma once

#include "book/pages/pagestore.h"
#include "ui/core/services.h"

#include <QDate>
#include <QString>
#include <vector>

namespace book {

class BookHub;
class PageSession;

// The grid menu's "Search History": every cell between two dates that holds
// a name, one line each (date, weekday, time, consultant), handed to the text
// window. The page on display stays as it is.
class AppointmentsHistory {
public:
    AppointmentsHistory(BookHub &hub, PageSession &session, ui::Services &services);

    void run();

    // The report over these pages (by date), as the text window shows it.
    static QString report(const QString &needle, const std::vector<PageRecord> &pages);

private:
    BookHub &m_hub;
    PageSession &m_session;
    ui::Services &m_s;
};

} // namespace book
