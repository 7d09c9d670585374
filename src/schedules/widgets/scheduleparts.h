#pragma once

#include <QString>
#include <functional>

class QHBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QMainWindow;
class QWidget;

namespace ui {
class CommandTable;
}

namespace schedules {

// The parts the daily and weekly schedule windows are built of.

// The toolbar with its one Print tool ("Print (F11)").
void addPrintTool(QMainWindow *window, ui::CommandTable &commands);
// The read-only box with the book's name, `txtBook`.
QLineEdit *bookBox(QWidget *parent);
// A caption above the grid, bold and a little larger.
QLabel *captionLabel(const QString &name, QWidget *parent);
// Print (`cmdPrint`) and Close (`cmdClosePrint`) at the right, after the
// key legend when there is one.
QHBoxLayout *printCloseRow(QWidget *parent, ui::CommandTable &commands);
// The captions, the grid and the buttons, one above the other.
void setBody(QMainWindow *window, QWidget *central, QLayout *top, QWidget *grid, QLayout *buttons);

} // namespace schedules
