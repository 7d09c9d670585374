#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QWidget;

namespace report {

// The box choosing the printer the sheets go to (`cboPrinter`): the
// printers known, `preferred` (the computer's default) chosen, else the
// first; nothing to choose when there is no printer.
QComboBox *printerBox(QWidget *parent, const QStringList &printers, const QString &preferred);

} // namespace report
