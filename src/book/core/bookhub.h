#pragma once

#include <QObject>

namespace book {

// Where the window should put the keyboard focus.
enum class Focus { Grid, Editor, Calendar, DailyMemo, FixedMemo, BookName, Status, Month, Year, AnswerYes, PrintPanel };

// The book's events: the parts emit them, the window listens. Parts never
// reach the window (or the controller) any other way.
class BookHub : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void requestFocus(Focus f) { emit focusRequested(f); }
    // Another page, or the same one shown anew: all it shows.
    void pageChanged();

signals:
    void editorChanged();        // shown, hidden, moved, text or read-only changed
    void captionsChanged();      // the date and weekday of the page
    void memosChanged();         // the daily or fixed memo, or a draft of one
    void statusChanged();        // the office status and the closed look
    void lockChanged();          // the page lock
    void bookNameChanged();      // the book name or its lock
    void panelChanged();         // full width, the memo shown and its button, the demo caption
    void calendarChanged();
    void timerChanged();
    void printPanelChanged();    // the print options panel shown, hidden or its choice changed
    void focusRequested(book::Focus focus);
    void contextMenuRequested(int row, int col);
    void closeRequested();       // the window is to be unloaded
    void busyChanged(bool busy); // a write may wait for another station: busy pointer
    void searchPanelChanged();   // the answer panel shown, hidden or its message
    void undoChanged();          // what Undo and Redo would take back, or another page
    void cellsChangedElsewhere();// another station's change is shown
    void stationsChanged();      // the other stations counted anew
    void deletedListRequested(); // the list of bookings deleted from the page is to be shown
};

} // namespace book
