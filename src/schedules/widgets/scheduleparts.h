#pragma once

#include <QString>
#include <functional>

class QHBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QMainWindow;
class QWidget;

namespace schedules {

// The parts the daily and weekly schedule windows are built of.

// The toolbar with its one Print tool ("Print (F11)").
void addPrintTool(QMainWindow *window, const std::function<void()> &print);
// The read-only box with the book's name, `txtBook`.
QLineEdit *bookBox(QWidget *parent);
// A caption above the grid, bold and a little larger.
QLabel *captionLabel(const QString &name, QWidget *parent);
// Print (`cmdPrint`) and Close (`cmdClosePrint`) at the right, after `hint`
// when there is one.
QHBoxLayout *printCloseRow(QWidget *parent, QLabel *hint, const std::function<void()> &print,
                           const std::function<void()> &close);
// The captions, the grid and the buttons, one above the other.
void setBody(QMainWindow *window, QWidget *central, QLayout *top, QWidget *grid, QLayout *buttons);

} // namespace schedules
