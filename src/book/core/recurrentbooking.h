#pragma once

#include "ui/core/services.h"

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

namespace store {
class DbError;
}

namespace book {

class CellEntry;
class PageSession;
struct PageLayout;

// F2: the booked cell of the page on display copied, with its colour, to the
// same time row and consultant column every N weeks over a period of weeks.
// The series is written all or nothing: one taken cell, anywhere in it,
// writes none of it.
class RecurrentBooking {
public:
    RecurrentBooking(PageSession &session, ui::Services &services, CellEntry &entry);

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

    // One further booking as the user will find it.
    struct Target {
        QDate date;
        QString now;           // what the cell holds now
        bool closed = false;   // a closed day
        QString missing;       // the page has no such cell: the row or column it lacks
    };
    // The question before anything is written: what will be booked, cleared
    // and refused is said in its main text, each date in its details.
    struct Question {
        QString text;
        QString details;
        bool defaultNo = false;   // it clears bookings, or cannot be made
    };
    static Question question(const QString &text, int interval, int period, const std::vector<Target> &targets);

private:
    enum class Outcome { Done, Again };
    Outcome attempt();
    // A number the user types (`least` when it reads less). Nothing, when the
    // box is left empty or one over `most` is given; then `outcome` says
    // whether the user wants to try again (`tooMany` asks).
    struct Limit {
        int least, most;
        QString tooMany, title;
    };
    std::optional<int> askNumber(const QString &text, const QString &proposed, const Limit &limit, Outcome &outcome);
    // Each target as the user will find it. Reads only; a day without a page
    // is shown from its template and the settings it will be made from.
    std::vector<Target> survey(const std::vector<QDate> &dates, int row, int col);
    // The row or column of the source cell that a page of layout `l` lacks,
    // in words ("09:00 AM row"); empty when it has the cell.
    QString missingIn(const PageLayout &l, int row, int col) const;
    void taken(const QDate &date, int row, int col);
    // Nothing of the series was written: the user is told why.
    void failed(int row, int col, const QString &text);

    PageSession &m_session;
    ui::Services &m_s;
    CellEntry &m_entry;
};

} // namespace book
