#pragma once

#include "ui/core/services.h"

#include <QDate>
#include <QString>
#include <vector>

namespace store {
class DbError;
}

namespace book {

class BookController;
class PageSession;

// F2: the booked cell of the page on display copied, with its colour, to the
// same time row and consultant column every N weeks over a period of weeks.
// The series is written all or nothing: one taken cell, anywhere in it,
// writes none of it.
class RecurrentBooking {
public:
    RecurrentBooking(BookController &book, PageSession &session, ui::Services &services);

    void run();

    // What a number typed into one of its input boxes reads as: its leading
    // numeric part rounded to a whole number (no number reads as 0).
    static int readNumber(const QString &text);
    // Bookings after the source one: period / interval to the nearest whole
    // number (a half to the even one), one less when weekly.
    static int furtherBookings(int interval, int period);
    static QString confirmation(const QString &text, int interval, int period, int further);
    // The dates of the further bookings.
    static std::vector<QDate> targets(const QDate &start, int interval, int further);

private:
    enum class Outcome { Done, Again };
    Outcome attempt();
    // Each target as the user will find it: date, weekday, closed day, what the
    // cell holds now. Reads only; a day without a page is shown from its template.
    QString details(const std::vector<QDate> &dates, int row, int col, const QString &text,
                    std::vector<QString> &shown);
    void taken(const QDate &date, int row, int col);
    // Nothing of the series was written: the user is told why.
    void failed(int row, int col, const QString &text);

    BookController &m_book;
    PageSession &m_session;
    ui::Services &m_s;
};

} // namespace book
