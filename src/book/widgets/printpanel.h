#pragma once

#include <QFrame>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace book {

class BookPrinting;

// Frame3: the book's print options panel, drawn over the page. It shows the
// controller's PrintOptions and hands every choice and key to it.
class PrintPanel : public QFrame {
    Q_OBJECT
public:
    PrintPanel(BookPrinting &printing, QWidget *parent);

    void sync();                 // shows what the options hold
    void focusDailyChoice();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyFocus(int focus);  // a PrintOptions::Focus
    void place();

    BookPrinting &m_printing;
    QRadioButton *m_weekly;      // Option1
    QRadioButton *m_daily;       // Option2
    QRadioButton *m_column;      // Option3
    QLineEdit *m_entry;          // txtPrint
    QPushButton *m_print;        // cmdPrint
    QPushButton *m_close;        // cmdClosePrint
    bool m_syncing = false;
};

} // namespace book
