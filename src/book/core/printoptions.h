#pragma once

#include <QString>

namespace book {

// The print options panel of the book: the weekly schedule, the daily
// schedule, or one consultant column of the page, whose number is typed
// into the panel's entry box.
class PrintOptions {
public:
    enum class Choice { None, Weekly, Daily, Column };
    enum class Focus { Stay, Weekly, Daily, Column, Entry, PrintButton };
    // What Print asks of the book.
    struct Action {
        enum Kind { Nothing, Weekly, Daily, Column } kind = Nothing;
        int column = 0;
        Focus focus = Focus::Stay;
    };

    // Opens over the page: the cell in hand is kept for Close, the column
    // choice names the page's column count, the daily choice is taken.
    void open(int row, int col, int columnCount);
    // Hides the panel; the cell that was current when it opened.
    void close();

    bool visible() const { return m_visible; }
    Choice choice() const { return m_choice; }
    QString columnCaption() const;   // Option3
    QString entry() const { return m_entry; }   // txtPrint
    bool entryReadOnly() const { return m_choice != Choice::Column; }
    int savedRow() const { return m_row; }
    int savedCol() const { return m_col; }

    void choose(Choice c);
    // Enter on an option button switches it on, or off when it is on.
    void enterOnOption(Choice c);

    // The entry box takes digits and Backspace; false: the character is dropped.
    bool entryKeyPress(QChar ch);
    void setEntry(const QString &text);
    // Enter, Tab and the arrows in the entry box: where the focus goes.
    Focus entryKeyDown(int qtKey);
    // Leaving the entry box brings its number inside the page's columns.
    void entryLeft();

    // Print: with neither schedule chosen and no column number, the column
    // choice is switched on for the number to be typed.
    Action print();

private:
    bool m_visible = false;
    Choice m_choice = Choice::Daily;
    QString m_entry;
    int m_columns = 1;
    int m_row = 0;
    int m_col = 0;
};

} // namespace book
