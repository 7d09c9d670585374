#pragma once

#include <QWidget>

namespace book {

class BookController;

// Picture2: the month calendar of the navigation panel. It draws the
// controller's 42 day cells under the weekday headings and hands clicks,
// keys and focus changes to the controller, which decides everything.
class CalendarView : public QWidget {
    Q_OBJECT
public:
    explicit CalendarView(BookController &controller, QWidget *parent = nullptr);

    // Rectangle of day cell 0..41, in this widget's coordinates.
    QRect cellRect(int cell) const;
    int cellAt(QPoint pos) const;   // -1 outside the day cells

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    int headingHeight() const;
    QRect cellsArea() const;

    BookController &m_c;
};

} // namespace book
