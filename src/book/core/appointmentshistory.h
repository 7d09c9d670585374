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
    // The report over the pages from..to that hold the needle, read as it
    // goes: a name on every page of thirty years is never held whole.
    static QString report(const QString &needle, const PageStore &pages, const QDate &from, const QDate &to);

private:
    BookHub &m_hub;
    PageSession &m_session;
    ui::Services &m_s;
};

} // namespace book
