#pragma once

#include <QDate>
#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <map>

namespace store {
class Database;
}

namespace book {

class BookHub;
class BookNavigation;
class CalendarModel;

// Picture2: the month calendar of the navigation panel. It draws the
// controller's 42 day cells under the weekday headings and hands clicks and
// focus changes to the controller, which decides everything; its keys are
// bound by the window to the book's keymap.
class CalendarView : public QWidget {
    Q_OBJECT
public:
    CalendarView(BookNavigation &nav, BookHub &hub, QWidget *parent = nullptr);
    const CalendarModel &calendar() const;


    // Rectangle of day cell 0..41, in this widget's coordinates.
    QRect cellRect(int cell) const;
    int cellAt(QPoint pos) const;   // -1 outside the day cells

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // What a screen reader says of a day besides its date: read from the
    // stored pages when it asks, a few seconds at most behind them.
    struct DayFacts {
        bool bookings = false;
        bool closed = false;
    };
    using Facts = std::map<QDate, DayFacts>;
    using FactsSource = std::function<Facts(QDate first, QDate last)>;
    void setDayFacts(FactsSource source) { m_factsSource = std::move(source); }
    DayFacts dayFacts(QDate date) const;
    // The pages' facts: a day with a booked cell, a day marked closed.
    static FactsSource pageFacts(store::Database &db);

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    int headingHeight() const;
    QRect cellsArea() const;

    void announceSelected();

    BookNavigation &m_nav;
    FactsSource m_factsSource;
    mutable Facts m_facts;
    mutable QDate m_factsFirst;
    mutable QElapsedTimer m_factsAge;
    int m_spokenCell = -1;
};

} // namespace book
